#pragma once
// The setup program started the way a person starts it: setup.exe from its distribution
// folder, with that folder as the current directory. The process is ended by handle when the
// object goes away while it still runs (a failed test never leaves it behind).
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "message_dialog.h"
#include "platform/win32/handles.h"
#include "remote_window.h"
#include "wait.h"

namespace e2e {

class SetupProcess {
  public:
    // arguments: the rest of the command line after the program's quoted path.
    explicit SetupProcess(const std::wstring& folder, std::wstring_view program = L"setup.exe",
                          std::wstring_view arguments = {});
    ~SetupProcess();
    SetupProcess(const SetupProcess&) = delete;
    SetupProcess& operator=(const SetupProcess&) = delete;

    DWORD Id() const { return id_; }
    bool Running() const;

    // The process's top-level windows, top of the z-order first.
    std::vector<RemoteWindow> Windows() const;
    // A top-level window of the process by class (and title, when given); visible or not.
    std::optional<RemoteWindow> FindTopLevel(std::string_view class_name,
                                             std::string_view title = {}) const;
    // Waits until such a window is shown.
    RemoteWindow WaitWindow(std::string_view class_name, std::string_view title = {},
                            Timeout timeout = kDefaultTimeout) const;
    // Waits until a message dialog ("#32770") of the process is shown.
    MessageDialog WaitDialog(Timeout timeout = kDefaultTimeout) const;
    std::optional<MessageDialog> FindDialog() const;

    // Waits for the end of the process and returns its exit code.
    DWORD WaitExit(Timeout timeout = kDefaultTimeout) const;
    // Ends the process at once.
    void Kill() const;

  private:
    platform::UniqueKernelObject process_;
    DWORD id_ = 0;
};

}  // namespace e2e
