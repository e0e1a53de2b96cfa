#pragma once
// A message dialog of the driven program, read and answered like a person would.
#include <string>
#include <string_view>
#include <vector>

#include "remote_window.h"

namespace e2e {

class MessageDialog {
  public:
    explicit MessageDialog(RemoteWindow window) : window_(window) {}

    const RemoteWindow& Window() const { return window_; }
    std::string Title() const { return window_.Text(); }
    // The texts of the dialog's labels, one line each (the message).
    std::string Text() const;
    // The button captions as shown, access-key "&" included, in the dialog's order.
    std::vector<std::string> Buttons() const;
    // Presses the button with this caption ("&" included); throws when there is none.
    void Press(std::string_view caption) const;

  private:
    RemoteWindow window_;
};

}  // namespace e2e
