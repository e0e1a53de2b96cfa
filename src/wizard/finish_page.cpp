// The finish page and its actions: open the new program group, start the product, end.
#include "language/format.h"
#include "ui/exit_codes.h"
#include "wizard/wizard.h"

namespace wizard {

namespace keys = language::keys;

void Wizard::ShowFinishPage() {
    auto& open_group = form_[kOpenGroupBox];
    const bool group_made = form_[kStartMenuBox].Checked();
    open_group.SetVisible(group_made);
    open_group.SetChecked(group_made);
    form_[kRunProgramBox].SetVisible(true);
    form_[kFinishPanel].SetVisible(true);
    form_.SetControlsVisible({kFileTypePanel, kShortcutPanel, kSettingsHeading, kPathField,
                              kGroupList, kTextViewer, kCancelButton},
                             false);
    form_[kBackButton].SetEnabled(false);
    form_[kPrompt].SetText(language::FormatText(
        Text(keys::cInstallOk),
        {config_.product_name + config_.edition_suffix, config_.version_number}));
    form_[kTitle].SetText(Text(keys::cComplete));
    form_[kNextButton].SetText(Text(keys::cReadyCommon));
    form_.SetVisible(true);
    form_.SetFocus(form_[kNextButton]);
}

void Wizard::FinishActions() {
    if (form_[kOpenGroupBox].Checked()) {
        platform::IgnoreFailure(
            platform_.shell.Open(folders_.programs_dir + "\\" + form_[kPathField].Text()),
            "the product is installed; the user can open it himself");
    }
    application_.ProcessMessages();
    if (form_[kRunProgramBox].Checked())
        platform::IgnoreFailure(platform_.shell.Open(destination_ + "\\zinkolar.exe"),
                                "the product is installed; the user can open it himself");
    application_.ProcessMessages();
    application_.Terminate(ui::kExitSuccess);
}

}  // namespace wizard
