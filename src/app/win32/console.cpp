#include "app/win32/console.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace app {
namespace {

// The output the program was started with; null when there is none.
HANDLE StartedOutput() {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    return output != nullptr && output != INVALID_HANDLE_VALUE &&
                   GetFileType(output) != FILE_TYPE_UNKNOWN
               ? output
               : nullptr;
}

// The console of the program that started this one, opened here; holds nothing when there is
// none.
platform::UniqueFile ParentConsole() {
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return {};
    return platform::UniqueFile(CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
}

}  // namespace

std::vector<std::string> Arguments() {
    int count = 0;
    const platform::UniqueLocal<LPWSTR*> pieces(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> arguments;
    for (int i = 1; pieces && i < count; ++i)
        arguments.push_back(platform::Narrow(pieces.get()[i]));
    return arguments;
}

void Tell(const std::string& text, bool error, const wchar_t* title) {
    platform::UniqueFile console;  // the parent's, when opened here
    HANDLE output = StartedOutput();
    if (output == nullptr) {
        console = ParentConsole();
        output = console ? console.get() : nullptr;
    }
    if (output != nullptr) {
        DWORD written = 0;
        WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    MessageBoxW(nullptr, platform::Wide(text).c_str(), title,
                (error ? MB_ICONERROR : MB_ICONINFORMATION) | MB_OK | MB_TOPMOST);
}

void TellUsageError(const std::string& program, const std::string& error, const std::string& usage,
                    const wchar_t* title) {
    Tell(program + ": " + error + "\n\n" + usage, true, title);
}

}  // namespace app
