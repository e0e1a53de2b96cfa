#pragma once
// The run's error box: the error-kind message dialog in the current language with one OK button.
#include <string>

#include "language/language.h"
#include "ui/message_dialog.h"

namespace install {

void ShowErrorBox(ui::MessageDialogs& dialogs, const language::Language& language,
                  const std::string& text);

}  // namespace install
