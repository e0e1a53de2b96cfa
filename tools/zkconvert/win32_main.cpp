// zkconvert.exe, the Windows console program, over the platform's real file system.
#include <windows.h>

#include <iostream>

#include "platform/win32/win32_platform.h"
#include "zkconvert.h"

namespace {

// The texts are UTF-8 inside; so is what the console is given while the program runs. The
// console is the user's: its own code page comes back at the end.
class Utf8ConsoleOutput {
  public:
    Utf8ConsoleOutput() : previous_(GetConsoleOutputCP()) { SetConsoleOutputCP(CP_UTF8); }
    ~Utf8ConsoleOutput() {
        std::cout.flush();
        if (previous_ != 0)
            SetConsoleOutputCP(previous_);
    }
    Utf8ConsoleOutput(const Utf8ConsoleOutput&) = delete;
    Utf8ConsoleOutput& operator=(const Utf8ConsoleOutput&) = delete;

  private:
    UINT previous_;  // 0 without a console
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const Utf8ConsoleOutput console;
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(platform::Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
    platform::Win32FileSystem files;
    const platform::AnsiCodec codec;
    return zkconvert::Run(arguments, files, codec, std::cin, std::cout);
}
