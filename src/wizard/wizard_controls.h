#pragma once
// The wizard dialog's controls with their stable identifiers and their places. Automation (and
// the end-to-end driver) finds a control by the identifier listed here.
#include "ui/control.h"

namespace wizard {

inline constexpr int kClientWidth = 494;
inline constexpr int kClientHeight = 348;

namespace detail {
using ui::Kind;
inline constexpr ui::Style kTitle{.font_height = 15, .bold = true, .vertical_center = true};
inline constexpr ui::Style kCentred{.vertical_center = true};
// 7 points, a size under the form's 8.
inline constexpr ui::Style kSmall{.font_height = 9};
inline constexpr ui::Style kBold{.bold = true};
inline constexpr ui::Style kSorted{.sorted = true};
inline constexpr ui::Style kNoWrap{.word_wrap = false};
inline constexpr int kBarTop = 314 + (34 - 23) / 2;
}  // namespace detail

// Parents come before their children, labels before the fields they name. Tab follows the
// places, top to bottom and left to right, whatever the order here.
inline constexpr ui::ControlLayout kWizardControls[] = {
    {"Image1", 1001, detail::Kind::Picture, nullptr, {0, 0, 164, 314}},
    {"Label1", 1002, detail::Kind::Label, nullptr, {178, 4, 289, 35}, true, detail::kTitle},
    {"Label6", 1003, detail::Kind::Label, nullptr, {178, 41, 305, 64}},
    {"Label4", 1004, detail::Kind::Label, nullptr, {178, 80, 305, 16}, false, detail::kBold},
    {"Label3", 1005, detail::Kind::Label, nullptr, {178, 106, 289, 81}, true, detail::kCentred},
    {"SelectLangCmb",
     1006,
     detail::Kind::ComboList,
     nullptr,
     {306, 137, 145, 21},
     true,
     detail::kSorted,
     "Label3"},
    {"Bevel", 1007, detail::Kind::Bevel, nullptr, {176, 230, 309, 2}},
    {"Label2", 1008, detail::Kind::Label, nullptr, {178, 234, 305, 65}, true, detail::kSmall},
    {"Panel5", 1009, detail::Kind::Panel, nullptr, {179, 81, 305, 122}, false},
    {"ClientRb", 1010, detail::Kind::RadioButton, "Panel5", {56, 48, 240, 17}},
    {"ServerRb", 1011, detail::Kind::RadioButton, "Panel5", {56, 72, 240, 17}},
    {"LicenceRe", 1012, detail::Kind::RichText, nullptr, {178, 65, 305, 150}, false, {}, "Label6"},
    {"YesBtn", 1013, detail::Kind::Button, nullptr, {384, 273, 100, 23}, false},
    {"NoBtn", 1014, detail::Kind::Button, nullptr, {280, 273, 99, 23}, false},
    {"PathEdit", 1015, detail::Kind::Edit, nullptr, {178, 65, 305, 21}, false, {}, "Label6"},
    {"DirectoryLbx",
     1016,
     detail::Kind::ListBox,
     nullptr,
     {178, 87, 305, 138},
     false,
     {},
     "Label6"},
    {"DriveCmb", 1017, detail::Kind::ComboList, nullptr, {178, 225, 305, 19}, false, {}, "Label6"},
    {"Label5", 1018, detail::Kind::Label, nullptr, {178, 271, 289, 33}, false},
    {"GroupLbx",
     1019,
     detail::Kind::ListBox,
     nullptr,
     {178, 88, 305, 195},
     false,
     detail::kSorted,
     "Label6"},
    {"Panel3", 1020, detail::Kind::Panel, nullptr, {179, 135, 305, 59}, false},
    {"AddLinkToStartCBx", 1021, detail::Kind::CheckBox, "Panel3", {0, 0, 305, 17}},
    {"AddLinkToDeskTopCBx", 1022, detail::Kind::CheckBox, "Panel3", {0, 21, 305, 17}},
    {"AddLinkToQuickLaunchCBx", 1023, detail::Kind::CheckBox, "Panel3", {0, 42, 305, 17}},
    {"Panel2", 1024, detail::Kind::Panel, nullptr, {178, 82, 305, 192}, false},
    {"Label7", 1025, detail::Kind::Label, "Panel2", {1, 1, 88, 29}, true, detail::kBold},
    {"Label8", 1026, detail::Kind::Label, "Panel2", {89, 1, 216, 29}, true, detail::kBold},
    {"ZKXCBx", 1027, detail::Kind::CheckBox, "Panel2", {1, 34, 56, 15}},
    {"ZKXImg", 1028, detail::Kind::Picture, "Panel2", {89, 34, 16, 16}},
    {"Label16", 1029, detail::Kind::Label, "Panel2", {113, 34, 184, 16}},
    {"ZKCCBx", 1030, detail::Kind::CheckBox, "Panel2", {1, 54, 56, 15}},
    {"ZKCImg", 1031, detail::Kind::Picture, "Panel2", {89, 54, 16, 16}},
    {"Label9", 1032, detail::Kind::Label, "Panel2", {113, 54, 184, 16}},
    {"ZKLCBx", 1033, detail::Kind::CheckBox, "Panel2", {1, 74, 56, 15}},
    {"ZKLImg", 1034, detail::Kind::Picture, "Panel2", {89, 74, 16, 16}},
    {"Label18", 1035, detail::Kind::Label, "Panel2", {113, 74, 184, 16}},
    {"BZKCBx", 1036, detail::Kind::CheckBox, "Panel2", {1, 94, 56, 15}},
    {"BZKImg", 1037, detail::Kind::Picture, "Panel2", {89, 94, 16, 16}},
    {"Label17", 1038, detail::Kind::Label, "Panel2", {113, 94, 184, 16}},
    {"ZKSCBx", 1039, detail::Kind::CheckBox, "Panel2", {1, 114, 56, 15}},
    {"ZKSImg", 1040, detail::Kind::Picture, "Panel2", {89, 114, 16, 16}},
    {"Label20", 1041, detail::Kind::Label, "Panel2", {113, 114, 184, 16}},
    {"MIXCBx", 1042, detail::Kind::CheckBox, "Panel2", {1, 134, 56, 15}},
    {"MIXImg", 1043, detail::Kind::Picture, "Panel2", {89, 134, 16, 16}},
    {"Label19", 1044, detail::Kind::Label, "Panel2", {113, 134, 184, 16}},
    {"ZKACBx", 1045, detail::Kind::CheckBox, "Panel2", {1, 154, 56, 15}},
    {"ZKAImg", 1046, detail::Kind::Picture, "Panel2", {89, 154, 16, 16}},
    {"Label21", 1047, detail::Kind::Label, "Panel2", {113, 154, 184, 36}},
    {"AllBtn", 1048, detail::Kind::Button, nullptr, {311, 273, 84, 23}, false},
    {"NoneBtn", 1049, detail::Kind::Button, nullptr, {399, 273, 84, 23}, false},
    {"Panel4", 1050, detail::Kind::Panel, nullptr, {179, 135, 305, 59}, false},
    {"RunProgCBx", 1051, detail::Kind::CheckBox, "Panel4", {0, 0, 305, 17}},
    {"RunProgGroupCBx", 1052, detail::Kind::CheckBox, "Panel4", {0, 21, 305, 17}},
    {"CancelBtn", 1053, detail::Kind::Button, nullptr, {175, detail::kBarTop, 84, 23}},
    {"BackBtn", 1054, detail::Kind::Button, nullptr, {312, detail::kBarTop, 84, 23}},
    {"NextBtn", 1055, detail::Kind::Button, nullptr, {399, detail::kBarTop, 84, 23}},
};

}  // namespace wizard
