// The program entry: the library search made safe, the command line, one setup at a time, then
// the background window, the wizard dialog and the message loop, or the unattended installation.
#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/answering_dialogs.h"
#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/main_form.h"
#include "app/unattended.h"
#include "app/win32/console.h"
#include "app/win32/single_instance.h"
#include "install/installation_run.h"
#include "platform/file_trace.h"
#include "platform/win32/libraries.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "script/copy_files_form.h"
#include "ui/win32/dpi.h"
#include "ui/win32/win32_application.h"
#include "ui/win32/win32_backend.h"
#include "ui/win32/win32_message_dialogs.h"
#include "wizard/wizard.h"

namespace {

void Tell(const std::string& text, bool error) {
    app::Tell(text, error, L"Setup");
}

void TellUsageError(const std::string& error, bool quiet) {
    if (!quiet)
        Tell("Setup: " + error + "\n\n" + app::UsageText(), true);
}

platform::TimeOfDay Now() {
    SYSTEMTIME time;
    GetLocalTime(&time);
    return {time.wHour, time.wMinute, time.wSecond, time.wMilliseconds};
}

void TraceExit(platform::Trace& trace, int code) {
    trace.Line("Exit code " + std::to_string(code));
}

int Run(platform::Win32Platform& win32, const app::Options& options) {
    platform::Platform platform = win32.Get();
    ui::Win32Backend backend;
    ui::Win32Application real_application(backend);
    real_application.on_halt = [&trace = platform.trace](int code) { TraceExit(trace, code); };
    app::UnattendedApplication unattended(real_application);
    ui::Application& application =
        options.Unattended() ? static_cast<ui::Application&>(unattended) : real_application;
    ui::Win32MessageDialogs shown_dialogs;
    app::AnsweringDialogs dialogs(shown_dialogs, platform.trace, options.suppress_message_boxes);

    const ui::LayoutScreen screen = ui::PrimaryScreen();
    app::MainForm main(platform.libraries, {screen.width, screen.height});
    // The background window is made in every mode: the printer-setup library is handed it as
    // its host. Nothing is shown with /VERYSILENT: the wizard and the progress window then run
    // on their forms alone, without windows that would never appear (making them takes about a
    // tenth of a second under Wine).
    const HWND main_window = backend.Create(main.GetForm(), nullptr);
    const auto create = [&backend, shown = options.display != app::Display::VerySilent](
                            ui::Form& form, HWND owner) {
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
        const install::RunEnvironment environment{
            .platform = platform,
            .language = wizard.GetLanguage(),
            .dialogs = dialogs,
            .application = application,
            .progress = copy_files,
            .windows = {
                .hide_wizard = [&] { wizard.GetForm().SetVisible(false); },
                .update_background = [&] { UpdateWindow(main_window); },
                .refresh = [&] { copy_files.GetForm().Repaint(); },
                .show_finish_page =
                    [&] {
                        // Unattended, the run ends here: no finish page, no finish actions.
                        if (options.Unattended())
                            return;
                        wizard.ShowFinishPage();
                        SetForegroundWindow(wizard_window);
                    },
            },
            .host = main_window,
        };
        install::RunInstallation(wizard.Plan(), environment);
    });
    wizard.Create();
    create(copy_files.GetForm(), main_window);
    copy_files.Attach(platform.clock, application);
    if (options.display == app::Display::VerySilent)
        copy_files.StayHidden();

    if (options.Unattended()) {
        const app::UnattendedOutcome outcome =
            app::RunUnattended(wizard, options, unattended, dialogs, platform.trace);
        if (!outcome.usage_error.empty()) {
            platform.trace.Line("Usage error: " + outcome.usage_error);
            TellUsageError(outcome.usage_error, options.display == app::Display::VerySilent &&
                                                    options.suppress_message_boxes);
        }
        return outcome.exit_code;
    }
    if (application.Terminating())
        return real_application.Run();

    if (real_application.ShowMainWindow())
        main.GetForm().SetVisible(true);
    wizard.GetForm().SetVisible(true);
    if (ui::Control* focused = wizard.GetForm().Focused())
        wizard.GetForm().SetFocus(*focused);
    return real_application.Run();
}

// Where a /LOG without a name writes: a dated file of its own in the temporary folder.
std::string TemporaryLogPath(const platform::FileSystem& files) {
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    SYSTEMTIME now;
    GetLocalTime(&now);
    return app::DatedLogPath(platform::Narrow(folder), now.wYear, now.wMonth, now.wDay,
                             [&files](const std::string& path) { return files.FileExists(path); });
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything can load a library: the program's folder may hold planted ones.
    platform::RestrictLibrarySearch();
    const std::vector<std::string> arguments = app::Arguments();
    const auto parsed = app::ParseCommandLine(arguments);
    const auto* usage_error = std::get_if<app::UsageError>(&parsed);
    const bool quiet = app::Quiet(arguments);

    platform::Win32Platform win32;
    std::optional<std::string> log_path =
        usage_error != nullptr ? usage_error->log : std::get<app::Options>(parsed).log;
    if (log_path && log_path->empty())
        log_path = TemporaryLogPath(win32.files);
    std::unique_ptr<platform::FileTrace> log;
    if (log_path) {
        log = platform::FileTrace::Create(win32.files, *log_path, Now);
        if (!log) {
            TellUsageError("cannot write the log file \"" + *log_path + "\"", quiet);
            return app::kExitBadUsage;
        }
        win32.trace = log.get();
    }
    platform::Trace& trace = *win32.trace;
    if (log_path)
        trace.Line("Account of the run: " + *log_path);
    trace.Line("Command line: " + app::Join(arguments, " "));
    if (usage_error != nullptr) {
        trace.Line("Usage error: " + usage_error->text);
        TraceExit(trace, app::kExitBadUsage);
        TellUsageError(usage_error->text, quiet);
        return app::kExitBadUsage;
    }
    const app::Options& options = std::get<app::Options>(parsed);
    if (options.help) {
        Tell(app::UsageText(), false);
        return app::kExitSuccess;
    }
    trace.Line("Options: " + app::Describe(options));

    if (!app::ClaimSingleSetup(!options.Unattended())) {
        const int code =
            options.Unattended() ? app::kExitUnattendedAnotherSetup : app::kExitAnotherSetupRunning;
        trace.Line("Another setup is running. Exit code " + std::to_string(code));
        return code;
    }
    CoInitialize(nullptr);
    int code = app::kExitFatal;
    try {
        code = Run(win32, options);
    } catch (const std::exception& e) {
        trace.Line(std::string("Error: ") + e.what());
        if (!options.Unattended() || !options.suppress_message_boxes)
            MessageBoxW(nullptr, platform::Wide(e.what()).c_str(), L"Setup",
                        MB_ICONERROR | MB_OK | MB_TOPMOST);
        code = options.Unattended() ? app::kExitFatal : 1;
    }
    CoUninitialize();
    TraceExit(trace, code);
    return code;
}
