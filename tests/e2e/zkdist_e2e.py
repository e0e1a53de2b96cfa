#!/usr/bin/env python3
"""zkdist.exe under Wine on the sample distributions as the build made them (no finding), and
on copies broken one way each, with the real programs and libraries (each break its one
finding, exit status 1), and a bad usage (2).

Usage: zkdist_e2e.py ZKDIST_EXE DISTRIBUTIONS_FOLDER WORK_FOLDER (inside scripts/wine-env.sh)."""
import os
import pathlib
import re
import shutil
import subprocess
import sys


def windows(path):
    return "Z:" + str(path).replace("/", "\\")


def run(exe, *arguments):
    result = subprocess.run(["wine", exe, *arguments], capture_output=True, timeout=90,
                            env=dict(os.environ, WINEDEBUG="-all"))
    return result.returncode, result.stdout.decode("utf-8", "replace").splitlines()


def replace(path, old, new):
    data = path.read_bytes()
    assert old in data, (path, old)
    path.write_bytes(data.replace(old, new, 1))


# (name, distribution, break, how many findings, a pattern each matches from its start)
BREAKS = [
    ("source missing", "single", lambda d: (d / "files/readme.txt").unlink(), 1,
     r'setup\.ini:\d+: source "files\\readme\.txt" is not in the distribution'),
    ("printer library swapped", "single",
     lambda d: shutil.copy(d / "znklrf32.dll", d / "zkprtstp.dll"), 2,
     r"zkprtstp\.dll: does not export Printer"),
    # Every string and picture of res.dll is missing: one finding each, nothing else.
    ("res.dll without resources", "single",
     lambda d: shutil.copy(d / "znklrf32.dll", d / "res.dll"), 5, r"res\.dll: no "),
    ("client script missing", "clientserver", lambda d: (d / "client.ini").unlink(), 1,
     r"client\.ini: missing"),
    ("language key misspelt", "single",
     lambda d: replace(d / "English.lng", b"\ncNext=", b"\ncNxt="), 2, r"English\.lng:\d+: "),
]


def check(condition, what):
    if not condition:
        print("FAILED:", what)
        sys.exit(1)


def main(exe, dists, work):
    for kind in ("single", "clientserver"):
        status, lines = run(exe, "check", windows(dists / kind))
        check(status == 0 and lines == [], f"the {kind} sample has findings: {lines}")
    for name, kind, damage, count, start in BREAKS:
        copy = work / name.replace(" ", "_")
        shutil.rmtree(copy, ignore_errors=True)
        shutil.copytree(dists / kind, copy)
        damage(copy)
        status, lines = run(exe, "check", windows(copy))
        print(name, status, lines)
        check(status == 1 and len(lines) == count and all(re.match(start, l) for l in lines),
              name)
        shutil.rmtree(copy)
    status, lines = run(exe, "check")
    check(status == 2 and lines and lines[0].startswith("usage: zkdist"), "bad usage")
    print("zkdist_e2e: passed")


if __name__ == "__main__":
    main(sys.argv[1], pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3]))
