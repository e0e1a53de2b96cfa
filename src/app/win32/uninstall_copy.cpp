#include "app/win32/uninstall_copy.h"

#include <cstdint>
#include <system_error>

#include "platform/win32/wide.h"
#include "uninstall/removal.h"

namespace app {
namespace {

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
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
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

// A handle of this process's own for the copy to inherit, closed once the copy runs.
platform::UniqueKernelObject Inheritable(HANDLE handle, DWORD access) {
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, access, TRUE,
                    access == 0 ? DUPLICATE_SAME_ACCESS : 0);
    return platform::UniqueKernelObject(copy);
}

// Starts the copy; the pipe's end to write the operations to, none when it could not start.
platform::UniqueKernelObject StartCopy(const std::string& program,
                                       const std::optional<std::string>& account) {
    wchar_t temp[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH, temp) == 0)
        return {};
    std::optional<CopyFile> copy = MakeCopy(program, temp);
    if (!copy)
        return {};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, nullptr, 0))
        return {};
    platform::UniqueKernelObject pipe_write(write);
    const platform::UniqueKernelObject pipe_read(read);
    const platform::UniqueKernelObject rest = Inheritable(read, 0);
    const platform::UniqueKernelObject self = Inheritable(GetCurrentProcess(), SYNCHRONIZE);

    std::wstring command = L"\"" + copy->path + L"\" " + HandleSwitch(kRestSwitch, rest.get()) +
                           L" " + HandleSwitch(kStarterSwitch, self.get());
    if (account)
        command += L" \"" + platform::Wide(kAccountSwitch + *account) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(copy->path.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        temp, &startup, &started)) {
        if (!copy->delete_on_close)
            DeleteFileW(copy->path.c_str());
        return {};  // the file goes with its handle
    }
    const platform::UniqueKernelObject process(started.hProcess);
    const platform::UniqueKernelObject thread(started.hThread);
    return pipe_write;  // only the copy holds the file now: it goes when the copy ends
}

}  // namespace

void Finisher::Start(const std::string& program, const std::optional<std::string>& account) {
    try {
        pipe_ = std::async(std::launch::async, StartCopy, program, account);
    } catch (const std::system_error&) {
        pipe_ = std::async(std::launch::deferred, StartCopy, program, account);  // at the hand-over
    }
}

bool Finisher::HandOver(std::span<const uninstall::Operation> rest) {
    if (!pipe_.valid())
        return false;
    const platform::UniqueKernelObject pipe = pipe_.get();  // the copy reads to its end
    if (!pipe)
        return false;
    const std::string text = uninstall::WriteHandedOver(rest);
    DWORD written = 0;
    return WriteFile(pipe.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) !=
               0 &&
           written == text.size();
}

std::string AwaitRest(HANDLE rest_pipe, HANDLE starter) {
    const platform::UniqueKernelObject pipe(rest_pipe);
    const platform::UniqueKernelObject process(starter);
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(pipe.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    WaitForSingleObject(process.get(), INFINITE);
    return text;
}

}  // namespace app
