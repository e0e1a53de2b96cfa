#pragma once
// What an administrator's command line gives the programs, and where their answers to it go.
#include <string>
#include <vector>

namespace app {

// The arguments after the program name, split by the system's rules for quotation marks.
std::vector<std::string> Arguments();

// Text for the administrator (usage, a usage error): to the output the program was started
// with, or the console of the program that started it; in a message box titled `title` when
// there is neither.
void Tell(const std::string& text, bool error, const wchar_t* title);
// "Program: error", then the usage text, told as an error.
void TellUsageError(const std::string& program, const std::string& error, const std::string& usage,
                    const wchar_t* title);

}  // namespace app
