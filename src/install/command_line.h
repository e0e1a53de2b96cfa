#pragma once
// Program paths in the command lines the system runs.
#include <string>

namespace install {

// A path with blanks in quotation marks: unquoted, Windows would try C:\Program.exe first.
inline std::string QuotedWhenBlank(const std::string& path) {
    return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

}  // namespace install
