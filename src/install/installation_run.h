#pragma once
// The installation run, entered once from the summary page: it hides the wizard, shows the
// progress window, installs the product step by step and turns the wizard into its finish page.
// It knows the windows around it only through what the program's composition gives it here.
#include <functional>

#include "install/installation_plan.h"
#include "language/language.h"
#include "platform/platform.h"
#include "script/copy_files_form.h"
#include "ui/form.h"
#include "ui/message_dialog.h"

namespace install {

// The windows the run does not own.
struct RunWindows {
    std::function<void()> hide_wizard;
    // Carries out the background window's pending paint requests, so that it does not stay
    // blank behind the progress window while the run holds the thread.
    std::function<void()> update_background;
    // Repaints the progress window at once.
    std::function<void()> refresh;
    // The wizard's finish state, the wizard shown in front.
    std::function<void()> show_finish_page;
};

struct RunEnvironment {
    platform::Platform platform;
    const language::Language& language;
    ui::MessageDialogs& dialogs;
    ui::Application& application;  // ends the program: Terminate, or Halt at once
    script::CopyFilesForm& progress;
    RunWindows windows;
    // Handed to the printer-setup library as its host application (the background window).
    void* host = nullptr;
};

// Exit codes of a run that does not finish.
inline constexpr int kRunFailedExitCode = 1;

// Ends normally with the finish page shown; with the application asked to terminate when the
// installation log cannot be opened, a record cannot be written to it, or an operation fails
// that the run has no answer for (its text is shown first); or with the process ended at once
// where a product library fails. Shortcuts go only into system folders that the log can name
// (RecordableFolders).
void RunInstallation(const InstallationPlan& plan, const RunEnvironment& environment);

}  // namespace install
