// Stand-in for the product's service library: the platform code, a process test by executable
// name and the removal of a service. The product speaks ANSI, so this library uses the A calls.
#undef UNICODE
#undef _UNICODE
#include <windows.h>
// after windows.h, which it builds on
#include <tlhelp32.h>

#include <algorithm>
#include <type_traits>

#include "install/product_abi.h"
#include "platform/win32/handles.h"

using install::ProductInt;
using platform::UniqueService;

namespace {

// Windows 9x reports full paths in the process list, NT bare names.
const char* FileNameOf(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':') {
            name = p + 1;
        }
    }
    return name;
}

constexpr DWORD kStopWaitMs = 30000;

}  // namespace

extern "C" {

__declspec(dllexport) ProductInt PRODUCT_STDCALL GetVer() {
    // GetVersion cannot fail: the 9x family sets the high bit, the low byte is the major version.
    const DWORD version = GetVersion();
    if ((version & 0x80000000u) != 0) {
        return 1;
    }
    return LOBYTE(LOWORD(version)) <= 4 ? 2 : 3;
}

__declspec(dllexport) ProductInt PRODUCT_STDCALL
    TestProcessExec(ProductInt mode, const char* executable) {
    if (mode != install::kByExecutableName || executable == nullptr) {
        return 0;
    }
    const platform::UniqueSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return 0;
    }
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry)) {
        if (lstrcmpiA(FileNameOf(entry.szExeFile), executable) == 0) {
            return 1;
        }
    }
    return 0;
}

__declspec(dllexport) void PRODUCT_STDCALL RemoveService(const char* service_name) {
    if (service_name == nullptr) {
        return;
    }
    // Windows 9x has no service manager: nothing to remove there.
    const UniqueService manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) {
        return;
    }
    const UniqueService service(
        OpenServiceA(manager.get(), service_name, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE));
    if (!service) {
        return;
    }
    SERVICE_STATUS status{};
    if (ControlService(service.get(), SERVICE_CONTROL_STOP, &status) ||
        GetLastError() == ERROR_SERVICE_CANNOT_ACCEPT_CTRL) {
        // Until it has stopped its program is held open, and the copy step after this could not
        // replace it; a service that hangs is waited for at most 30 seconds.
        const DWORD start = GetTickCount();
        while (QueryServiceStatus(service.get(), &status) &&
               status.dwCurrentState != SERVICE_STOPPED && GetTickCount() - start < kStopWaitMs) {
            Sleep(std::clamp<DWORD>(status.dwWaitHint / 10, 100, 1000));
        }
    }
    DeleteService(service.get());
}

}  // extern "C"

static_assert(std::is_same_v<decltype(&GetVer), install::GetVerFunction>);
static_assert(std::is_same_v<decltype(&TestProcessExec), install::TestProcessExecFunction>);
static_assert(std::is_same_v<decltype(&RemoveService), install::RemoveServiceFunction>);
