#include "language/message_dialogs.h"

#include <string_view>
#include <utility>

namespace language {
namespace {

using ui::DialogButton;
using ui::DialogKind;

std::string_view ToolkitTitle(DialogKind kind) {
    switch (kind) {
        case DialogKind::Warning:
            return "Warning";
        case DialogKind::Confirmation:
            return "Confirm";
        case DialogKind::Error:
            return "Error";
        case DialogKind::Information:
            return "Information";
    }
    return {};
}

const TextKey& TitleKey(DialogKind kind) {
    switch (kind) {
        case DialogKind::Warning:
            return keys::cSound6;
        case DialogKind::Confirmation:
            return keys::cConfirm;
        case DialogKind::Error:
            return keys::cError;
        case DialogKind::Information:
            break;
    }
    return keys::cInformation;
}

// Yes and No keep an access key in every language; the toolkit's "OK" and "Cancel" have none,
// so their translations get none either.
std::string LocalCaption(const Language& language, DialogButton button) {
    switch (button) {
        case DialogButton::Yes:
            return "&" + language.Lookup(keys::cYes);
        case DialogButton::No:
            return "&" + language.Lookup(keys::cNo);
        case DialogButton::Ok:
            return language.Lookup(keys::cOk);
        case DialogButton::Cancel:
            return language.Lookup(keys::cCancel);
        case DialogButton::Retry:
            break;
    }
    return std::string(ToolkitCaption(button));
}

}  // namespace

std::string_view ToolkitCaption(DialogButton button) {
    switch (button) {
        case DialogButton::Yes:
            return "&Yes";
        case DialogButton::No:
            return "&No";
        case DialogButton::Ok:
            return "OK";
        case DialogButton::Cancel:
            return "Cancel";
        case DialogButton::Retry:
            return "&Retry";
    }
    return {};
}

ui::DialogButton ShowMessageDialog(ui::MessageDialogs& dialogs, const Language& language,
                                   std::string_view id, const std::string& text, DialogKind kind,
                                   std::vector<DialogButton> buttons) {
    ui::DialogRequest request{.id = std::string(id),
                              .text = text,
                              .kind = kind,
                              .title = language.Lookup(TitleKey(kind))};
    for (DialogButton button : buttons) {
        request.captions.push_back(LocalCaption(language, button));
    }
    request.buttons = std::move(buttons);
    return dialogs.Show(request);
}

ui::DialogButton ShowPlainDialog(ui::MessageDialogs& dialogs, std::string_view id,
                                 const std::string& text, DialogKind kind,
                                 std::vector<DialogButton> buttons) {
    ui::DialogRequest request{.id = std::string(id),
                              .text = text,
                              .kind = kind,
                              .title = std::string(ToolkitTitle(kind))};
    for (DialogButton button : buttons) {
        request.captions.emplace_back(ToolkitCaption(button));
    }
    request.buttons = std::move(buttons);
    return dialogs.Show(request);
}

void ShowErrorBox(ui::MessageDialogs& dialogs, const Language& language, const std::string& text,
                  std::string_view id) {
    ShowMessageDialog(dialogs, language, id, text, ui::DialogKind::Error, {ui::DialogButton::Ok});
}

}  // namespace language
