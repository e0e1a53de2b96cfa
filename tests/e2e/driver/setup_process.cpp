#include "setup_process.h"

#include <stdexcept>

#include "strings.h"

namespace e2e {
namespace {

constexpr Timeout kKillTimeout = 10s;

struct Search {
    DWORD process;
    std::vector<HWND> found;
};

// The enumeration hands its context over as an integer.
BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);  // NOLINT(performance-no-int-to-ptr)
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process) {
        search->found.push_back(window);
    }
    return TRUE;
}

std::string LastError(const std::string& what) {
    return what + " failed, error " + std::to_string(GetLastError());
}

}  // namespace

SetupProcess::SetupProcess(const std::wstring& folder, std::wstring_view program,
                           std::wstring_view arguments) {
    std::wstring command = L"\"" + folder + L"\\" + std::wstring(program) + L"\"";
    if (!arguments.empty())
        command += L" " + std::wstring(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                       &startup, &info) == 0) {
        throw std::runtime_error(LastError("starting " + Utf8(command)));
    }
    const platform::UniqueKernelObject thread(info.hThread);
    process_.reset(info.hProcess);
    id_ = info.dwProcessId;
}

SetupProcess::~SetupProcess() {
    if (Running()) {
        Kill();
    }
}

bool SetupProcess::Running() const {
    return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

void SetupProcess::Kill() const {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), static_cast<DWORD>(kKillTimeout.count()));
}

std::vector<RemoteWindow> SetupProcess::Windows() const {
    Search search{id_, {}};
    EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
    return {search.found.begin(), search.found.end()};
}

std::optional<RemoteWindow> SetupProcess::FindTopLevel(std::string_view class_name,
                                                       std::string_view title) const {
    for (const RemoteWindow& window : Windows()) {
        if (window.ClassName() == class_name && (title.empty() || window.Text() == title)) {
            return window;
        }
    }
    return std::nullopt;
}

RemoteWindow SetupProcess::WaitWindow(std::string_view class_name, std::string_view title,
                                      Timeout timeout) const {
    return WaitFor(
        [&]() -> std::optional<RemoteWindow> {
            if (!Running()) {
                throw std::runtime_error("setup.exe ended while waiting for a " +
                                         std::string(class_name) + " window");
            }
            auto window = FindTopLevel(class_name, title);
            return window && window->Visible() ? window : std::nullopt;
        },
        timeout, "a shown " + std::string(class_name) + " window " + std::string(title));
}

std::optional<MessageDialog> SetupProcess::FindDialog() const {
    for (const RemoteWindow& window : Windows()) {
        if (window.ClassName() == "#32770" && window.Visible()) {
            return MessageDialog(window);
        }
    }
    return std::nullopt;
}

MessageDialog SetupProcess::WaitDialog(Timeout timeout) const {
    return WaitFor(
        [&] {
            if (!Running()) {
                throw std::runtime_error("setup.exe ended while waiting for a message dialog");
            }
            return FindDialog();
        },
        timeout, "a message dialog");
}

DWORD SetupProcess::WaitExit(Timeout timeout) const {
    if (WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        throw std::runtime_error("setup.exe did not end within " + std::to_string(timeout.count()) +
                                 " ms");
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

}  // namespace e2e
