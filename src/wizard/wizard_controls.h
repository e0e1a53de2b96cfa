#pragma once
// The wizard dialog's controls: their names, their stable identifiers and their places.
// Automation (and the end-to-end driver) finds a control by the identifier listed here.
#include "ui/control.h"

namespace wizard {

inline constexpr int kClientWidth = 494;
inline constexpr int kClientHeight = 348;

namespace detail {
using ui::Kind;
inline constexpr ui::Style kTitleStyle{.font_height = 15, .bold = true, .vertical_center = true};
inline constexpr ui::Style kCentred{.vertical_center = true};
// 7 points, a size under the form's 8.
inline constexpr ui::Style kSmall{.font_height = 9};
inline constexpr ui::Style kBold{.bold = true};
inline constexpr ui::Style kSorted{.sorted = true};
inline constexpr ui::Style kNoWrap{.word_wrap = false};
inline constexpr int kBarTop = 314 + (34 - 23) / 2;
}  // namespace detail

// The controls' names, in the order of the table below. The texts are the names automation and
// the language files know the controls by. Code outside the wizard takes them in with
// `using namespace wizard::controls`.
inline namespace controls {
inline constexpr ui::ControlName kSidePicture{"Image1"};
inline constexpr ui::ControlName kTitle{"Label1"};
inline constexpr ui::ControlName kPrompt{"Label6"};
inline constexpr ui::ControlName kSettingsHeading{"Label4"};
inline constexpr ui::ControlName kLanguagePrompt{"Label3"};
inline constexpr ui::ControlName kLanguageList{"SelectLangCmb"};
inline constexpr ui::ControlName kBevel{"Bevel"};
inline constexpr ui::ControlName kNote{"Label2"};
inline constexpr ui::ControlName kTypePanel{"Panel5"};
inline constexpr ui::ControlName kClientRadio{"ClientRb"};
inline constexpr ui::ControlName kServerRadio{"ServerRb"};
inline constexpr ui::ControlName kTextViewer{"LicenceRe"};
inline constexpr ui::ControlName kAcceptButton{"YesBtn"};
inline constexpr ui::ControlName kDeclineButton{"NoBtn"};
inline constexpr ui::ControlName kPathField{"PathEdit"};
inline constexpr ui::ControlName kFolderList{"DirectoryLbx"};
inline constexpr ui::ControlName kDriveList{"DriveCmb"};
inline constexpr ui::ControlName kSpaceText{"Label5"};
inline constexpr ui::ControlName kGroupList{"GroupLbx"};
inline constexpr ui::ControlName kShortcutPanel{"Panel3"};
inline constexpr ui::ControlName kStartMenuBox{"AddLinkToStartCBx"};
inline constexpr ui::ControlName kDesktopBox{"AddLinkToDeskTopCBx"};
inline constexpr ui::ControlName kQuickLaunchBox{"AddLinkToQuickLaunchCBx"};
inline constexpr ui::ControlName kFileTypePanel{"Panel2"};
inline constexpr ui::ControlName kExtensionHeading{"Label7"};
inline constexpr ui::ControlName kDescriptionHeading{"Label8"};
inline constexpr ui::ControlName kFaxBox{"ZKXCBx"};
inline constexpr ui::ControlName kFaxIcon{"ZKXImg"};
inline constexpr ui::ControlName kFaxText{"Label16"};
inline constexpr ui::ControlName kCoverPageBox{"ZKCCBx"};
inline constexpr ui::ControlName kCoverPageIcon{"ZKCImg"};
inline constexpr ui::ControlName kCoverPageText{"Label9"};
inline constexpr ui::ControlName kLogBookBox{"ZKLCBx"};
inline constexpr ui::ControlName kLogBookIcon{"ZKLImg"};
inline constexpr ui::ControlName kLogBookText{"Label18"};
inline constexpr ui::ControlName kPhoneBookBox{"BZKCBx"};
inline constexpr ui::ControlName kPhoneBookIcon{"BZKImg"};
inline constexpr ui::ControlName kPhoneBookText{"Label17"};
inline constexpr ui::ControlName kScheduleBox{"ZKSCBx"};
inline constexpr ui::ControlName kScheduleIcon{"ZKSImg"};
inline constexpr ui::ControlName kScheduleText{"Label20"};
inline constexpr ui::ControlName kMixBox{"MIXCBx"};
inline constexpr ui::ControlName kMixIcon{"MIXImg"};
inline constexpr ui::ControlName kMixText{"Label19"};
inline constexpr ui::ControlName kScriptBox{"ZKACBx"};
inline constexpr ui::ControlName kScriptIcon{"ZKAImg"};
inline constexpr ui::ControlName kScriptText{"Label21"};
inline constexpr ui::ControlName kAllButton{"AllBtn"};
inline constexpr ui::ControlName kNoneButton{"NoneBtn"};
inline constexpr ui::ControlName kFinishPanel{"Panel4"};
inline constexpr ui::ControlName kRunProgramBox{"RunProgCBx"};
inline constexpr ui::ControlName kOpenGroupBox{"RunProgGroupCBx"};
inline constexpr ui::ControlName kCancelButton{"CancelBtn"};
inline constexpr ui::ControlName kBackButton{"BackBtn"};
inline constexpr ui::ControlName kNextButton{"NextBtn"};
}  // namespace controls

// Parents come before their children, labels before the fields they name. Tab follows the
// places, top to bottom and left to right, whatever the order here.
inline constexpr ui::ControlLayout kWizardControls[] = {
    {kSidePicture, 1001, detail::Kind::Picture, nullptr, {0, 0, 164, 314}},
    {kTitle, 1002, detail::Kind::Label, nullptr, {178, 4, 289, 35}, true, detail::kTitleStyle},
    {kPrompt, 1003, detail::Kind::Label, nullptr, {178, 41, 305, 64}},
    {kSettingsHeading,
     1004,
     detail::Kind::Label,
     nullptr,
     {178, 80, 305, 16},
     false,
     detail::kBold},
    {kLanguagePrompt,
     1005,
     detail::Kind::Label,
     nullptr,
     {178, 106, 289, 81},
     true,
     detail::kCentred},
    {kLanguageList,
     1006,
     detail::Kind::ComboList,
     nullptr,
     {306, 137, 145, 21},
     true,
     detail::kSorted,
     kLanguagePrompt},
    {kBevel, 1007, detail::Kind::Bevel, nullptr, {176, 230, 309, 2}},
    {kNote, 1008, detail::Kind::Label, nullptr, {178, 234, 305, 65}, true, detail::kSmall},
    {kTypePanel, 1009, detail::Kind::Panel, nullptr, {179, 81, 305, 122}, false},
    {kClientRadio, 1010, detail::Kind::RadioButton, kTypePanel, {56, 48, 240, 17}},
    {kServerRadio, 1011, detail::Kind::RadioButton, kTypePanel, {56, 72, 240, 17}},
    {kTextViewer, 1012, detail::Kind::RichText, nullptr, {178, 65, 305, 150}, false, {}, kPrompt},
    {kAcceptButton, 1013, detail::Kind::Button, nullptr, {384, 273, 100, 23}, false},
    {kDeclineButton, 1014, detail::Kind::Button, nullptr, {280, 273, 99, 23}, false},
    {kPathField, 1015, detail::Kind::Edit, nullptr, {178, 65, 305, 21}, false, {}, kPrompt},
    {kFolderList, 1016, detail::Kind::ListBox, nullptr, {178, 87, 305, 138}, false, {}, kPrompt},
    {kDriveList, 1017, detail::Kind::ComboList, nullptr, {178, 225, 305, 19}, false, {}, kPrompt},
    {kSpaceText, 1018, detail::Kind::Label, nullptr, {178, 271, 289, 33}, false},
    {kGroupList,
     1019,
     detail::Kind::ListBox,
     nullptr,
     {178, 88, 305, 195},
     false,
     detail::kSorted,
     kPrompt},
    {kShortcutPanel, 1020, detail::Kind::Panel, nullptr, {179, 135, 305, 59}, false},
    {kStartMenuBox, 1021, detail::Kind::CheckBox, kShortcutPanel, {0, 0, 305, 17}},
    {kDesktopBox, 1022, detail::Kind::CheckBox, kShortcutPanel, {0, 21, 305, 17}},
    {kQuickLaunchBox, 1023, detail::Kind::CheckBox, kShortcutPanel, {0, 42, 305, 17}},
    {kFileTypePanel, 1024, detail::Kind::Panel, nullptr, {178, 82, 305, 192}, false},
    {kExtensionHeading,
     1025,
     detail::Kind::Label,
     kFileTypePanel,
     {1, 1, 88, 29},
     true,
     detail::kBold},
    {kDescriptionHeading,
     1026,
     detail::Kind::Label,
     kFileTypePanel,
     {89, 1, 216, 29},
     true,
     detail::kBold},
    {kFaxBox, 1027, detail::Kind::CheckBox, kFileTypePanel, {1, 34, 56, 15}},
    {kFaxIcon, 1028, detail::Kind::Picture, kFileTypePanel, {89, 34, 16, 16}},
    {kFaxText, 1029, detail::Kind::Label, kFileTypePanel, {113, 34, 184, 16}},
    {kCoverPageBox, 1030, detail::Kind::CheckBox, kFileTypePanel, {1, 54, 56, 15}},
    {kCoverPageIcon, 1031, detail::Kind::Picture, kFileTypePanel, {89, 54, 16, 16}},
    {kCoverPageText, 1032, detail::Kind::Label, kFileTypePanel, {113, 54, 184, 16}},
    {kLogBookBox, 1033, detail::Kind::CheckBox, kFileTypePanel, {1, 74, 56, 15}},
    {kLogBookIcon, 1034, detail::Kind::Picture, kFileTypePanel, {89, 74, 16, 16}},
    {kLogBookText, 1035, detail::Kind::Label, kFileTypePanel, {113, 74, 184, 16}},
    {kPhoneBookBox, 1036, detail::Kind::CheckBox, kFileTypePanel, {1, 94, 56, 15}},
    {kPhoneBookIcon, 1037, detail::Kind::Picture, kFileTypePanel, {89, 94, 16, 16}},
    {kPhoneBookText, 1038, detail::Kind::Label, kFileTypePanel, {113, 94, 184, 16}},
    {kScheduleBox, 1039, detail::Kind::CheckBox, kFileTypePanel, {1, 114, 56, 15}},
    {kScheduleIcon, 1040, detail::Kind::Picture, kFileTypePanel, {89, 114, 16, 16}},
    {kScheduleText, 1041, detail::Kind::Label, kFileTypePanel, {113, 114, 184, 16}},
    {kMixBox, 1042, detail::Kind::CheckBox, kFileTypePanel, {1, 134, 56, 15}},
    {kMixIcon, 1043, detail::Kind::Picture, kFileTypePanel, {89, 134, 16, 16}},
    {kMixText, 1044, detail::Kind::Label, kFileTypePanel, {113, 134, 184, 16}},
    {kScriptBox, 1045, detail::Kind::CheckBox, kFileTypePanel, {1, 154, 56, 15}},
    {kScriptIcon, 1046, detail::Kind::Picture, kFileTypePanel, {89, 154, 16, 16}},
    {kScriptText, 1047, detail::Kind::Label, kFileTypePanel, {113, 154, 184, 36}},
    {kAllButton, 1048, detail::Kind::Button, nullptr, {311, 273, 84, 23}, false},
    {kNoneButton, 1049, detail::Kind::Button, nullptr, {399, 273, 84, 23}, false},
    {kFinishPanel, 1050, detail::Kind::Panel, nullptr, {179, 135, 305, 59}, false},
    {kRunProgramBox, 1051, detail::Kind::CheckBox, kFinishPanel, {0, 0, 305, 17}},
    {kOpenGroupBox, 1052, detail::Kind::CheckBox, kFinishPanel, {0, 21, 305, 17}},
    {kCancelButton, 1053, detail::Kind::Button, nullptr, {175, detail::kBarTop, 84, 23}},
    {kBackButton, 1054, detail::Kind::Button, nullptr, {312, detail::kBarTop, 84, 23}},
    {kNextButton, 1055, detail::Kind::Button, nullptr, {399, detail::kBarTop, 84, 23}},
};

}  // namespace wizard
