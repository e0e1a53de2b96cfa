#!/usr/bin/env python3
"""zkconvert.exe under Wine on a hand-made version-4 installation: the converted files, the
report, and the exit status of a success, a failure and a bad usage.

Usage: zkconvert_e2e.py ZKCONVERT_EXE WORK_FOLDER (inside scripts/wine-env.sh)."""
import json
import os
import pathlib
import shutil
import struct
import subprocess
import sys

OLD_LOG, LOG, OLD_PHONE, PHONE = 919, 812, 698, 1121


def old_log(hour, item, second_item=b""):
    record = bytearray(OLD_LOG)
    struct.pack_into("<6H", record, 0, 2003, 4, 5, hour, 0, 0)
    record[16:16 + len(item)] = item
    record[461:461 + len(second_item)] = second_item
    return bytes(record)


def old_phone(name):
    record = bytearray(OLD_PHONE)
    record[0] = len(name)
    record[1:1 + len(name)] = name
    return bytes(record)


def windows(path):
    return "Z:" + str(path).replace("/", "\\")


def make_installations(work):
    shutil.rmtree(work, ignore_errors=True)
    for folder in ("old/service", "old/spr", "new/service", "new/PhoneBooks"):
        (work / folder).mkdir(parents=True)
    (work / "old/service/receive.zlg").write_bytes(old_log(10, b"r10") + old_log(12, b"r12"))
    (work / "old/service/send.zlg").write_bytes(old_log(11, b"s11", b"s11b"))
    (work / "old/spr/clients.zkb").write_bytes(old_phone(b"Ivanov") + old_phone(b"Petrov"))
    (work / "new/service/zinkol1.zks").write_bytes(bytes(range(88)))


def run(exe, work, *options):
    report = work / "report.json"
    command = ["wine", exe, *options, "--report", windows(report), windows(work / "old"),
               windows(work / "new")]
    result = subprocess.run(command, capture_output=True, timeout=90,
                            env=dict(os.environ, WINEDEBUG="-all"))
    print(result.stdout.decode("utf-8", "replace"))
    return result.returncode, json.loads(report.read_text("utf-8")) if report.exists() else None


def check(condition, what):
    if not condition:
        print("FAILED:", what)
        sys.exit(1)


def main():
    exe, work = sys.argv[1], pathlib.Path(sys.argv[2])
    make_installations(work)
    status, report = run(exe, work, "--old-version", "4.10", "--phonebooks", "yes", "--logbook",
                         "yes")
    check(status == 0, f"exit status {status} after a conversion")
    check(report == {"ConvertedLogCount": 4, "questions": ["cConvertPhoneBook", "cConverLogBook"],
                     "messages": [],
                     "progress": ["Конвертация справочников...", "Конвертация журнала..."]},
          f"report {report}")
    book = (work / "new/PhoneBooks/clients.bzk").read_bytes()
    check(len(book) == 3 * PHONE, "clients.bzk holds the header and two records")
    folder = (windows(work / "new") + "\\").encode()
    check(book[522] == len(folder) and book[523:523 + len(folder)] == folder,
          "the header names the new folder")
    check(book[PHONE + 1:PHONE + 7] == b"Ivanov", "the first phone-book record")
    log = (work / "new/service/logbook.zlg").read_bytes()
    check(len(log) == 5 * LOG and struct.unpack_from("<I", log, 708)[0] == 4, "log book count")
    items = [log[i * LOG + 202:i * LOG + 206].rstrip(b"\0") for i in range(1, 5)]
    check(items == [b"r10", b"s11", b"s11b", b"r12"], f"log book order {items}")
    check(len((work / "new/service/zinkol3.zks").read_bytes()) == 120, "zinkol3.zks")
    check(not (work / "new/service/zinkol1.zks").exists(), "zinkol1.zks deleted")
    check(sorted(p.name for p in (work / "new").rglob("*")) ==
          ["PhoneBooks", "clients.bzk", "logbook.zlg", "service", "zinkol3.zks"],
          "nothing else in the new folder")

    make_installations(work)
    (work / "new/PhoneBooks").rmdir()
    status, report = run(exe, work, "--phonebooks", "yes", "--logbook", "no")
    check(status == 1, f"exit status {status} after a failed conversion")
    check(report["messages"] == ["cErrorConvertPhoneBook"] and report["ConvertedLogCount"] == 0,
          f"report {report}")

    status = subprocess.run(["wine", exe, "only-one-folder"], capture_output=True, timeout=90,
                            env=dict(os.environ, WINEDEBUG="-all")).returncode
    check(status == 2, f"exit status {status} for a bad usage")
    print("zkconvert_e2e: passed")


if __name__ == "__main__":
    main()
