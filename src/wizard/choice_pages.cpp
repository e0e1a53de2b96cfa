// Pages 4 to 6: the shortcuts to make, the program group, and the file types to associate.
#include "wizard/wizard.h"

namespace wizard {
namespace {

namespace keys = language::keys;

constexpr const char* kShortcutBoxes[] = {"AddLinkToStartCBx", "AddLinkToDeskTopCBx",
                                          "AddLinkToQuickLaunchCBx"};
constexpr const char* kFileTypeBoxes[] = {"ZKXCBx", "ZKCCBx", "ZKLCBx", "BZKCBx",
                                          "ZKSCBx", "MIXCBx", "ZKACBx"};

}  // namespace

void Wizard::ShowShortcutsPage() {
    // Only the destination page shows the folder list: coming from there takes the folder.
    if (form_["DirectoryLbx"].Visible() && !TakeDestination()) {
        page_ = 3;
        return;
    }
    form_.SetControlsVisible({"Panel3", "AllBtn", "NoneBtn"}, true);
    form_.SetControlsVisible({"Panel2", "PathEdit", "GroupLbx", "DriveCmb", "DirectoryLbx",
                              "Label3", "Label4", "Label5"},
                             false);
    form_["Label1"].SetText(Text(keys::cSelectLinks));
    form_["Label6"].SetText(Text(keys::cSelectRunLinks) + ":");
}

void Wizard::ShowGroupPage() {
    // The folder checks guard the way on also when the group page is skipped, so that the
    // version and space guards cannot be bypassed by clearing the Start-menu box.
    if (!DestinationChecksPass()) {
        page_ = static_cast<std::uint8_t>(shown_page_);
        return;
    }
    if (!form_["AddLinkToStartCBx"].Checked()) {
        page_ = static_cast<std::uint8_t>(page_ + 1);
        ShowPage();
        return;
    }
    form_.SetControlsVisible({"Panel2", "Panel3", "LicenceRe", "DirectoryLbx", "AllBtn", "NoneBtn"},
                             false);
    form_.SetControlsVisible({"PathEdit", "GroupLbx"}, true);
    form_["PathEdit"].SetText(DefaultGroupName(config_));
    form_["Label6"].SetText(Text(keys::cInputGroup) + ":");
    form_["Label1"].SetText(Text(keys::cSelectGroup));
    shown_page_ = page_;
}

void Wizard::ShowFileTypesPage() {
    // The group becomes a folder and a key of the installation log.
    if (shown_page_ == 5 && !NameAccepted(CheckGroup(folders_.programs_dir,
                                                     form_["PathEdit"].Text(), platform_.codec))) {
        page_ = 5;
        return;
    }
    form_["NextBtn"].SetText(Text(keys::cNext));
    form_.SetControlsVisible({"Panel2", "AllBtn", "NoneBtn"}, true);
    form_.SetControlsVisible({"Panel3", "PathEdit", "GroupLbx", "LicenceRe", "Label3", "Label4"},
                             false);
    form_["Label1"].SetText(Text(keys::cSelectTypeFile));
    form_["Label6"].SetText(Text(keys::cSelectExt) + ":");
}

void Wizard::OnGroupChosen() {
    const auto& groups = form_["GroupLbx"];
    if (groups.ItemIndex() < 0)
        return;
    // Without a version number no blank is left at the end: such a group would be refused.
    form_["PathEdit"].SetText(groups.SelectedItem() + "\\" + DefaultGroupName(config_));
}

void Wizard::CheckAll(bool checked) {
    if (page_ == 6) {
        for (const char* name : kFileTypeBoxes)
            form_[name].SetChecked(checked);
    } else if (page_ == 4) {
        for (const char* name : kShortcutBoxes) {
            // A hidden box stands for a shortcut that cannot be made.
            if (form_[name].Visible())
                form_[name].SetChecked(checked);
        }
    }
}

}  // namespace wizard
