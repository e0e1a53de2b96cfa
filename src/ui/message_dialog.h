#pragma once
// Modal message dialogs: one interface for the real dialog and the scripted one in tests.
#include <string>
#include <vector>

namespace ui {

enum class DialogKind { Warning, Error, Information, Confirmation };
enum class DialogButton { Yes, No, Ok, Cancel, Retry };

struct DialogRequest {
    std::string id;  // the text key of the message: which question it is
    std::string text;
    DialogKind kind = DialogKind::Information;
    std::string title;
    std::vector<DialogButton> buttons;
    std::vector<std::string> captions;  // one per button, "&" marking the access key
};

class MessageDialogs {
  public:
    virtual ~MessageDialogs() = default;
    // Shows the dialog modally over the active form and returns the button pressed.
    virtual DialogButton Show(const DialogRequest& request) = 0;
};

}  // namespace ui
