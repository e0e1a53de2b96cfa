#pragma once
// The 16 x 16 icons of the file-type rows, drawn by the program itself.
#include <vector>

#include "platform/libraries.h"

namespace wizard {

struct FileTypeIcon {
    const char* control;
    platform::Bitmap picture;
};

std::vector<FileTypeIcon> FileTypeIcons();

}  // namespace wizard
