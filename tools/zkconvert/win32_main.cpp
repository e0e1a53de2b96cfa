// zkconvert.exe, the Windows console program, over the platform's real file system.
#include <windows.h>

#include <iostream>

#include "platform/win32/win32_platform.h"
#include "zkconvert.h"

int wmain(int argc, wchar_t** argv) {
    // The texts are UTF-8 inside; so is what the console is given.
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(platform::Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
    platform::Win32FileSystem files;
    const platform::AnsiCodec codec;
    return zkconvert::Run(arguments, files, codec, std::cin, std::cout);
}
