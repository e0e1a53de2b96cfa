#pragma once
// Files the run puts in the system and printer-driver folders are shared by nature: other
// products may install the same file. The platform keeps a count of the installations that use
// each one (SharedDLLs: a number value named by the file's full path); an installation counts a
// file once, and its removal deletes the file only when the count drops to zero.
#include <cstdint>
#include <string>
#include <vector>

#include "install/installation_plan.h"
#include "platform/platform.h"

namespace install {

inline constexpr char kSharedDllsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// One more installation uses the file: its count goes up by one, made at 1 where there is none
// (or a value that is no number). The key is made when missing.
platform::Result<void> CountSharedFileUse(platform::Registry& registry, const std::string& file);

enum class SharedFileUse {
    NotCounted,  // no count (or a count of 0) for the file: whoever uses it is unknown, it stays
    StillUsed,   // the count went down and other installations still use it: it stays
    Unused,      // the count reached zero and its value is deleted: the file may go
};

struct SharedFileRelease {
    SharedFileUse use = SharedFileUse::NotCounted;
    platform::Result<void> status;  // a count that could not be lowered or deleted; the file stays
};

// One installation less uses the file: its count goes down by one, and at zero the value goes.
SharedFileRelease ReleaseSharedFileUse(platform::Registry& registry, const std::string& file);

// The files of an installation log's [file] section recorded "1" that lie in the system or the
// printer-driver folder, in file order. Throws std::runtime_error when the log cannot be read.
std::vector<std::string> SharedFilesRecorded(const platform::Platform& platform,
                                             const std::string& log_path,
                                             const SystemFolders& folders);

}  // namespace install
