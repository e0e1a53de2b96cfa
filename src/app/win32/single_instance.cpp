#include "app/win32/single_instance.h"

#include <windows.h>

namespace app {
namespace {

// One per logon session: each user's desktop has its own wizard to show.
constexpr wchar_t kMutexName[] = L"Local\\ZinkolarSetup";

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
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
    if (mutex == nullptr || GetLastError() != ERROR_ALREADY_EXISTS)
        return true;
    if (show_running)
        ShowRunningSetup();
    return false;
}

}  // namespace app
