#pragma once
// Message dialogs for tests: answers come from a script, and every request is recorded.
#include <deque>
#include <string>
#include <vector>

#include "ui/message_dialog.h"

namespace ui {

class ScriptedDialogs final : public MessageDialogs {
  public:
    // The next dialog answers with this button.
    void Answer(DialogButton button) { answers_.push_back(button); }
    const std::vector<DialogRequest>& Shown() const { return shown_; }
    // The texts of the dialogs shown, in order.
    std::vector<std::string> Texts() const;
    void Clear() { shown_.clear(); }

    // Without a scripted answer the first button is pressed, as Enter would.
    DialogButton Show(const DialogRequest& request) override;

  private:
    std::deque<DialogButton> answers_;
    std::vector<DialogRequest> shown_;
};

}  // namespace ui
