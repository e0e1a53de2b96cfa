#pragma once
// Message dialogs. The toolkit's own dialog speaks English; the program's questions and errors
// show their title and Yes / No / OK / Cancel captions in the current language instead.
#include <string>
#include <string_view>
#include <vector>

#include "language/language.h"
#include "ui/message_dialog.h"

namespace language {

// The dialog in the current language: the title by kind (cSound6, cConfirm, cError,
// cInformation), the captions "&" + cYes, "&" + cNo, cOk, cCancel; other buttons keep the
// toolkit's captions. Returns the button pressed. The id is the text key of the message.
ui::DialogButton ShowMessageDialog(ui::MessageDialogs& dialogs, const Language& language,
                                   std::string_view id, const std::string& text,
                                   ui::DialogKind kind, std::vector<ui::DialogButton> buttons);

// The error box: the error-kind dialog in the current language with one OK button.
void ShowErrorBox(ui::MessageDialogs& dialogs, const Language& language, const std::string& text,
                  std::string_view id = {});

// The toolkit's own caption of a button ("&Yes", "&No", "OK", "Cancel", "&Retry").
std::string_view ToolkitCaption(ui::DialogButton button);

// The toolkit's dialog as it is, with English title and captions ("Warning", "Confirm",
// "Error", "Information"; "&Yes", "&No", "OK", "Cancel", "&Retry"): the conversions' questions
// and the printer library's load error use it.
ui::DialogButton ShowPlainDialog(ui::MessageDialogs& dialogs, std::string_view id,
                                 const std::string& text, ui::DialogKind kind,
                                 std::vector<ui::DialogButton> buttons);

}  // namespace language
