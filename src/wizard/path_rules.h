#pragma once
// What a destination folder or a program-group name must be: a path the platform can create,
// and one the installation log can record (the log's keys are paths).
#include <string>

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

// A destination folder, its trailing backslash removed: a full path below a drive's root (the
// root of a share will do), every part a name the platform allows, at most 247 characters.
// Whether the drive or share is there is the caller's to ask.
NameVerdict CheckFolder(const std::string& folder);

// A program group, relative to the programs folder, with sub-groups separated by backslashes
// and one trailing backslash allowed: every part a name the platform allows, and the group's
// folder at most 247 characters.
NameVerdict CheckGroup(const std::string& programs_dir, const std::string& group);

}  // namespace wizard
