#include "install/error_box.h"

#include "language/message_dialogs.h"

namespace install {

void ShowErrorBox(ui::MessageDialogs& dialogs, const language::Language& language,
                  const std::string& text) {
    language::ShowMessageDialog(dialogs, language, text, ui::DialogKind::Error,
                                {ui::DialogButton::Ok});
}

}  // namespace install
