#pragma once
// The application: its message loop, its end, and the showing of its main window.
#include <windows.h>

#include <functional>

#include "ui/form.h"
#include "ui/win32/win32_backend.h"

namespace ui {

class Win32Application final : public Application {
  public:
    explicit Win32Application(Win32Backend& backend) : backend_(backend) {}
    void SetMainWindow(HWND window) { main_window_ = window; }
    bool ShowMainWindow() const { return show_main_window_; }
    // Runs the message loop until Terminate; returns the exit code.
    int Run();

    void SetTitle(const std::string& title) override;
    void Terminate(int exit_code) override;
    bool Terminating() const override { return terminating_; }
    void SetShowMainWindow(bool show) override { show_main_window_ = show; }
    void ProcessMessages() override;
    void DrainMessages() override;
    [[noreturn]] void Halt(int exit_code) override;

    // Told the code before the process ends at once, so that the run's account gets its end.
    std::function<void(int)> on_halt;

  private:
    void Dispatch(MSG& message);

    Win32Backend& backend_;
    HWND main_window_ = nullptr;
    bool terminating_ = false;
    int exit_code_ = 0;
    bool show_main_window_ = true;
};

}  // namespace ui
