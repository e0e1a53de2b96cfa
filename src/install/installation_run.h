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
    ui::Application& application;  // ended by the run's loop when a step stops the run
    script::CopyFilesForm& progress;
    RunWindows windows;
    // Handed to the printer-setup library as its host application (the background window).
    void* host = nullptr;
};

// Ends normally with the finish page shown. A step that stops the run (the installation log
// cannot be opened or a record written to it, a product library fails, the user aborts while
// the product's applications run, an operation fails that the run has no answer for) has shown
// why; the application is then asked to terminate with the stop's exit code (ui/exit_codes.h).
// Shortcuts go only into system folders that the log can name (RecordableFolders).
void RunInstallation(const InstallationPlan& plan, const RunEnvironment& environment);

}  // namespace install
