#include "ui/win32/win32_application.h"

#include "platform/win32/wide.h"

namespace ui {

void Win32Application::Dispatch(MSG& message) {
    if (backend_.TranslateKeys(message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int Win32Application::Run() {
    MSG message;
    while (!terminating_ && GetMessageW(&message, nullptr, 0, 0) > 0)
        Dispatch(message);
    return exit_code_;
}

void Win32Application::SetTitle(const std::string& title) {
    // The main window has no caption bar; its text is what the taskbar shows.
    if (main_window_ != nullptr)
        SetWindowTextW(main_window_, platform::Wide(title).c_str());
}

void Win32Application::Terminate(int exit_code) {
    terminating_ = true;
    exit_code_ = exit_code;
    PostQuitMessage(exit_code);
}

void Win32Application::ProcessMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            terminating_ = true;
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        Dispatch(message);
    }
}

void Win32Application::DrainMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        const bool input = (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) ||
                           (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST);
        if (!input)
            Dispatch(message);
    }
}

void Win32Application::Halt(int exit_code) {
    if (on_halt)
        on_halt(exit_code);
    ExitProcess(static_cast<UINT>(exit_code));
}

}  // namespace ui
