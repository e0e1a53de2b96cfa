#pragma once
// A program's command line split into its arguments by the platform's rules, without the
// platform's shell library: the uninstaller decides with it whether it is its own copy before it
// loads any library beyond the kernel's.
#include <string>
#include <vector>

namespace app {

// The arguments after the program's name. Blanks and tabs separate arguments outside quotation
// marks; a quotation mark opens or closes a quoted part, two in a quoted part stand for one;
// 2n backslashes before a quotation mark stand for n, 2n+1 for n and the mark itself; other
// backslashes stand for themselves. The name runs to the next quotation mark when it opens with
// one, else to the first blank.
std::vector<std::string> SplitCommandLine(const std::string& line);

}  // namespace app
