#pragma once
// The copy progress window: the step of the installation run, or the file being copied with a
// progress bar. Created hidden at start; the run shows it.
#include "ui/form.h"

namespace script {

class CopyFilesForm {
  public:
    CopyFilesForm();
    ui::Form& GetForm() { return form_; }

  private:
    ui::Form form_;
};

}  // namespace script
