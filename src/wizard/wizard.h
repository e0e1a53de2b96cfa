#pragma once
// The wizard dialog: its creation handler, the page machine with its pages, and the finish page.
// The user's choices live in its controls; the installation run reads them from there.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "install/installation_plan.h"
#include "language/language.h"
#include "platform/platform.h"
#include "ui/form.h"
#include "ui/message_dialog.h"
#include "wizard/apply_language.h"
#include "wizard/path_rules.h"
#include "wizard/setup_config.h"
#include "wizard/system_folders.h"
#include "wizard/wizard_controls.h"

namespace wizard {

// The wizard's pages, in the order Next takes them.
enum class Page : std::uint8_t {
    Welcome,  // and the language
    Type,     // client or server
    Licence,
    Destination,
    Shortcuts,
    Group,  // the program group in the Start menu
    FileTypes,
    Summary,
    Installation,  // the run, which ends on the finish page
    Finish,        // the finish page's choices carried out, and the end
};

class Wizard {
  public:
    Wizard(platform::Platform& platform, ui::Application& application, ui::MessageDialogs& dialogs);
    Wizard(const Wizard&) = delete;
    Wizard& operator=(const Wizard&) = delete;

    ui::Form& GetForm() { return form_; }
    // The creation handler: configuration, platform code, language, system folders. A broken
    // distribution ends the program here with one message.
    void Create();

    Page CurrentPage() const { return page_; }
    const SetupConfig& Config() const { return config_; }
    const SystemFolders& Folders() const { return folders_; }
    const std::string& Destination() const { return destination_; }
    const language::Language& GetLanguage() const { return language_; }

    // The user's choices with the configuration and the system folders, for the run.
    install::InstallationPlan Plan() const;
    // Entering the installation page calls this once; it ends by showing the finish page.
    void SetRunInstallation(std::function<void()> run) { run_installation_ = std::move(run); }
    void ShowFinishPage();

  private:
    // A row of the page table, one a page in the order of Page: how the page is shown, when the
    // way past it leaves it out, what Next checks before it leaves the page and what is checked
    // when the way comes to it. A check that fails has said why; the page on screen stays.
    struct PageRow {
        const char* name;  // in the trace
        void (Wizard::*show)();
        bool (Wizard::*skipped)() const = nullptr;
        bool (Wizard::*next_check)() = nullptr;
        // Going on, also when the page is left out; going back, only when it is shown.
        bool (Wizard::*arrival_check)() = nullptr;
    };
    static const PageRow kPages[];

    // Navigation: Next and Back follow the page table.
    void Next();
    void Back();
    // To the next page in that direction (+1 or -1) that is not left out, if there is one.
    void Go(int direction);
    void Cancel();
    void ShowPage();
    // The creation handler's two halves. The system's folders, the proposed destination and the
    // branding (its picture returned for the form); a stopped spooler ends the program here.
    std::optional<platform::Bitmap> DiscoverSystem();
    // The pages' controls from what was found.
    void FillForm(std::optional<platform::Bitmap> picture);
    // setup.ini as it is now: a change of language reads the language's files from it again.
    platform::Profile LoadSetupIni() const;
    void OnLanguageChange(const platform::Profile& setup_ini);

    // Pages.
    void ShowWelcomePage();
    void ShowTypePage();
    void ShowLicencePage();
    void ShowDestinationPage();
    void ShowShortcutsPage();
    void ShowGroupPage();
    void ShowFileTypesPage();
    void ShowSummaryPage();
    void RunInstallation();
    void FinishActions();
    // The pages left out: the type page of a single-type distribution, the group page when no
    // Start-menu shortcuts are made.
    bool SingleType() const { return !config_.client_server; }
    bool NoProgramGroup() const { return !form_[kStartMenuBox].Checked(); }

    // The destination page's drive list, folder list and folder field.
    void ListDrives();
    void PointFolderList(const std::string& folder);
    void SelectDrive(int index);
    void OnFolderFieldChange();
    void OnFolderListChosen();
    void OnFolderListChange();
    void OnDriveChange();
    std::int64_t SelectedDriveFreeSpace() const;
    bool TakeDestination();
    // What the installation script makes below the destination folder.
    PathsBelow PathsBelowDestination() const;
    // A drive of the system, or a share that answers.
    bool RootExists(const std::string& root) const;
    // True for an accepted name; else says what is wrong with it.
    bool NameAccepted(NameVerdict verdict);
    bool DestinationChecksPass();

    // The shortcut, group and file-type pages.
    bool GroupAccepted();
    void OnGroupChosen();
    void CheckAll(bool checked);

    // Messages in the current language.
    std::string Text(const language::TextKey& key) const { return language_.Lookup(key); }
    ui::DialogButton Ask(const language::TextKey& key, ui::DialogKind kind,
                         std::vector<ui::DialogButton> buttons);
    // A broken distribution: the load error naming what is missing, and the end.
    void Fail(const std::string& missing);
    ProductInfo Product() const;

    platform::Platform& platform_;
    ui::Application& application_;
    ui::MessageDialogs& dialogs_;
    ui::Form form_;
    SetupConfig config_;
    SystemFolders folders_;
    language::Language language_;
    Page page_ = Page::Welcome;
    std::string destination_;
    std::string folder_list_dir_;  // the folder the folder list shows
    std::function<void()> run_installation_;
    bool running_ = false;  // the run is in progress: the page machine takes no input
};

}  // namespace wizard
