#pragma once
// What a destination folder or a program-group name must be: a path the platform can create,
// and one the installation log can record (the log's keys are paths, in the ANSI code page).
#include <cstddef>
#include <string>

#include "platform/text.h"
#include "script/script.h"

namespace wizard {

enum class NameVerdict {
    Accepted,
    Malformed,    // the platform cannot create it
    HoldsEquals,  // "=" would split the log's key from its value
};

// A folder given in full: drive letter, colon and backslash, or \\server\share.
bool IsFullPath(const std::string& folder);

// The root a full folder lies on: the drive's root in lower case ("c:\"), or "\\server\share".
std::string RootOf(const std::string& folder);

// What the installation makes below its folder: the longest relative paths of a folder and of a
// file, in the platform's (UTF-16) characters.
struct PathsBelow {
    std::size_t folder = 0;
    std::size_t file = 0;
};

// The paths below the installation folder that the script's "directory list" and copy lines
// (those of the platform's section among them) make, and the run's own files there.
PathsBelow MeasureScript(const script::Script& script, int platform_code);

// A destination folder, its trailing backslash removed: a full path below a drive's root (the
// root of a share will do), every part a name the platform allows and the code page holds, at
// most 247 characters; with what is made below it, every folder at most 247 characters and
// every file within the platform's path limit of 259. Whether the drive or share is there is
// the caller's to ask.
NameVerdict CheckFolder(const std::string& folder, const platform::TextCodec& codec,
                        PathsBelow below = {});

// A program group, relative to the programs folder, with sub-groups separated by backslashes
// and one trailing backslash allowed: every part a name the platform allows and the code page
// holds, and the group's folder at most 247 characters.
NameVerdict CheckGroup(const std::string& programs_dir, const std::string& group,
                       const platform::TextCodec& codec);

}  // namespace wizard
