#pragma once
// The uninstallation as a person sees it: the question, the product's running applications
// closed as the installation run closes them, the progress window while the installation is
// taken apart, and a last message that says what stays and where.
#include <functional>
#include <span>
#include <string>

#include "install/installation_plan.h"
#include "language/language.h"
#include "platform/platform.h"
#include "script/copy_files_form.h"
#include "ui/form.h"
#include "ui/message_dialog.h"
#include "uninstall/removal.h"

namespace uninstall {

enum class UninstallResult {
    Removed,         // everything of the installation is gone but the user's data
    Declined,        // the question was answered No
    Incomplete,      // something could not be removed, or the log held unsound records
    NoInstallation,  // no readable install.ini in the folder
    Aborted,         // the user aborted while the product's applications ran: nothing removed
};

struct UninstallEnvironment {
    // Its libraries load the product's libraries where the installation put them.
    platform::Platform platform;
    const language::Language& language;
    ui::MessageDialogs& dialogs;
    // Lets the windows answer while files go.
    ui::Application& application;
    script::CopyFilesForm& progress;
    // Repaints the progress window at once.
    std::function<void()> refresh;
    // The removal begins (the question answered, the applications closed): the moment to get
    // ready what hand_over needs.
    std::function<void()> removal_begins;
    // The operations from the uninstaller's own file on, for the program that carries them out
    // once this one has ended; true when it took them (RemovalCallbacks::hand_over).
    std::function<bool(std::span<const Operation> rest)> hand_over;
    // The printer-driver folder, asked only when the folders given hold none and a record
    // needs it.
    std::function<std::string()> find_printer_driver_dir;
};

// The language the installation used: zinkolar.ini [User] "Language" in the folder, whose
// language file lies there too; the built-in Russian when there is none.
void SelectInstallationLanguage(language::Language& language, const platform::Platform& platform,
                                const std::string& folder);

// Takes apart the installation in folder. folders: the system's folders, as the installer finds
// them.
UninstallResult RunUninstall(const std::string& folder, const install::SystemFolders& folders,
                             const UninstallEnvironment& environment);

}  // namespace uninstall
