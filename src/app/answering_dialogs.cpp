#include "app/answering_dialogs.h"

#include <algorithm>
#include <string>
#include <utility>

#include "language/message_dialogs.h"

namespace app {
namespace {

using ui::DialogButton;

// The table of the README's "Unattended installation".
constexpr std::pair<std::string_view, DialogButton> kAnswers[] = {
    // Not enough disk space: do not fill the disk.
    {"cSizeError", DialogButton::No},
    // Product applications running: close them.
    {"cAnyAppRun", DialogButton::Yes},
    // They did not close within the grace period: abort rather than replace files in use.
    {"cErrCloseApp", DialogButton::Yes},
    // Abort? It only follows a declined question.
    {"cRealyAbort", DialogButton::Yes},
    // The uninstaller's question: an unattended removal removes.
    {"cUnQuestion", DialogButton::Yes},
    // Data of the earlier version: convert it.
    {"cConvertPhoneBook", DialogButton::Yes},
    {"cConverLogBook", DialogButton::Yes},
};

// A button as the log names it: its toolkit caption without the access-key mark.
std::string ButtonName(DialogButton button) {
    std::string name(language::ToolkitCaption(button));
    std::erase(name, '&');
    return name;
}

bool Offers(const std::vector<DialogButton>& buttons, DialogButton button) {
    return std::ranges::find(buttons, button) != buttons.end();
}

}  // namespace

DialogButton PresetAnswer(std::string_view id, const std::vector<DialogButton>& buttons) {
    for (const auto& [key, answer] : kAnswers) {
        if (key == id && Offers(buttons, answer))
            return answer;
    }
    for (const DialogButton safe : {DialogButton::Ok, DialogButton::Cancel, DialogButton::No}) {
        if (Offers(buttons, safe))
            return safe;
    }
    return buttons.empty() ? DialogButton::Ok : buttons.front();
}

DialogButton AnsweringDialogs::Show(const ui::DialogRequest& request) {
    std::string buttons;
    for (const DialogButton button : request.buttons)
        buttons += std::string(buttons.empty() ? "" : "/") + ButtonName(button);
    trace_.Line("Dialog " + (request.id.empty() ? std::string("(no key)") : request.id) + " [" +
                buttons + "]: " + request.text);
    if (request.kind == ui::DialogKind::Error &&
        std::ranges::all_of(request.buttons,
                            [](DialogButton button) { return button == DialogButton::Ok; }))
        errors_.push_back(request.text);
    const DialogButton answer =
        preset_ ? PresetAnswer(request.id, request.buttons) : shown_.Show(request);
    trace_.Line(std::string(preset_ ? "Answered by the table: " : "Answered: ") +
                ButtonName(answer));
    return answer;
}

}  // namespace app
