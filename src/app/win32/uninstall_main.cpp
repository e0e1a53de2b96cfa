// The uninstaller's entry. Started from the installation folder (the uninstall entry, the group's
// shortcut), it copies itself to the temporary folder and waits for the copy, which does the work,
// so that the installation folder and this program's own file can go; the copy hands back the
// exit code through a pipe before it removes the file of the program that started it.
#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/answering_dialogs.h"
#include "app/command_line.h"
#include "app/unattended.h"
#include "app/win32/console.h"
#include "app/win32/single_instance.h"
#include "install/product_libraries.h"
#include "platform/file_trace.h"
#include "platform/win32/handles.h"
#include "platform/win32/libraries.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "script/copy_files_form.h"
#include "ui/exit_codes.h"
#include "ui/win32/win32_application.h"
#include "ui/win32/win32_backend.h"
#include "ui/win32/win32_message_dialogs.h"
#include "uninstall/uninstall_run.h"
#include "wizard/system_folders.h"

namespace {

// Given by the program to its copy: the installation folder, the pipe for the exit code and the
// handle of the process to wait for before its file is deleted.
constexpr char kFolderSwitch[] = "/INSTALLATION=";
constexpr char kResultSwitch[] = "/RESULT=";
constexpr char kStarterSwitch[] = "/STARTER=";
// How long the copy waits for the program that started it to end.
constexpr DWORD kStarterWaitMs = 30000;

// Takes the internal switch of that name out of the arguments; its value, if given.
std::optional<std::string> TakeSwitch(std::vector<std::string>& arguments, const char* name) {
    for (auto it = arguments.begin(); it != arguments.end(); ++it) {
        if (it->starts_with(name)) {
            std::string value = it->substr(std::string_view(name).size());
            arguments.erase(it);
            return value;
        }
    }
    return std::nullopt;
}

std::string UsageText() {
    return "zkuninst.exe [switches]\n"
           "\n"
           "Removes the installation in the program's folder. Without switches it asks first.\n"
           "\n"
           "/SILENT             remove showing the progress window only\n"
           "/VERYSILENT         remove without any window\n"
           "/SUPPRESSMSGBOXES   every question takes its preset answer: remove; applications\n"
           "                    that do not close abort the removal\n"
           "/LOG=\"file\"         an account of the removal, one line per step, item and record\n"
           "/?                  this text\n"
           "\n"
           "Exit codes: 0 removed, 1602 declined or aborted, 1603 something could not be\n"
           "removed (see /LOG), 1618 another setup or uninstaller runs, 2 bad usage or no\n"
           "install.ini.\n";
}

void Tell(const std::string& text, bool error) {
    app::Tell(text, error, L"Uninstall");
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.rfind('\\'));
}

// The product's libraries where the installation put them: the system folder, by full path.
class SystemFolderLibraries final : public platform::Libraries {
  public:
    SystemFolderLibraries(platform::Libraries& libraries, std::string folder)
        : libraries_(libraries), folder_(std::move(folder)) {}
    platform::Result<std::unique_ptr<platform::Library>> Load(const std::string& name) override {
        return libraries_.Load(name.find('\\') == std::string::npos ? folder_ + "\\" + name : name);
    }

  private:
    platform::Libraries& libraries_;
    std::string folder_;
};

// Started from the installation folder: the copy does the work, its code is this program's.
// nullopt when no copy could be started (then this program does the work itself).
std::optional<int> RunCopy(const std::string& program, const std::string& folder,
                           const std::vector<std::string>& arguments) {
    wchar_t temp[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH, temp) == 0)
        return std::nullopt;
    const std::wstring copy =
        std::wstring(temp) + L"zkuninst-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    if (!CopyFileW(platform::Wide(program).c_str(), copy.c_str(), FALSE))
        return std::nullopt;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    HANDLE self = nullptr;
    CreatePipe(&read, &write, &inherit, 0);
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                    SYNCHRONIZE, TRUE, 0);
    std::wstring command = L"\"" + copy + L"\" \"" + platform::Wide(kFolderSwitch + folder) +
                           L"\" " + platform::Wide(kResultSwitch) +
                           std::to_wstring(reinterpret_cast<std::uintptr_t>(write)) + L" " +
                           platform::Wide(kStarterSwitch) +
                           std::to_wstring(reinterpret_cast<std::uintptr_t>(self));
    for (const std::string& argument : arguments)
        command += L" \"" + platform::Wide(argument) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(copy.c_str(), command.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, temp, &startup, &process);
    CloseHandle(write);
    CloseHandle(self);
    if (!started) {
        CloseHandle(read);
        DeleteFileW(copy.c_str());
        return std::nullopt;
    }
    CloseHandle(process.hThread);
    int code = ui::kExitFatal;
    DWORD got = 0;
    if (!ReadFile(read, &code, sizeof code, &got, nullptr) || got != sizeof code) {
        // The copy ended without handing over a code: its own exit code tells.
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD exit_code = ui::kExitFatal;
        GetExitCodeProcess(process.hProcess, &exit_code);
        code = static_cast<int>(exit_code);
    }
    CloseHandle(read);
    CloseHandle(process.hProcess);
    return code;
}

// The copy's own file goes when the copy ends. The platform keeps a running program's file, so
// the system's command processor deletes it, trying until this process has ended; where that
// cannot be started, the file goes at the next restart.
void RemoveOwnCopy() {
    wchar_t self[MAX_PATH] = {};
    wchar_t system[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring file = std::wstring(L"\"") + self + L"\"";
    std::wstring command = L"\"" + std::wstring(system) +
                           L"\\cmd.exe\" /c for /l %i in (1,1,2000) do if exist " + file +
                           L" del " + file;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                       system, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return;
    }
    MoveFileExW(self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

install::SystemFolders FindSystemFolders(const platform::Platform& platform) {
    install::SystemFolders folders;
    folders.program_files_dir = wizard::ReadProgramFilesDir(platform.registry);
    folders.system_dir = platform.system.SystemDirectory();
    const auto code = install::QueryPlatformCode(platform.libraries);
    const int platform_code = code ? *code : 3;
    wizard::FindShellFolders(platform, platform_code, folders);
    if (wizard::FindPrinterDriverDir(platform.system, folders.printer_driver_dir) !=
        wizard::DriverFolderOutcome::Found)
        folders.printer_driver_dir =
            wizard::FallbackPrinterDriverDir(folders.system_dir, platform_code);
    return folders;
}

int ExitCode(uninstall::UninstallResult result) {
    switch (result) {
        case uninstall::UninstallResult::Removed:
            return ui::kExitSuccess;
        case uninstall::UninstallResult::Declined:
        case uninstall::UninstallResult::Aborted:
            return ui::kExitCancelled;
        case uninstall::UninstallResult::Incomplete:
            return ui::kExitFatal;
        case uninstall::UninstallResult::NoInstallation:
            break;
    }
    return ui::kExitBadUsage;
}

int Uninstall(platform::Win32Platform& win32, const app::Options& options,
              const std::string& folder, HANDLE result_pipe, HANDLE starter) {
    platform::Platform base = win32.Get();
    SystemFolderLibraries libraries(base.libraries, base.system.SystemDirectory());
    const platform::Platform platform{base.files, libraries,   base.codec, base.registry,
                                      base.shell, base.system, base.clock, base.trace};
    ui::Win32Backend backend;
    ui::Win32Application real_application(backend);
    real_application.on_halt = [&platform, copy = starter != nullptr](int code) {
        platform.trace.Line("Exit code " + std::to_string(code));
        if (copy)
            RemoveOwnCopy();
    };
    // The user's abort ends the program with 1602, a failure with 1603.
    app::UnattendedApplication application(real_application);
    application.SetTitle("Uninstall");
    ui::Win32MessageDialogs shown_dialogs;
    app::AnsweringDialogs dialogs(shown_dialogs, platform.trace, options.suppress_message_boxes);

    language::Language language(platform.files, platform.codec, folder);
    uninstall::SelectInstallationLanguage(language, platform, folder);
    script::CopyFilesForm progress;
    if (options.display != app::Display::VerySilent)
        backend.Create(progress.GetForm(), nullptr);
    else
        progress.StayHidden();
    progress.Attach(platform.clock, application);

    const install::SystemFolders folders = FindSystemFolders(platform);
    const auto result =
        uninstall::RunUninstall(folder, folders,
                                {platform, language, dialogs, application, progress,
                                 [&progress] { progress.GetForm().Repaint(); },
                                 [&](uninstall::UninstallResult so_far) {
                                     // The starter returns this code and ends, so that its file can
                                     // go.
                                     if (result_pipe == nullptr)
                                         return;
                                     const int code = ExitCode(so_far);
                                     DWORD written = 0;
                                     WriteFile(result_pipe, &code, sizeof code, &written, nullptr);
                                     CloseHandle(result_pipe);
                                     result_pipe = nullptr;
                                     WaitForSingleObject(starter, kStarterWaitMs);
                                 }});
    return ExitCode(result);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    platform::RestrictLibrarySearch();
    std::vector<std::string> arguments = app::Arguments();
    const std::optional<std::string> folder_given = TakeSwitch(arguments, kFolderSwitch);
    const auto handle_of = [&arguments](const char* name) -> HANDLE {
        const auto value = TakeSwitch(arguments, name);
        return value ? reinterpret_cast<HANDLE>(std::stoull(*value)) : nullptr;
    };
    HANDLE result_pipe = handle_of(kResultSwitch);
    const HANDLE starter = handle_of(kStarterSwitch);

    const auto parsed = app::ParseCommandLine(arguments);
    const bool quiet = app::Quiet(arguments);
    const auto* usage_error = std::get_if<app::UsageError>(&parsed);
    std::optional<std::string> error =
        usage_error ? std::optional(usage_error->text) : std::nullopt;
    if (const auto* options = std::get_if<app::Options>(&parsed);
        options && (options->dir || options->group || options->no_icons || options->tasks ||
                    options->file_types || options->language || options->type))
        error = "the installation's choices are switches of setup.exe";
    if (const auto* options = std::get_if<app::Options>(&parsed); options && options->help) {
        Tell(UsageText(), false);
        return ui::kExitSuccess;
    }
    platform::Win32Platform win32;
    const std::string program = win32.system.ProgramPath();
    const std::string folder = folder_given.value_or(FolderOf(program));

    // The starter relays: the copy writes the account.
    if (!error && !folder_given && win32.files.FileExists(folder + "\\install.ini")) {
        if (const auto code = RunCopy(program, folder, arguments))
            return *code;
    }

    const std::optional<std::string>& log_path =
        usage_error != nullptr ? usage_error->log : std::get<app::Options>(parsed).log;
    std::unique_ptr<platform::FileTrace> log;
    if (log_path) {
        log = platform::FileTrace::Create(win32.files, *log_path, [] {
            SYSTEMTIME time;
            GetLocalTime(&time);
            return platform::TimeOfDay{time.wHour, time.wMinute, time.wSecond, time.wMilliseconds};
        });
        if (log)
            win32.trace = log.get();
    }
    platform::Trace& trace = *win32.trace;
    trace.Line("Command line: " + app::Join(arguments, " "));
    int code = ui::kExitBadUsage;
    if (error) {
        trace.Line("Usage error: " + *error);
        if (!quiet)
            app::TellUsageError("Uninstall", *error, UsageText(), L"Uninstall");
    } else if (!app::ClaimSingleSetup(true)) {
        code = ui::kExitAnotherSetup;
        trace.Line("Another setup or uninstaller is running");
    } else {
        const platform::ComApartment com;
        try {
            code = Uninstall(win32, std::get<app::Options>(parsed), folder, result_pipe, starter);
            result_pipe = nullptr;
        } catch (const std::exception& e) {
            trace.Line(std::string("Error: ") + e.what());
            if (!quiet)
                Tell(e.what(), true);
            code = ui::kExitFatal;
        }
    }
    trace.Line("Exit code " + std::to_string(code));
    if (result_pipe != nullptr) {
        DWORD written = 0;
        WriteFile(result_pipe, &code, sizeof code, &written, nullptr);
        CloseHandle(result_pipe);
    }
    if (folder_given)
        RemoveOwnCopy();
    return code;
}
