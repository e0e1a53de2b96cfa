// zkdist.exe, the Windows console program, over the platform's real file system.
#include <windows.h>

#include <iostream>

#include "platform/win32/win32_platform.h"
#include "zkdist.h"

int wmain(int argc, wchar_t** argv) {
    // The findings are UTF-8; so is what the console is given, as long as this program runs.
    const UINT console_code_page = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(platform::Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
    platform::Win32FileSystem files;
    const int status = zkdist::Run(arguments, files, std::cout);
    std::cout.flush();
    SetConsoleOutputCP(console_code_page);
    return status;
}
