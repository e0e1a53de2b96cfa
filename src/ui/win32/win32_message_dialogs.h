#pragma once
// The modal message dialog as a dialog of the program's own, so its title and button captions
// are the caller's from the first paint: the program never re-labels a window it did not make.
#include "ui/message_dialog.h"

namespace ui {

class Win32MessageDialogs final : public MessageDialogs {
  public:
    DialogButton Show(const DialogRequest& request) override;
};

}  // namespace ui
