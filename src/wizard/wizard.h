#pragma once
// The wizard dialog: its creation handler, the page machine with its pages, and the finish page.
// The user's choices live in its controls; the installation run reads them from there.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "install/installation_plan.h"
#include "language/apply_language.h"
#include "language/language.h"
#include "platform/platform.h"
#include "ui/form.h"
#include "ui/message_dialog.h"
#include "wizard/path_rules.h"
#include "wizard/setup_config.h"
#include "wizard/system_folders.h"

namespace wizard {

class Wizard {
  public:
    Wizard(platform::Platform& platform, ui::Application& application, ui::MessageDialogs& dialogs);
    Wizard(const Wizard&) = delete;
    Wizard& operator=(const Wizard&) = delete;

    ui::Form& GetForm() { return form_; }
    // The creation handler: configuration, platform code, language, system folders. A broken
    // distribution ends the program here with one message.
    void Create();

    int Page() const { return page_; }
    const SetupConfig& Config() const { return config_; }
    const SystemFolders& Folders() const { return folders_; }
    const std::string& Destination() const { return destination_; }
    const language::Language& GetLanguage() const { return language_; }

    // The user's choices with the configuration and the system folders, for the run.
    install::InstallationPlan Plan() const;
    // Entering page 8 calls this once; it ends by showing the finish page.
    void SetRunInstallation(std::function<void()> run) { run_installation_ = std::move(run); }
    void ShowFinishPage();

  private:
    // Navigation.
    void Next();
    void Back();
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
    void FinishActions();

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

    // Pages 4 to 6.
    void OnGroupChosen();
    void CheckAll(bool checked);

    // Messages in the current language.
    std::string Text(const language::TextKey& key) const { return language_.Lookup(key); }
    ui::DialogButton Ask(const language::TextKey& key, ui::DialogKind kind,
                         std::vector<ui::DialogButton> buttons);
    // A broken distribution: the load error naming what is missing, and the end.
    void Fail(const std::string& missing);
    language::ProductInfo Product() const;

    platform::Platform& platform_;
    ui::Application& application_;
    ui::MessageDialogs& dialogs_;
    ui::Form form_;
    SetupConfig config_;
    SystemFolders folders_;
    language::Language language_;
    std::uint8_t page_ = 0;
    int shown_page_ = 0;  // the page whose controls are on screen
    std::string destination_;
    std::string folder_list_dir_;  // the folder the folder list shows
    std::function<void()> run_installation_;
    bool running_ = false;  // the run is in progress: the page machine takes no input
};

}  // namespace wizard
