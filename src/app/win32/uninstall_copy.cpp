#include "app/win32/uninstall_copy.h"

#include <cstdint>

#include "platform/win32/wide.h"
#include "ui/exit_codes.h"

namespace app {
namespace {

// How long the copy waits for the program that started it to end.
constexpr DWORD kStarterWaitMs = 30000;

SECURITY_ATTRIBUTES Inherited() {
    return {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
}

// The copy's file, written and opened so that the system deletes it when the last handle to it
// closes: the copy inherits the handle and holds it until it ends, and no process is left
// behind to delete it. Where the file cannot be opened so, it goes at the next restart.
struct CopyFile {
    std::wstring path;
    platform::UniqueFile delete_on_close;
};

std::optional<CopyFile> MakeCopy(const std::string& program, const std::wstring& temp) {
    std::wstring path = temp + L"zkuninst-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    if (!CopyFileW(platform::Wide(program).c_str(), path.c_str(), FALSE))
        return std::nullopt;
    SECURITY_ATTRIBUTES inherit = Inherited();
    // Read and delete shared: the system opens the file to run it.
    platform::UniqueFile file(CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                          &inherit, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE,
                                          nullptr));
    if (!file)
        MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return CopyFile{std::move(path), std::move(file)};
}

std::wstring HandleSwitch(const char* name, HANDLE handle) {
    return platform::Wide(name) + std::to_wstring(reinterpret_cast<std::uintptr_t>(handle));
}

// The exit code the copy hands back; its own exit code when it ended without handing one over.
int ReceiveCode(HANDLE result_pipe, HANDLE copy) {
    int code = ui::kExitFatal;
    DWORD got = 0;
    if (ReadFile(result_pipe, &code, sizeof code, &got, nullptr) && got == sizeof code)
        return code;
    WaitForSingleObject(copy, INFINITE);
    DWORD exit_code = ui::kExitFatal;
    GetExitCodeProcess(copy, &exit_code);
    return static_cast<int>(exit_code);
}

}  // namespace

std::optional<int> RunCopy(const std::string& program, const std::string& folder,
                           const std::string& arguments) {
    wchar_t temp[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH, temp) == 0)
        return std::nullopt;
    std::optional<CopyFile> copy = MakeCopy(program, temp);
    if (!copy)
        return std::nullopt;
    SECURITY_ATTRIBUTES inherit = Inherited();
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0))
        return std::nullopt;
    const platform::UniqueKernelObject result_read(read);
    platform::UniqueKernelObject result_write(write);
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    HANDLE self = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                    SYNCHRONIZE, TRUE, 0);
    platform::UniqueKernelObject starter(self);

    std::wstring command = L"\"" + copy->path + L"\" \"" + platform::Wide(kFolderSwitch + folder) +
                           L"\" " + HandleSwitch(kResultSwitch, write) + L" " +
                           HandleSwitch(kStarterSwitch, self);
    if (!arguments.empty())
        command += L" " + platform::Wide(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(copy->path.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        temp, &startup, &started)) {
        if (!copy->delete_on_close)
            DeleteFileW(copy->path.c_str());
        return std::nullopt;  // the file goes with its handle
    }
    const platform::UniqueKernelObject process(started.hProcess);
    const platform::UniqueKernelObject thread(started.hThread);
    // Only the copy holds these now: the pipe breaks when it ends, the file goes with it.
    result_write.reset();
    starter.reset();
    copy->delete_on_close.reset();
    return ReceiveCode(result_read.get(), process.get());
}

void Starter::HandOver(int code) {
    if (result_pipe_) {
        DWORD written = 0;
        WriteFile(result_pipe_.get(), &code, sizeof code, &written, nullptr);
        result_pipe_.reset();
    }
    if (process_) {
        WaitForSingleObject(process_.get(), kStarterWaitMs);
        process_.reset();
    }
}

}  // namespace app
