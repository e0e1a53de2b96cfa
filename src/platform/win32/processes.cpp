// The running processes through the tool-help snapshot. Its calls are looked up at run time:
// older systems of the NT line lack them, and the program must still run there.
#include <windows.h>
// After <windows.h>, which it needs.
#include <tlhelp32.h>

#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/libraries.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace platform {

Result<std::vector<std::string>> Win32System::ProcessNames() const {
    const UniqueModule kernel = LoadSystemLibrary(L"kernel32.dll");
    if (!kernel)
        return Failure(GetLastError(), "kernel32.dll");
    using Snapshot = HANDLE(WINAPI*)(DWORD, DWORD);
    using Walk = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32W*);
    const auto function = [&](const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(kernel.get(), name));
    };
    const auto snapshot = reinterpret_cast<Snapshot>(function("CreateToolhelp32Snapshot"));
    const auto first = reinterpret_cast<Walk>(function("Process32FirstW"));
    const auto next = reinterpret_cast<Walk>(function("Process32NextW"));
    if (snapshot == nullptr || first == nullptr || next == nullptr)
        return Failure(kErrorProcNotFound, "CreateToolhelp32Snapshot");
    const UniqueSnapshot processes(snapshot(TH32CS_SNAPPROCESS, 0));
    if (!processes)
        return Failure(GetLastError(), "CreateToolhelp32Snapshot");
    std::vector<std::string> names;
    PROCESSENTRY32W entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = first(processes.get(), &entry); more; more = next(processes.get(), &entry))
        names.push_back(Narrow(entry.szExeFile));
    return names;
}

}  // namespace platform
