#include "program_runner.h"

#include <windows.h>

#include <stdexcept>

#include "driver/strings.h"
#include "platform/win32/handles.h"

namespace e2e {

void RunProgram(std::wstring command) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                       nullptr, &startup, &info) == 0) {
        throw std::runtime_error("cannot start " + Utf8(command));
    }
    const platform::UniqueKernelObject thread(info.hThread);
    const platform::UniqueKernelObject process(info.hProcess);
    WaitForSingleObject(process.get(), 30000);
    DWORD code = 1;
    GetExitCodeProcess(process.get(), &code);
    if (code != 0) {
        throw std::runtime_error(Utf8(command) + " ended with " + std::to_string(code));
    }
}

}  // namespace e2e
