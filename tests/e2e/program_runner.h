#pragma once
// Windows programs the tests run to read the machine (reg.exe, say).
#include <string>

namespace e2e {

// Runs a Windows program to its end (30 s at the most); throws when it cannot start or fails.
void RunProgram(std::wstring command);

}  // namespace e2e
