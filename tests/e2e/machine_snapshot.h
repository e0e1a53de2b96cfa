#pragma once
// The state of the test prefix's machine, read from outside the programs under test, and the
// differences between two such states as readable lines: what an installation or a removal did
// to the machine, and nothing else.
//
// A snapshot holds every file and folder below drive C (a file with its size and last-write
// time; a folder only as being there, as its time changes with its content), the registry as
// the system's reg.exe exports it (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER and HKEY_CLASSES_ROOT,
// each in its 64-bit and its 32-bit view, one export each), and the entries of win.ini.
//
// Left out as Wine's own volatile state, which changes with nothing installed: win.ini as a file
// (Wine rewrites it, with a new time, for any entry: its entries are compared instead), and in
// the registry HKEY_LOCAL_MACHINE\Hardware and the display driver's keys (Control\Video and the
// display adapters' class below HKLM\System\CurrentControlSet), which Wine writes anew whenever
// a program starts the desktop. Temporary folders are kept: the test helpers remove their own
// files there, so that a program's leftovers in them show.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace e2e {

struct FileState {
    bool directory = false;
    std::uint64_t size = 0;
    std::uint64_t write_time = 0;  // FILETIME, 100 ns units
    bool operator==(const FileState&) const = default;
};

struct MachineSnapshot {
    std::map<std::string, FileState> files;  // by full path, "C:\..."
    // One line per value, `view key: "name"=data` (data as reg.exe writes it, one line), and one
    // per key, `view key`; view is "reg64" or "reg32".
    std::set<std::string> registry;
    std::set<std::string> win_ini;  // "[section] key=value"
};

// Takes the snapshot; throws std::runtime_error when an export fails.
MachineSnapshot TakeMachineSnapshot();

// What changed from one snapshot to the next, files first, then the registry, then win.ini:
// "+ path", "- path", "~ path (size 10 -> 12, time changed)"; "+ reg64 key: "name"=data",
// "- reg32 key"; "+ win.ini [Kelmo] Path=C:\...". A changed value shows as its old line removed
// and its new line added.
std::vector<std::string> SnapshotDifferences(const MachineSnapshot& before,
                                             const MachineSnapshot& after);

}  // namespace e2e
