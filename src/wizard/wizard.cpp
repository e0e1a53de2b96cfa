#include "wizard/wizard.h"

#include <iterator>
#include <utility>

#include "install/branding.h"
#include "install/product_libraries.h"
#include "language/format.h"
#include "language/message_dialogs.h"
#include "ui/exit_codes.h"
#include "wizard/file_type_icons.h"

namespace wizard {
namespace {

using language::keys::cPrDrvPathError;
using language::keys::cRealyAbort;
using language::keys::cRPCError;
using ui::DialogButton;
using ui::DialogKind;

constexpr ui::ControlName kInitiallyChecked[] = {
    kStartMenuBox,  kDesktopBox,   kQuickLaunchBox, kFaxBox, kCoverPageBox,
    kLogBookBox,    kPhoneBookBox, kScheduleBox,    kMixBox, kScriptBox,
    kRunProgramBox, kOpenGroupBox, kClientRadio};

// The file-type boxes are captioned with their extensions.
constexpr std::pair<ui::ControlName, const char*> kExtensionCaptions[] = {
    {kFaxBox, "ZKX"},      {kCoverPageBox, "ZKC"}, {kLogBookBox, "ZLG"}, {kPhoneBookBox, "BZK"},
    {kScheduleBox, "ZKS"}, {kMixBox, "MIX"},       {kScriptBox, "ZKA"}};

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
    for (const ui::ControlName name : kInitiallyChecked)
        form_[name].SetChecked(true);
    for (const auto& [name, caption] : kExtensionCaptions)
        form_[name].SetText(caption);
    form_[kBackButton].SetEnabled(false);
    for (const auto& icon : FileTypeIcons())
        form_[icon.control].SetPicture(icon.picture);
    form_.SetDefaultButton(form_[kNextButton]);
    form_.SetCancelButton(form_[kCancelButton]);

    // While the run is in progress the hidden wizard takes no input: a click queued before it
    // was hidden (a double click on the summary page's Next) would start a second run, and a
    // close request is refused like the progress window's own.
    const auto unless_running = [this](void (Wizard::*action)()) {
        return [this, action] {
            if (!running_)
                (this->*action)();
        };
    };
    form_[kNextButton].on_click = unless_running(&Wizard::Next);
    form_[kBackButton].on_click = unless_running(&Wizard::Back);
    form_[kCancelButton].on_click = unless_running(&Wizard::Cancel);
    form_[kAcceptButton].on_click = [this] { form_[kNextButton].SetEnabled(true); };
    form_[kDeclineButton].on_click = [this] {
        form_[kNextButton].SetEnabled(false);
        Cancel();
    };
    form_[kLanguageList].on_change = [this] { OnLanguageChange(LoadSetupIni()); };
    form_[kPathField].on_change = [this] { OnFolderFieldChange(); };
    form_[kFolderList].on_change = [this] { OnFolderListChosen(); };
    form_[kDriveList].on_change = [this] { SelectDrive(form_[kDriveList].ItemIndex()); };
    form_[kGroupList].on_change = [this] { OnGroupChosen(); };
    form_[kAllButton].on_click = [this] { CheckAll(true); };
    form_[kNoneButton].on_click = [this] { CheckAll(false); };
    form_.on_close_request = unless_running(&Wizard::Cancel);
}

void Wizard::Create() {
    page_ = Page::Welcome;
    const platform::Profile setup_ini = LoadSetupIni();
    config_ = ReadSetupConfig(setup_ini, language_.SourceDir());

    const platform::Result<int> code = install::QueryPlatformCode(platform_.libraries);
    if (code)
        config_.platform_code = *code;

    language_.BuildList(config_.language);
    auto& languages = form_[kLanguageList];
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
        form_[kQuickLaunchBox].SetChecked(false);
        form_[kQuickLaunchBox].SetVisible(false);
    }
    form_[kGroupList].SetItems(ListProgramGroups(platform_.files, folders_.programs_dir));
    if (picture)
        form_[kSidePicture].SetPicture(std::move(picture));

    ListDrives();
    PointFolderList(platform_.files.DirectoryExists(folders_.program_files_dir)
                        ? folders_.program_files_dir
                        : "C:\\");
    auto& drives = form_[kDriveList];
    for (int i = static_cast<int>(drives.Items().size()) - 1; i >= 0; --i) {
        if (drives.Items()[i] == "a:" || drives.Items()[i] == "b:")
            drives.RemoveItem(i);
    }
    if (!config_.voice_version) {
        // The rows of voice-message packages and remote-control scripts.
        form_.SetControlsVisible(
            {kMixBox, kMixIcon, kMixText, kScriptBox, kScriptIcon, kScriptText}, false);
    }
    form_.SetFocus(form_[kNextButton]);
}

ProductInfo Wizard::Product() const {
    return {config_.product_name, config_.version_number, config_.platform_code};
}

platform::Profile Wizard::LoadSetupIni() const {
    return platform::LoadProfile(platform_.files, platform_.codec,
                                 language_.SourceDir() + "\\" + kSetupIni);
}

void Wizard::OnLanguageChange(const platform::Profile& setup_ini) {
    LanguageDocuments documents{config_.license_file, config_.instructions_file};
    ApplyLanguage(form_, language_, application_, Product(), setup_ini, documents);
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

const Wizard::PageRow Wizard::kPages[] = {
    {.name = "welcome", .show = &Wizard::ShowWelcomePage},
    {.name = "installation type", .show = &Wizard::ShowTypePage, .skipped = &Wizard::SingleType},
    {.name = "licence", .show = &Wizard::ShowLicencePage},
    {.name = "destination",
     .show = &Wizard::ShowDestinationPage,
     .next_check = &Wizard::TakeDestination},
    {.name = "shortcuts", .show = &Wizard::ShowShortcutsPage},
    // The folder checks guard the way on also when the group page is left out, so that the
    // version and space guards cannot be bypassed by clearing the Start-menu box.
    {.name = "program group",
     .show = &Wizard::ShowGroupPage,
     .skipped = &Wizard::NoProgramGroup,
     .next_check = &Wizard::GroupAccepted,
     .arrival_check = &Wizard::DestinationChecksPass},
    {.name = "file types", .show = &Wizard::ShowFileTypesPage},
    {.name = "summary", .show = &Wizard::ShowSummaryPage},
    {.name = "installation", .show = &Wizard::RunInstallation},
    {.name = "finish", .show = &Wizard::FinishActions},
};

namespace {

// The table's rows are the pages in their order.
constexpr int kPageCount = static_cast<int>(Page::Finish) + 1;

int IndexOf(Page page) {
    return static_cast<int>(page);
}

}  // namespace

void Wizard::Next() {
    const PageRow& row = kPages[IndexOf(page_)];
    if (row.next_check == nullptr || (this->*row.next_check)())
        Go(+1);
}

void Wizard::Back() {
    Go(-1);
}

void Wizard::Go(int direction) {
    static_assert(std::size(kPages) == kPageCount);
    for (int index = IndexOf(page_) + direction; index >= 0 && index < kPageCount;
         index += direction) {
        const PageRow& row = kPages[index];
        const bool skipped = row.skipped != nullptr && (this->*row.skipped)();
        if ((direction > 0 || !skipped) && row.arrival_check != nullptr &&
            !(this->*row.arrival_check)()) {
            return;
        }
        if (!skipped) {
            page_ = static_cast<Page>(index);
            ShowPage();
            return;
        }
    }
}

void Wizard::Cancel() {
    if (Ask(cRealyAbort, DialogKind::Confirmation, {DialogButton::Yes, DialogButton::No}) ==
        DialogButton::Yes) {
        application_.Terminate(ui::kExitCancelled);
    }
}

void Wizard::ShowPage() {
    const PageRow& row = kPages[IndexOf(page_)];
    platform_.trace.Line("Page " + std::to_string(IndexOf(page_)) + ": " + row.name);
    (this->*row.show)();
}

void Wizard::RunInstallation() {
    if (!run_installation_) {
        ShowFinishPage();
        return;
    }
    running_ = true;
    run_installation_();
    running_ = false;
}

}  // namespace wizard
