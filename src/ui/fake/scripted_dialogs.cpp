#include "ui/fake/scripted_dialogs.h"

namespace ui {

DialogButton ScriptedDialogs::Show(const DialogRequest& request) {
    shown_.push_back(request);
    if (answers_.empty())
        return request.buttons.front();
    const DialogButton answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::vector<std::string> ScriptedDialogs::Texts() const {
    std::vector<std::string> texts;
    for (const DialogRequest& request : shown_)
        texts.push_back(request.text);
    return texts;
}

}  // namespace ui
