#include "app/win32/setup_composition.h"

#include <windows.h>

#include <string>

#include "app/answering_dialogs.h"
#include "app/main_form.h"
#include "app/unattended.h"
#include "app/win32/console.h"
#include "install/installation_run.h"
#include "script/copy_files_form.h"
#include "ui/win32/dpi.h"
#include "ui/win32/win32_application.h"
#include "ui/win32/win32_backend.h"
#include "ui/win32/win32_message_dialogs.h"
#include "wizard/wizard.h"

namespace app {
namespace {

// What the run is given of the windows around it; unattended, it ends without the finish page.
install::RunWindows RunWindowsOf(wizard::Wizard& wizard, HWND wizard_window, HWND main_window,
                                 script::CopyFilesForm& copy_files, bool unattended) {
    return {
        .hide_wizard = [&wizard] { wizard.GetForm().SetVisible(false); },
        .update_background = [main_window] { UpdateWindow(main_window); },
        .refresh = [&copy_files] { copy_files.GetForm().Repaint(); },
        .show_finish_page =
            [&wizard, wizard_window, unattended] {
                if (unattended)
                    return;
                wizard.ShowFinishPage();
                SetForegroundWindow(wizard_window);
            },
    };
}

// The background window and the wizard in front of it, and the message loop to the end.
int ShowWizard(ui::Win32Application& application, MainForm& main, wizard::Wizard& wizard) {
    if (application.ShowMainWindow())
        main.GetForm().SetVisible(true);
    wizard.GetForm().SetVisible(true);
    if (ui::Control* focused = wizard.GetForm().Focused())
        wizard.GetForm().SetFocus(*focused);
    return application.Run();
}

// The unattended installation through the wizard; a usage error is told unless told to be quiet.
int InstallUnattended(wizard::Wizard& wizard, const Options& options,
                      const UnattendedApplication& application, const AnsweringDialogs& dialogs,
                      platform::Trace& trace) {
    const UnattendedOutcome outcome = RunUnattended(wizard, options, application, dialogs, trace);
    if (!outcome.usage_error.empty()) {
        trace.Line("Usage error: " + outcome.usage_error);
        if (options.display != Display::VerySilent || !options.suppress_message_boxes)
            TellUsageError("Setup", outcome.usage_error, UsageText(), L"Setup");
    }
    return outcome.exit_code;
}

}  // namespace

void TraceExit(platform::Trace& trace, int code) {
    trace.Line("Exit code " + std::to_string(code));
}

int RunSetup(platform::Win32Platform& win32, const Options& options) {
    platform::Platform platform = win32.Get();
    ui::Win32Backend backend;
    ui::Win32Application real_application(backend);
    real_application.on_halt = [&trace = platform.trace](int code) { TraceExit(trace, code); };
    UnattendedApplication unattended(real_application);
    ui::Application& application =
        options.Unattended() ? static_cast<ui::Application&>(unattended) : real_application;
    ui::Win32MessageDialogs shown_dialogs;
    AnsweringDialogs dialogs(shown_dialogs, platform.trace, options.suppress_message_boxes);

    const ui::LayoutScreen screen = ui::PrimaryScreen();
    MainForm main(platform.libraries, {screen.width, screen.height});
    // The background window is made in every mode: the printer-setup library is handed it as
    // its host. Nothing is shown with /VERYSILENT: the wizard and the progress window then run
    // on their forms alone, without windows that would never appear (making them takes about a
    // tenth of a second under Wine).
    const HWND main_window = backend.Create(main.GetForm(), nullptr);
    const auto create = [&backend, shown = options.display != Display::VerySilent](ui::Form& form,
                                                                                   HWND owner) {
        return shown ? backend.Create(form, owner) : nullptr;
    };
    real_application.SetMainWindow(main_window);
    application.SetTitle("Setup");

    wizard::Wizard wizard(platform, application, dialogs);
    const HWND wizard_window = create(wizard.GetForm(), main_window);
    main.SetActivationHandler([&] {
        if (!application.Terminating() && wizard.GetForm().Visible() &&
            IsWindowEnabled(wizard_window)) {
            SetForegroundWindow(wizard_window);
        }
    });
    script::CopyFilesForm copy_files;
    wizard.SetRunInstallation([&] {
        install::RunInstallation(
            wizard.Plan(), {.platform = platform,
                            .language = wizard.GetLanguage(),
                            .dialogs = dialogs,
                            .application = application,
                            .progress = copy_files,
                            .windows = RunWindowsOf(wizard, wizard_window, main_window, copy_files,
                                                    options.Unattended()),
                            .host = main_window});
    });
    wizard.Create();
    create(copy_files.GetForm(), main_window);
    copy_files.Attach(platform.clock, application);
    if (options.display == Display::VerySilent) {
        copy_files.StayHidden();
        win32.system.ShowNoWindows();
    }

    if (options.Unattended())
        return InstallUnattended(wizard, options, unattended, dialogs, platform.trace);
    if (application.Terminating())
        return real_application.Run();
    return ShowWizard(real_application, main, wizard);
}

}  // namespace app
