// The uninstaller's entry. Started from the installation folder (the uninstall entry, the group's
// shortcut), it takes the installation apart and hands what it cannot do while it runs (its own
// file, the folders that hold it) to its copy in the temporary folder
// (app/win32/uninstall_copy.h).
#include <windows.h>

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "app/answering_dialogs.h"
#include "app/argument_split.h"
#include "app/command_line.h"
#include "app/unattended.h"
#include "app/win32/console.h"
#include "app/win32/single_instance.h"
#include "app/win32/uninstall_copy.h"
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

using app::kAccountSwitch;
using app::kRestSwitch;
using app::kStarterSwitch;

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

// The uninstaller runs on the Windows NT family only (its build needs Windows 7), where the
// service library's platform code is never 1, the only one that finds other folders: the
// library is not loaded for it.
constexpr int kNtPlatformCode = 3;

install::SystemFolders FindSystemFolders(const platform::Platform& platform) {
    install::SystemFolders folders;
    folders.program_files_dir = wizard::ReadProgramFilesDir(platform.registry);
    folders.system_dir = platform.system.SystemDirectory();
    wizard::FindShellFolders(platform, kNtPlatformCode, folders);
    return folders;
}

std::string FindPrinterDriverDir(const platform::Platform& platform) {
    std::string folder;
    if (wizard::FindPrinterDriverDir(platform.system, folder) != wizard::DriverFolderOutcome::Found)
        folder =
            wizard::FallbackPrinterDriverDir(platform.system.SystemDirectory(), kNtPlatformCode);
    return folder;
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

// The progress window, shown unless the run is very silent, its clock and queue attached.
void PrepareProgress(script::CopyFilesForm& progress, ui::Win32Backend& backend,
                     const app::Options& options, platform::Win32Platform& win32,
                     ui::Application& application) {
    if (options.display != app::Display::VerySilent) {
        backend.Create(progress.GetForm(), nullptr);
    } else {
        progress.StayHidden();
        win32.system.ShowNoWindows();
    }
    progress.Attach(win32.clock, application);
}

int Uninstall(platform::Win32Platform& win32, const app::Options& options,
              const std::string& folder, const std::optional<std::string>& account) {
    platform::Platform base = win32.Get();
    SystemFolderLibraries libraries(base.libraries, base.system.SystemDirectory());
    const platform::Platform platform{base.files, libraries,   base.codec, base.registry,
                                      base.shell, base.system, base.clock, base.trace};
    ui::Win32Backend backend;
    ui::Win32Application real_application(backend);
    real_application.on_halt = [&platform](int code) {
        platform.trace.Line("Exit code " + std::to_string(code));
    };
    // The user's abort ends the program with 1602, a failure with 1603.
    app::UnattendedApplication application(real_application);
    application.SetTitle("Uninstall");
    ui::Win32MessageDialogs shown_dialogs;
    app::AnsweringDialogs dialogs(shown_dialogs, platform.trace, options.suppress_message_boxes);

    language::Language language(platform.files, platform.codec, folder);
    uninstall::SelectInstallationLanguage(language, platform, folder);
    script::CopyFilesForm progress;
    PrepareProgress(progress, backend, options, win32, application);

    const install::SystemFolders folders = FindSystemFolders(platform);
    app::Finisher finisher;
    const auto begin_copy = [&] { finisher.Start(platform.system.ProgramPath(), account); };
    const auto hand_over = [&finisher](std::span<const uninstall::Operation> rest) {
        return finisher.HandOver(rest);
    };
    return ExitCode(uninstall::RunUninstall(
        folder, folders,
        {platform, language, dialogs, application, progress,
         [&progress] { progress.GetForm().Repaint(); }, begin_copy, hand_over,
         [&platform] { return FindPrinterDriverDir(platform); }}));
}

// The copy's internal switches: the copy is started with them alone.
struct CopyInvocation {
    HANDLE rest_pipe = nullptr;
    HANDLE starter = nullptr;
    std::optional<std::string> account;
};

// What the command line asks for, the copy's internal switches taken out of it.
struct Invocation {
    std::vector<std::string> arguments;
    std::optional<CopyInvocation> copy;  // this program is the copy
    std::variant<app::Options, app::UsageError> parsed;
    std::optional<std::string> error;
    bool quiet = false;

    const app::Options* options() const { return std::get_if<app::Options>(&parsed); }
    const std::optional<std::string>& log() const {
        const auto* usage_error = std::get_if<app::UsageError>(&parsed);
        return usage_error != nullptr ? usage_error->log : std::get<app::Options>(parsed).log;
    }
};

Invocation ReadCommandLine() {
    const std::string line = platform::Narrow(GetCommandLineW());
    std::vector<std::string> arguments = app::SplitCommandLine(line);
    const auto handle_of = [&arguments](const char* name) -> HANDLE {
        const auto value = TakeSwitch(arguments, name);
        return value ? reinterpret_cast<HANDLE>(std::stoull(*value)) : nullptr;
    };
    std::optional<CopyInvocation> copy;
    if (HANDLE rest_pipe = handle_of(kRestSwitch))
        copy = CopyInvocation{rest_pipe, handle_of(kStarterSwitch),
                              TakeSwitch(arguments, kAccountSwitch)};
    auto parsed = app::ParseCommandLine(arguments);
    const bool quiet = app::Quiet(arguments);
    std::optional<std::string> error;
    if (const auto* usage_error = std::get_if<app::UsageError>(&parsed))
        error = usage_error->text;
    if (const auto* options = std::get_if<app::Options>(&parsed);
        options && (options->dir || options->group || options->no_icons || options->tasks ||
                    options->file_types || options->language || options->type))
        error = "the installation's choices are switches of setup.exe";
    return {std::move(arguments), std::move(copy), std::move(parsed), std::move(error), quiet};
}

// The /LOG account, when asked for and it can be made (or continued, by the copy); the
// platform's trace writes to it.
std::unique_ptr<platform::FileTrace> OpenAccount(platform::Win32Platform& win32,
                                                 const std::optional<std::string>& path,
                                                 bool continued = false) {
    if (!path)
        return nullptr;
    const auto now = [] {
        SYSTEMTIME time;
        GetLocalTime(&time);
        return platform::TimeOfDay{time.wHour, time.wMinute, time.wSecond, time.wMilliseconds};
    };
    auto account = continued ? platform::FileTrace::Append(win32.files, *path, now)
                             : platform::FileTrace::Create(win32.files, *path, now);
    if (account)
        win32.trace = account.get();
    return account;
}

// The account's full path, for the copy, which runs in another folder.
std::optional<std::string> FullPath(const std::optional<std::string>& path) {
    if (!path)
        return std::nullopt;
    wchar_t full[MAX_PATH + 1] = {};
    const DWORD size = GetFullPathNameW(platform::Wide(*path).c_str(), MAX_PATH, full, nullptr);
    return size == 0 || size > MAX_PATH ? *path : platform::Narrow(full);
}

// The removal, once no other setup or uninstaller runs; its exit code.
int RemoveClaimed(platform::Win32Platform& win32, const Invocation& invocation,
                  const std::string& folder) {
    platform::Trace& trace = *win32.trace;
    if (invocation.error) {
        trace.Line("Usage error: " + *invocation.error);
        if (!invocation.quiet)
            app::TellUsageError("Uninstall", *invocation.error, UsageText(), L"Uninstall");
        return ui::kExitBadUsage;
    }
    if (!app::ClaimSingleSetup(true)) {
        trace.Line("Another setup or uninstaller is running");
        return ui::kExitAnotherSetup;
    }
    try {
        return Uninstall(win32, *invocation.options(), folder, FullPath(invocation.log()));
    } catch (const std::exception& e) {
        trace.Line(std::string("Error: ") + e.what());
        if (!invocation.quiet)
            Tell(e.what(), true);
        return ui::kExitFatal;
    }
}

// The copy's work: what the program handed over, once it has ended.
void Finish(platform::Win32Platform& win32, const CopyInvocation& copy) {
    const uninstall::RemovalPlan rest =
        uninstall::ReadHandedOver(app::AwaitRest(copy.rest_pipe, copy.starter));
    if (rest.operations.empty())
        return;
    const auto account = OpenAccount(win32, copy.account, true);
    uninstall::CarryOut(rest, win32.Get(), {});
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    platform::RestrictLibrarySearch();
    const Invocation invocation = ReadCommandLine();
    platform::Win32Platform win32;
    if (invocation.copy) {
        Finish(win32, *invocation.copy);
        return ui::kExitSuccess;
    }
    if (const app::Options* options = invocation.options(); options && options->help) {
        Tell(UsageText(), false);
        return ui::kExitSuccess;
    }
    const std::string program = win32.system.ProgramPath();
    const std::string folder = FolderOf(program);
    const auto account = OpenAccount(win32, invocation.log());
    win32.trace->Line("Command line: " + app::Join(invocation.arguments, " "));
    const int code = RemoveClaimed(win32, invocation, folder);
    win32.trace->Line("Exit code " + std::to_string(code));
    return code;
}
