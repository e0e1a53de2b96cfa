#pragma once
// A window of the driven program, read and operated from outside through window messages, as
// automation tools and screen readers do. Failures (a gone window, a hung program, a press on
// a hidden or disabled control) throw std::runtime_error.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace e2e {

class RemoteWindow {
  public:
    explicit RemoteWindow(HWND handle) : handle_(handle) {}

    HWND Handle() const { return handle_; }
    bool Exists() const { return IsWindow(handle_) != FALSE; }
    std::string ClassName() const;
    int Id() const { return GetDlgCtrlID(handle_); }
    std::string Text() const;
    // Shown on screen: the window and all its parents are visible.
    bool Visible() const { return IsWindowVisible(handle_) != FALSE; }
    bool Enabled() const { return IsWindowEnabled(handle_) != FALSE; }
    RECT ScreenRect() const;

    // A control anywhere inside this window (panels included), by its control identifier.
    RemoteWindow Control(int id) const;
    // The direct children, top of the z-order first.
    std::vector<RemoteWindow> Children() const;

    // Buttons, check boxes and radio buttons.
    bool Checked() const;
    // Presses the button as a click would. The press is posted, so a modal dialog the program
    // opens in response does not block the driver.
    void Click() const;

    // Combo boxes and list boxes.
    std::vector<std::string> Items() const;
    int SelectedIndex() const;
    // Picks an item as the user would and tells the program, as the list does.
    void Choose(int index) const;

    // Edit fields: replaces the text; the edit control reports the change itself.
    void Type(std::string_view text) const;

  private:
    LRESULT Send(UINT message, WPARAM w, LPARAM l) const;
    bool IsComboBox() const;
    void RequireUsable(const char* action) const;
    std::string Describe() const;

    HWND handle_;
};

}  // namespace e2e
