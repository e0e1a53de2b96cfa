#include "app/win32/single_instance.h"

#include <windows.h>

namespace app {
namespace {

// One for the whole machine: a deployment running as the system account and a user's wizard
// must not install at once. Where the machine-wide name cannot be made, one per logon session.
constexpr wchar_t kMutexName[] = L"Global\\ZinkolarSetup";
constexpr wchar_t kSessionMutexName[] = L"Local\\ZinkolarSetup";

// The windows a running setup shows: the wizard, or the progress window while it installs.
constexpr const wchar_t* kWindowClasses[] = {L"TWizardDlg", L"TCopyFilesForm"};

void ShowRunningSetup() {
    for (const wchar_t* window_class : kWindowClasses) {
        const HWND window = FindWindowW(window_class, nullptr);
        if (window != nullptr && IsWindowVisible(window)) {
            // A message dialog open in front of the window is what the user has to answer.
            SetForegroundWindow(GetLastActivePopup(window));
            return;
        }
    }
}

}  // namespace

bool ClaimSingleSetup(bool show_running) {
    // Never closed: the mark goes with the process.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
    DWORD error = GetLastError();
    // Made by another account's setup, which did not grant this one access: it is there.
    const bool other_account = mutex == nullptr && error == ERROR_ACCESS_DENIED;
    if (mutex == nullptr && !other_account) {
        mutex = CreateMutexW(nullptr, FALSE, kSessionMutexName);
        error = GetLastError();
    }
    if (!other_account && (mutex == nullptr || error != ERROR_ALREADY_EXISTS))
        return true;
    if (show_running)
        ShowRunningSetup();
    return false;
}

}  // namespace app
