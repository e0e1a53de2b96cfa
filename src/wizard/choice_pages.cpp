// The shortcuts to make, the program group, and the file types to associate.
#include "wizard/wizard.h"

namespace wizard {
namespace {

namespace keys = language::keys;

constexpr ui::ControlName kShortcutBoxes[] = {kStartMenuBox, kDesktopBox, kQuickLaunchBox};
constexpr ui::ControlName kFileTypeBoxes[] = {
    kFaxBox, kCoverPageBox, kLogBookBox, kPhoneBookBox, kScheduleBox, kMixBox, kScriptBox};

}  // namespace

void Wizard::ShowShortcutsPage() {
    form_.SetControlsVisible({kShortcutPanel, kAllButton, kNoneButton}, true);
    form_.SetControlsVisible({kFileTypePanel, kPathField, kGroupList, kDriveList, kFolderList,
                              kLanguagePrompt, kSettingsHeading, kSpaceText},
                             false);
    form_[kTitle].SetText(Text(keys::cSelectLinks));
    form_[kPrompt].SetText(Text(keys::cSelectRunLinks) + ":");
}

void Wizard::ShowGroupPage() {
    form_.SetControlsVisible(
        {kFileTypePanel, kShortcutPanel, kTextViewer, kFolderList, kAllButton, kNoneButton}, false);
    form_.SetControlsVisible({kPathField, kGroupList}, true);
    form_[kPathField].SetText(DefaultGroupName(config_));
    form_[kPrompt].SetText(Text(keys::cInputGroup) + ":");
    form_[kTitle].SetText(Text(keys::cSelectGroup));
}

bool Wizard::GroupAccepted() {
    // The group becomes a folder and a key of the installation log.
    return NameAccepted(
        CheckGroup(folders_.programs_dir, form_[kPathField].Text(), platform_.codec));
}

void Wizard::ShowFileTypesPage() {
    form_[kNextButton].SetText(Text(keys::cNext));
    form_.SetControlsVisible({kFileTypePanel, kAllButton, kNoneButton}, true);
    form_.SetControlsVisible(
        {kShortcutPanel, kPathField, kGroupList, kTextViewer, kLanguagePrompt, kSettingsHeading},
        false);
    form_[kTitle].SetText(Text(keys::cSelectTypeFile));
    form_[kPrompt].SetText(Text(keys::cSelectExt) + ":");
}

void Wizard::OnGroupChosen() {
    const auto& groups = form_[kGroupList];
    if (groups.ItemIndex() < 0)
        return;
    // Without a version number no blank is left at the end: such a group would be refused.
    form_[kPathField].SetText(groups.SelectedItem() + "\\" + DefaultGroupName(config_));
}

void Wizard::CheckAll(bool checked) {
    if (page_ == Page::FileTypes) {
        for (const ui::ControlName name : kFileTypeBoxes)
            form_[name].SetChecked(checked);
    } else if (page_ == Page::Shortcuts) {
        for (const ui::ControlName name : kShortcutBoxes) {
            // A hidden box stands for a shortcut that cannot be made.
            if (form_[name].Visible())
                form_[name].SetChecked(checked);
        }
    }
}

}  // namespace wizard
