// Pages 0, 1, 2 and 7: welcome and language, installation type, licence, summary. Each page sets
// only its own controls; the rest keep what the page before left.
#include "language/format.h"
#include "wizard/wizard.h"

namespace wizard {
namespace {

using language::FormatText;
namespace keys = language::keys;

}  // namespace

void Wizard::ShowWelcomePage() {
    const std::initializer_list<std::string_view> product = {config_.product_name,
                                                             config_.version_number};
    form_["Label1"].SetText(FormatText(Text(keys::cWelcome), product));
    form_["Label2"].SetText(Text(keys::cWarning1) + " " + Text(keys::cWarning2));
    form_["Label2"].SetVisible(true);
    form_["Label2"].SetTop(234);
    form_["Label3"].SetText(Text(keys::cSelectLang));
    form_["Label3"].SetVisible(true);
    form_["Label6"].SetText(FormatText(Text(keys::cTitle1), product));
    form_["Label6"].SetVisible(true);
    form_.SetControlsVisible({"NextBtn", "CancelBtn", "Bevel", "SelectLangCmb"}, true);
    form_.SetControlsVisible({"YesBtn", "NoBtn", "LicenceRe", "Panel5"}, false);
    form_["NextBtn"].SetEnabled(true);
    form_["BackBtn"].SetEnabled(false);
    form_.SetFocus(form_["NextBtn"]);
}

void Wizard::ShowTypePage() {
    form_["Label1"].SetText(Text(keys::cInstallType));
    form_["Label2"].SetText(Text(keys::cTypeInstall));
    form_["Label6"].SetText(Text(keys::cSelectInstType));
    form_["Panel5"].SetVisible(true);
    form_.SetControlsVisible({"Label3", "YesBtn", "NoBtn", "SelectLangCmb", "LicenceRe", "Bevel"},
                             false);
    form_["BackBtn"].SetEnabled(true);
    form_["NextBtn"].SetEnabled(true);
}

void Wizard::ShowLicencePage() {
    if (config_.client_server) {
        const bool server = form_["ServerRb"].Checked();
        config_.script_file_name = server ? "server.ini" : "client.ini";
        config_.edition_suffix = server ? " Server" : " Client";
        // The client installs no remote-control scripts; the row stays hidden from now on.
        if (!server)
            form_.SetControlsVisible({"ZKACBx", "ZKAImg", "Label21"}, false);
    } else {
        config_.script_file_name = kSetupIni;
    }
    form_["Label1"].SetText(Text(keys::cLicense));
    form_["Label2"].SetText(Text(keys::cIReadLicense));
    form_["Label2"].SetVisible(true);
    form_["Label2"].SetTop(228);
    form_["Label6"].SetText(Text(keys::cReadLicense));
    auto& viewer = form_["LicenceRe"];
    viewer.SetBounds({178, 65, 305, 150});
    const std::string licence = config_.source_dir + "\\" + config_.license_file;
    if (platform_.files.FileExists(licence)) {
        if (auto bytes = platform_.files.ReadFile(licence)) {
            // Rich text keeps its own encoding escapes; plain text is in the ANSI code page.
            viewer.SetContent(bytes->rfind("{\\rtf", 0) == 0 ? *bytes
                                                             : platform_.codec.AnsiToUtf8(*bytes));
        }
    }
    form_.SetControlsVisible({"LicenceRe", "YesBtn", "NoBtn"}, true);
    form_.SetControlsVisible({"Label3", "Label5", "Panel5", "PathEdit", "DriveCmb", "DirectoryLbx",
                              "Bevel", "SelectLangCmb"},
                             false);
    form_["BackBtn"].SetEnabled(true);
    form_["NextBtn"].SetEnabled(false);
    form_.SetFocus(viewer);
}

void Wizard::ShowSummaryPage() {
    form_.SetControlsVisible({"AllBtn", "NoneBtn", "Panel2", "PathEdit", "GroupLbx", "Label3"},
                             false);
    auto& summary = form_["LicenceRe"];
    summary.SetContent("");
    summary.SetBounds({summary.Bounds().left, 102, 305, 190});
    summary.AppendLine(Text(keys::cInstallDir) + ":");
    summary.AppendLine("        " + destination_);
    if (form_["AddLinkToStartCBx"].Checked()) {
        summary.AppendLine("");
        summary.AppendLine(Text(keys::cStartGroup) + ":");
        summary.AppendLine("        " + form_["PathEdit"].Text());
    }
    summary.SetVisible(true);
    form_["NextBtn"].SetText(Text(keys::cInstall));
    form_["Label6"].SetText(
        FormatText(Text(keys::cReady),
                   {config_.product_name + config_.edition_suffix, config_.version_number}));
    form_["Label1"].SetText(Text(keys::cAllReady));
    form_["Label4"].SetText(Text(keys::cCurrentSeting) + ":");
    form_["Label4"].SetVisible(true);
}

}  // namespace wizard
