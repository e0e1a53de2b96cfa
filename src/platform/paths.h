#pragma once
// Parsing the platform's paths: UTF-8 with backslashes, as on Windows.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Length of the part of a path that is there or not but never made: "C:" or "\\server\share";
// 0 for a relative path.
std::size_t PathRootLength(std::string_view path);

// The fresh name beside path that a PendingFile (files.h) tries as its nth: "~zk" and five hex
// digits in the same folder, no longer than most names, so that the path-length limit is met
// wherever the final name meets it.
std::string PendingName(std::string_view path, unsigned number);

}  // namespace platform
