#include "script/copy_files_form.h"

namespace script {
namespace {

constexpr std::uint32_t kButtonFace = 0xF0F0F0;

constexpr ui::ControlLayout kControls[] = {
    {"Label3", 2001, ui::Kind::Label, nullptr, {80, 21, 273, 36}, true, {.vertical_center = true}},
    {"Image", 2002, ui::Kind::Picture, nullptr, {32, 21, 36, 36}},
    {"Label1", 2003, ui::Kind::Label, nullptr, {8, 8, 329, 33}},
    {"ProgressBar", 2004, ui::Kind::ProgressBar, nullptr, {8, 48, 345, 20}, false},
};

}  // namespace

CopyFilesForm::CopyFilesForm()
    : form_({.class_name = "TCopyFilesForm",
             .client_width = 361,
             .client_height = 77,
             .color = kButtonFace,
             .dialog_frame = true,
             .system_menu = false,
             .topmost = true}) {
    form_.AddAll(kControls);
    form_.SetCaption("Copy Files");
}

}  // namespace script
