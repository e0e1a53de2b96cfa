// The program entry: the library search made safe, one setup at a time, then the background
// window, the wizard dialog and the message loop.
#include <objbase.h>
#include <windows.h>

#include <exception>

#include "app/main_form.h"
#include "app/win32/single_instance.h"
#include "install/installation_run.h"
#include "platform/win32/libraries.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "script/copy_files_form.h"
#include "ui/win32/win32_application.h"
#include "ui/win32/win32_backend.h"
#include "ui/win32/win32_message_dialogs.h"
#include "wizard/wizard.h"

namespace {

int Run() {
    platform::Win32Platform win32;
    platform::Platform platform = win32.Get();
    ui::Win32Backend backend;
    ui::Win32Application application(backend);
    ui::Win32MessageDialogs dialogs;

    app::MainForm main(platform.libraries,
                       {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    const HWND main_window = backend.Create(main.GetForm(), nullptr);
    application.SetMainWindow(main_window);
    application.SetTitle("Setup");

    wizard::Wizard wizard(platform, application, dialogs);
    const HWND wizard_window = backend.Create(wizard.GetForm(), main_window);
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
                        wizard.ShowFinishPage();
                        SetForegroundWindow(wizard_window);
                    },
            },
            .host = main_window,
        };
        install::RunInstallation(wizard.Plan(), environment);
    });
    wizard.Create();
    backend.Create(copy_files.GetForm(), main_window);
    copy_files.Attach(platform.clock, application);
    if (application.Terminating())
        return application.Run();

    if (application.ShowMainWindow())
        main.GetForm().SetVisible(true);
    wizard.GetForm().SetVisible(true);
    if (ui::Control* focused = wizard.GetForm().Focused())
        wizard.GetForm().SetFocus(*focused);
    return application.Run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything can load a library: the program's folder may hold planted ones.
    platform::RestrictLibrarySearch();
    if (!app::ClaimSingleSetup())
        return app::kExitAnotherSetupRunning;
    CoInitialize(nullptr);
    try {
        const int code = Run();
        CoUninitialize();
        return code;
    } catch (const std::exception& e) {
        MessageBoxW(nullptr, platform::Wide(e.what()).c_str(), L"Setup",
                    MB_ICONERROR | MB_OK | MB_TOPMOST);
        return 1;
    }
}
