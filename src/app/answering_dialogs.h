#pragma once
// Every message dialog of the program passes here: the question and its answer go into the
// account of the run, and with /SUPPRESSMSGBOXES the answer comes from a fixed table instead of
// a person.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/trace.h"
#include "ui/message_dialog.h"

namespace app {

// The answer an administrator wants to a question, known by its text key: data safety first, so
// a question whose Yes would go on at risk is declined. Other dialogs get their safe default: OK,
// else Cancel, else No.
ui::DialogButton PresetAnswer(std::string_view id, const std::vector<ui::DialogButton>& buttons);

class AnsweringDialogs final : public ui::MessageDialogs {
  public:
    // shown: the real dialogs, used unless answers are preset.
    AnsweringDialogs(ui::MessageDialogs& shown, platform::Trace& trace, bool preset)
        : shown_(shown), trace_(trace), preset_(preset) {}

    ui::DialogButton Show(const ui::DialogRequest& request) override;

    // The texts of the error messages that came up (error dialogs with only an OK button;
    // an error that asks a question is a question), in order.
    const std::vector<std::string>& ErrorMessages() const { return errors_; }

  private:
    ui::MessageDialogs& shown_;
    platform::Trace& trace_;
    bool preset_;
    std::vector<std::string> errors_;
};

}  // namespace app
