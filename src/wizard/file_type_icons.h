#pragma once
// The 16 x 16 icons of the file-type rows, drawn by the program itself.
#include <vector>

#include "platform/libraries.h"
#include "ui/control.h"

namespace wizard {

struct FileTypeIcon {
    ui::ControlName control;
    platform::Bitmap picture;
};

std::vector<FileTypeIcon> FileTypeIcons();

}  // namespace wizard
