// The pages of welcome and language, installation type, licence and summary. Each page sets
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
    form_[kTitle].SetText(FormatText(Text(keys::cWelcome), product));
    form_[kNote].SetText(Text(keys::cWarning1) + " " + Text(keys::cWarning2));
    form_[kNote].SetVisible(true);
    form_[kNote].SetTop(234);
    form_[kLanguagePrompt].SetText(Text(keys::cSelectLang));
    form_[kLanguagePrompt].SetVisible(true);
    form_[kPrompt].SetText(FormatText(Text(keys::cTitle1), product));
    form_[kPrompt].SetVisible(true);
    form_.SetControlsVisible({kNextButton, kCancelButton, kBevel, kLanguageList}, true);
    form_.SetControlsVisible({kAcceptButton, kDeclineButton, kTextViewer, kTypePanel}, false);
    form_[kNextButton].SetEnabled(true);
    form_[kBackButton].SetEnabled(false);
    form_.SetFocus(form_[kNextButton]);
}

void Wizard::ShowTypePage() {
    form_[kTitle].SetText(Text(keys::cInstallType));
    form_[kNote].SetText(Text(keys::cTypeInstall));
    form_[kPrompt].SetText(Text(keys::cSelectInstType));
    form_[kTypePanel].SetVisible(true);
    form_.SetControlsVisible(
        {kLanguagePrompt, kAcceptButton, kDeclineButton, kLanguageList, kTextViewer, kBevel},
        false);
    form_[kBackButton].SetEnabled(true);
    form_[kNextButton].SetEnabled(true);
}

void Wizard::ShowLicencePage() {
    if (config_.client_server) {
        const bool server = form_[kServerRadio].Checked();
        config_.script_file_name = server ? "server.ini" : "client.ini";
        config_.edition_suffix = server ? " Server" : " Client";
        // The client installs no remote-control scripts; the row stays hidden from now on.
        if (!server)
            form_.SetControlsVisible({kScriptBox, kScriptIcon, kScriptText}, false);
    } else {
        config_.script_file_name = kSetupIni;
    }
    form_[kTitle].SetText(Text(keys::cLicense));
    form_[kNote].SetText(Text(keys::cIReadLicense));
    form_[kNote].SetVisible(true);
    form_[kNote].SetTop(228);
    form_[kPrompt].SetText(Text(keys::cReadLicense));
    auto& viewer = form_[kTextViewer];
    viewer.SetBounds({178, 65, 305, 150});
    const std::string licence = config_.source_dir + "\\" + config_.license_file;
    if (platform_.files.FileExists(licence)) {
        if (auto bytes = platform_.files.ReadFile(licence)) {
            // Rich text keeps its own encoding escapes; plain text is in the ANSI code page.
            viewer.SetContent(bytes->rfind("{\\rtf", 0) == 0 ? *bytes
                                                             : platform_.codec.AnsiToUtf8(*bytes));
        }
    }
    form_.SetControlsVisible({kTextViewer, kAcceptButton, kDeclineButton}, true);
    form_.SetControlsVisible({kLanguagePrompt, kSpaceText, kTypePanel, kPathField, kDriveList,
                              kFolderList, kBevel, kLanguageList},
                             false);
    form_[kBackButton].SetEnabled(true);
    form_[kNextButton].SetEnabled(false);
    form_.SetFocus(viewer);
}

void Wizard::ShowSummaryPage() {
    form_.SetControlsVisible(
        {kAllButton, kNoneButton, kFileTypePanel, kPathField, kGroupList, kLanguagePrompt}, false);
    auto& summary = form_[kTextViewer];
    summary.SetContent("");
    summary.SetBounds({summary.Bounds().left, 102, 305, 190});
    summary.AppendLine(Text(keys::cInstallDir) + ":");
    summary.AppendLine("        " + destination_);
    if (form_[kStartMenuBox].Checked()) {
        summary.AppendLine("");
        summary.AppendLine(Text(keys::cStartGroup) + ":");
        summary.AppendLine("        " + form_[kPathField].Text());
    }
    summary.SetVisible(true);
    form_[kNextButton].SetText(Text(keys::cInstall));
    form_[kPrompt].SetText(
        FormatText(Text(keys::cReady),
                   {config_.product_name + config_.edition_suffix, config_.version_number}));
    form_[kTitle].SetText(Text(keys::cAllReady));
    form_[kSettingsHeading].SetText(Text(keys::cCurrentSeting) + ":");
    form_[kSettingsHeading].SetVisible(true);
}

}  // namespace wizard
