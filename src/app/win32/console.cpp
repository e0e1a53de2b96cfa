#include "app/win32/console.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/win32/wide.h"

namespace app {
namespace {

// The output the program was started with, or the console of the program that started it;
// null when there is neither.
HANDLE ConsoleOutput() {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output != nullptr && output != INVALID_HANDLE_VALUE &&
        GetFileType(output) != FILE_TYPE_UNKNOWN)
        return output;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return nullptr;
    const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
    return console == INVALID_HANDLE_VALUE ? nullptr : console;
}

}  // namespace

std::vector<std::string> Arguments() {
    int count = 0;
    LPWSTR* pieces = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; pieces != nullptr && i < count; ++i)
        arguments.push_back(platform::Narrow(pieces[i]));
    LocalFree(pieces);
    return arguments;
}

void Tell(const std::string& text, bool error, const wchar_t* title) {
    if (const HANDLE output = ConsoleOutput()) {
        DWORD written = 0;
        WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    MessageBoxW(nullptr, platform::Wide(text).c_str(), title,
                (error ? MB_ICONERROR : MB_ICONINFORMATION) | MB_OK | MB_TOPMOST);
}

}  // namespace app
