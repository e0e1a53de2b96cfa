// The finish page and its actions: open the new program group, start the product, end.
#include "language/format.h"
#include "ui/exit_codes.h"
#include "wizard/wizard.h"

namespace wizard {

namespace keys = language::keys;

void Wizard::ShowFinishPage() {
    auto& open_group = form_["RunProgGroupCBx"];
    const bool group_made = form_["AddLinkToStartCBx"].Checked();
    open_group.SetVisible(group_made);
    open_group.SetChecked(group_made);
    form_["RunProgCBx"].SetVisible(true);
    form_["Panel4"].SetVisible(true);
    form_.SetControlsVisible(
        {"Panel2", "Panel3", "Label4", "PathEdit", "GroupLbx", "LicenceRe", "CancelBtn"}, false);
    form_["BackBtn"].SetEnabled(false);
    form_["Label6"].SetText(language::FormatText(
        Text(keys::cInstallOk),
        {config_.product_name + config_.edition_suffix, config_.version_number}));
    form_["Label1"].SetText(Text(keys::cComplete));
    form_["NextBtn"].SetText(Text(keys::cReadyCommon));
    form_.SetVisible(true);
    form_.SetFocus(form_["NextBtn"]);
}

void Wizard::FinishActions() {
    if (form_["RunProgGroupCBx"].Checked()) {
        platform::IgnoreFailure(
            platform_.shell.Open(folders_.programs_dir + "\\" + form_["PathEdit"].Text()),
            "the product is installed; the user can open it himself");
    }
    application_.ProcessMessages();
    if (form_["RunProgCBx"].Checked())
        platform::IgnoreFailure(platform_.shell.Open(destination_ + "\\zinkolar.exe"),
                                "the product is installed; the user can open it himself");
    application_.ProcessMessages();
    application_.Terminate(ui::kExitSuccess);
}

}  // namespace wizard
