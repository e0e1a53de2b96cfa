#include "wizard/wizard.h"

#include <iterator>
#include <utility>

#include "install/branding.h"
#include "install/product_libraries.h"
#include "language/format.h"
#include "language/message_dialogs.h"
#include "ui/exit_codes.h"
#include "wizard/file_type_icons.h"
#include "wizard/wizard_controls.h"

namespace wizard {
namespace {

using language::keys::cPrDrvPathError;
using language::keys::cRealyAbort;
using language::keys::cRPCError;
using ui::DialogButton;
using ui::DialogKind;

constexpr const char* kInitiallyChecked[] = {"AddLinkToStartCBx",
                                             "AddLinkToDeskTopCBx",
                                             "AddLinkToQuickLaunchCBx",
                                             "ZKXCBx",
                                             "ZKCCBx",
                                             "ZKLCBx",
                                             "BZKCBx",
                                             "ZKSCBx",
                                             "MIXCBx",
                                             "ZKACBx",
                                             "RunProgCBx",
                                             "RunProgGroupCBx",
                                             "ClientRb"};

// The file-type boxes are captioned with their extensions.
constexpr std::pair<const char*, const char*> kExtensionCaptions[] = {
    {"ZKXCBx", "ZKX"}, {"ZKCCBx", "ZKC"}, {"ZKLCBx", "ZLG"}, {"BZKCBx", "BZK"},
    {"ZKSCBx", "ZKS"}, {"MIXCBx", "MIX"}, {"ZKACBx", "ZKA"}};

}  // namespace

Wizard::Wizard(platform::Platform& platform, ui::Application& application,
               ui::MessageDialogs& dialogs)
    : platform_(platform),
      application_(application),
      dialogs_(dialogs),
      form_({.class_name = "TWizardDlg",
             .client_width = kClientWidth,
             .client_height = kClientHeight,
             .color = 0xFFFFFF,
             .dialog_frame = true,
             .topmost = true}),
      language_(platform.files, platform.codec, FolderOf(platform.system.ProgramPath())) {
    form_.AddAll(kWizardControls);
    for (const char* name : kInitiallyChecked)
        form_[name].SetChecked(true);
    for (const auto& [name, caption] : kExtensionCaptions)
        form_[name].SetText(caption);
    form_["BackBtn"].SetEnabled(false);
    for (const auto& icon : FileTypeIcons())
        form_[icon.control].SetPicture(icon.picture);
    form_.SetDefaultButton(form_["NextBtn"]);
    form_.SetCancelButton(form_["CancelBtn"]);

    // While the run is in progress the hidden wizard takes no input: a click queued before it
    // was hidden (a double click on the summary page's Next) would start a second run, and a
    // close request is refused like the progress window's own.
    const auto unless_running = [this](void (Wizard::*action)()) {
        return [this, action] {
            if (!running_)
                (this->*action)();
        };
    };
    form_["NextBtn"].on_click = unless_running(&Wizard::Next);
    form_["BackBtn"].on_click = unless_running(&Wizard::Back);
    form_["CancelBtn"].on_click = unless_running(&Wizard::Cancel);
    form_["YesBtn"].on_click = [this] { form_["NextBtn"].SetEnabled(true); };
    form_["NoBtn"].on_click = [this] {
        form_["NextBtn"].SetEnabled(false);
        Cancel();
    };
    form_["SelectLangCmb"].on_change = [this] { OnLanguageChange(LoadSetupIni()); };
    form_["PathEdit"].on_change = [this] { OnFolderFieldChange(); };
    form_["DirectoryLbx"].on_change = [this] { OnFolderListChosen(); };
    form_["DriveCmb"].on_change = [this] { SelectDrive(form_["DriveCmb"].ItemIndex()); };
    form_["GroupLbx"].on_change = [this] { OnGroupChosen(); };
    form_["AllBtn"].on_click = [this] { CheckAll(true); };
    form_["NoneBtn"].on_click = [this] { CheckAll(false); };
    form_.on_close_request = unless_running(&Wizard::Cancel);
}

void Wizard::Create() {
    page_ = 0;
    const platform::Profile setup_ini = LoadSetupIni();
    config_ = ReadSetupConfig(setup_ini, language_.SourceDir());

    const platform::Result<int> code = install::QueryPlatformCode(platform_.libraries);
    if (code)
        config_.platform_code = *code;

    language_.BuildList(config_.language);
    auto& languages = form_["SelectLangCmb"];
    languages.SetItems(language_.List());
    languages.SetItemIndex(language_.InitialIndex(config_.language));
    OnLanguageChange(setup_ini);

    if (!code) {
        Fail(code.error().text);
        return;
    }
    if (config_.product_name.empty()) {
        Fail(kSetupIni);
        return;
    }
    FillForm(DiscoverSystem());
}

std::optional<platform::Bitmap> Wizard::DiscoverSystem() {
    folders_.program_files_dir = ReadProgramFilesDir(platform_.registry);
    destination_ = TakeAppPathsDestination(platform_.registry, config_.product_name);
    FindShellFolders(platform_, config_.platform_code, folders_);

    switch (FindPrinterDriverDir(platform_.system, folders_.printer_driver_dir)) {
        case DriverFolderOutcome::Found:
            break;
        case DriverFolderOutcome::SpoolerStopped:
            Ask(cRPCError, DialogKind::Error, {DialogButton::Ok});
            application_.Halt(ui::kExitFailed);
            break;
        case DriverFolderOutcome::Unknown:
            Ask(cPrDrvPathError, DialogKind::Error, {DialogButton::Ok});
            break;
    }

    std::optional<platform::Bitmap> picture;
    if (const auto loaded = platform_.libraries.Load(install::kBrandingLibrary)) {
        const auto& branding = *loaded;
        picture = branding->Picture("WIZARD");
        config_.short_product_name =
            branding->String(install::kShortNameString).value_or("Zinkolar");
        config_.client_server = install::IsClientServer(branding->String(install::kKindString));
    }

    if (destination_.empty())
        destination_ = folders_.program_files_dir + config_.install_path;
    folders_.old_install_path = platform_.system.ReadWinIni("Kelmo", "Path");
    folders_.old_version = platform_.system.ReadWinIni("Kelmo", "Version");
    folders_.system_dir = platform_.system.SystemDirectory();
    if (folders_.printer_driver_dir.empty()) {
        folders_.printer_driver_dir =
            FallbackPrinterDriverDir(folders_.system_dir, config_.platform_code);
    }
    return picture;
}

void Wizard::FillForm(std::optional<platform::Bitmap> picture) {
    if (!platform_.files.DirectoryExists(folders_.quick_launch_dir)) {
        form_["AddLinkToQuickLaunchCBx"].SetChecked(false);
        form_["AddLinkToQuickLaunchCBx"].SetVisible(false);
    }
    form_["GroupLbx"].SetItems(ListProgramGroups(platform_.files, folders_.programs_dir));
    if (picture)
        form_["Image1"].SetPicture(std::move(picture));

    ListDrives();
    PointFolderList(platform_.files.DirectoryExists(folders_.program_files_dir)
                        ? folders_.program_files_dir
                        : "C:\\");
    auto& drives = form_["DriveCmb"];
    for (int i = static_cast<int>(drives.Items().size()) - 1; i >= 0; --i) {
        if (drives.Items()[i] == "a:" || drives.Items()[i] == "b:")
            drives.RemoveItem(i);
    }
    if (!config_.voice_version) {
        // The rows of voice-message packages and remote-control scripts.
        form_.SetControlsVisible({"MIXCBx", "MIXImg", "Label19", "ZKACBx", "ZKAImg", "Label21"},
                                 false);
    }
    form_.SetFocus(form_["NextBtn"]);
}

language::ProductInfo Wizard::Product() const {
    return {config_.product_name, config_.version_number, config_.platform_code};
}

platform::Profile Wizard::LoadSetupIni() const {
    return platform::LoadProfile(platform_.files, platform_.codec,
                                 language_.SourceDir() + "\\" + kSetupIni);
}

void Wizard::OnLanguageChange(const platform::Profile& setup_ini) {
    language::LanguageDocuments documents{config_.license_file, config_.instructions_file};
    language::ApplyLanguage(form_, language_, application_, Product(), setup_ini, documents);
    config_.license_file = documents.license_file;
    config_.instructions_file = documents.instructions_file;
}

ui::DialogButton Wizard::Ask(const language::TextKey& key, ui::DialogKind kind,
                             std::vector<ui::DialogButton> buttons) {
    return language::ShowMessageDialog(dialogs_, language_, key.key, Text(key), kind,
                                       std::move(buttons));
}

void Wizard::Fail(const std::string& missing) {
    language::ShowErrorBox(dialogs_, language_,
                           language::FormatText(Text(language::keys::msgLoadError), {missing}),
                           language::keys::msgLoadError.key);
    application_.SetShowMainWindow(false);
    application_.Terminate(ui::kExitFailed);
}

void Wizard::Next() {
    const int old = page_;
    page_ = static_cast<std::uint8_t>(page_ + 1);
    if (!config_.client_server && old == 0)
        page_ = 2;
    ShowPage();
}

void Wizard::Back() {
    page_ = static_cast<std::uint8_t>(page_ - 1);
    if (!form_["AddLinkToStartCBx"].Checked() && page_ == 5)
        page_ = 4;
    if (!config_.client_server && page_ == 1)
        page_ = 0;
    ShowPage();
}

void Wizard::Cancel() {
    if (Ask(cRealyAbort, DialogKind::Confirmation, {DialogButton::Yes, DialogButton::No}) ==
        DialogButton::Yes) {
        application_.Terminate(ui::kExitCancelled);
    }
}

void Wizard::ShowPage() {
    constexpr const char* kPageNames[] = {
        "welcome",       "installation type", "licence", "destination",  "shortcuts",
        "program group", "file types",        "summary", "installation", "finish"};
    platform_.trace.Line("Page " + std::to_string(page_) + ": " +
                         (page_ < std::size(kPageNames) ? kPageNames[page_] : "none"));
    switch (page_) {
        case 0:
            ShowWelcomePage();
            break;
        case 1:
            ShowTypePage();
            break;
        case 2:
            ShowLicencePage();
            break;
        case 3:
            ShowDestinationPage();
            break;
        case 4:
            ShowShortcutsPage();
            break;
        case 5:
            ShowGroupPage();
            return;  // decides itself which page ends up shown
        case 6:
            ShowFileTypesPage();
            break;
        case 7:
            ShowSummaryPage();
            break;
        case 8:
            if (run_installation_) {
                running_ = true;
                run_installation_();
                running_ = false;
            } else {
                ShowFinishPage();
            }
            break;
        case 9:
            FinishActions();
            break;
        default:
            break;
    }
    shown_page_ = page_;
}

}  // namespace wizard
