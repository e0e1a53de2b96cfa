#include "install/installation_run.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "convert/convert.h"
#include "install/file_types.h"
#include "install/previous_installation.h"
#include "install/product_libraries.h"
#include "install/product_settings.h"
#include "install/recordable_folders.h"
#include "install/registration.h"
#include "install/running_applications.h"
#include "install/shared_files.h"
#include "install/shortcuts.h"
#include "install/step_result.h"
#include "install/traced_platform.h"
#include "install/unchecked.h"
#include "language/format.h"
#include "language/message_dialogs.h"
#include "platform/text.h"
#include "script/file_installation.h"
#include "script/install_log.h"
#include "script/trace_text.h"
#include "ui/exit_codes.h"

namespace install {
namespace {

namespace keys = language::keys;

constexpr char kInstallLogName[] = "install.ini";

// What the steps share. Each step below says what it reads and what it leaves here.
struct Run {
    const InstallationPlan& plan;
    const RunEnvironment& env;
    TracedRegistry traced_registry{env.platform.registry, env.platform.trace};
    TracedShell traced_shell{env.platform.shell, env.platform.trace};
    platform::Platform platform = WithTracedChanges(env.platform, traced_registry, traced_shell);
    std::unique_ptr<script::InstallLog> log;               // from OpenLog on
    std::optional<script::FileInstallation> installation;  // from OpenLog on
    std::optional<PrinterSetup> printer;            // from RemoveOldPrinter to InstallPrinter
    std::uint32_t converted_log_count = 0;          // from ConvertOldData
    std::vector<std::string> shared_files_counted;  // from NoteCountedSharedFiles

    std::string Text(const language::TextKey& key) const { return env.language.Lookup(key); }
    void Refresh() const { env.windows.refresh(); }
    void UpdateBackground() const { env.windows.update_background(); }
    // A step caption: the text followed by "...", painted at once.
    void ShowStep(const std::string& text) const {
        env.progress.SetStep(text + "...");
        Refresh();
    }
    // A product library or function is missing: the error names it and the run stops, as
    // nothing sensible can follow without the product's own code.
    [[nodiscard]] Stop LibraryMissing(const platform::Error& failure) const {
        TraceMissing(failure);
        language::ShowErrorBox(env.dialogs, env.language,
                               language::FormatText(Text(keys::msgLoadError), {failure.text}),
                               keys::msgLoadError.key);
        return Stop{ui::kExitFailed};
    }
    // A failure the run has no answer for: its text is shown and the run stops.
    [[nodiscard]] Stop Failed(const std::string& text) const {
        platform.trace.Line("Run failed: " + text);
        language::ShowErrorBox(env.dialogs, env.language, text);
        return Stop{ui::kExitFailed};
    }
    void TraceMissing(const platform::Error& failure) const {
        platform.trace.Line("Product library or function missing: " + failure.text);
    }
};

using Step = StepResult (*)(Run&);
struct NamedStep {
    const char* name;  // for the trace
    Step run;
};

// Wizard hidden, progress window shown with the first step.
StepResult ShowProgress(Run& run) {
    run.env.windows.hide_wizard();
    run.UpdateBackground();
    run.env.progress.SetStep(run.Text(keys::cFolderCreate) + "...");
    run.env.progress.SetCaption(run.Text(keys::cCopyFiles));
    run.env.progress.Show();
    return kGoOn;
}

// The installation folder made and its log opened; leaves log and installation. Without a log
// the uninstaller could not remove what the run makes, so nothing is made; a record that cannot
// be written later ends the run the same way (RecordOrThrowLog).
StepResult OpenLog(Run& run) {
    platform::Platform& platform = run.platform;
    const std::string& destination = run.plan.destination;
    platform::IgnoreFailure(platform.files.CreateDirectories(destination),
                            "a folder not made fails the log's open, which reports it");
    platform::Result<void> error;
    const std::string log_path = destination + "\\" + kInstallLogName;
    std::unique_ptr<script::InstallLog> log =
        script::OpenInstallLog(platform.files, platform.codec, log_path, error, &platform.trace);
    if (!log) {
        platform.trace.Line("Installation log not opened: " + log_path + ": " +
                            script::ErrorText(error));
        language::ShowErrorBox(run.env.dialogs, run.env.language,
                               run.Text(keys::ErCreate) + ": " + kInstallLogName,
                               keys::ErCreate.key);
        return Stop{ui::kExitFailed};
    }
    run.log = std::make_unique<RecordOrThrowLog>(std::move(log), log_path);
    const SetupConfig& config = run.plan.config;
    run.installation.emplace(script::FileInstallationContext{
        .files = platform.files,
        .codec = platform.codec,
        .clock = platform.clock,
        .shell = platform.shell,
        .language = run.env.language,
        .dialogs = run.env.dialogs,
        .log = *run.log,
        .progress = run.env.progress,
        .update_background = run.env.windows.update_background,
        .script_file = config.source_dir + "\\" + config.script_file_name,
        .folders = {.source_dir = config.source_dir,
                    .destination = destination,
                    .system_dir = run.plan.folders.system_dir,
                    .printer_driver_dir = run.plan.folders.printer_driver_dir},
        .platform_code = config.platform_code,
        .need_disk_space = config.need_disk_space,
        .trace = platform.trace,
    });
    return kGoOn;
}

// The folder the uninstaller removes last: the Program Files folder joined with the first level
// of the configured InstallPath, whatever folder the user chose.
std::string RootFolder(const InstallationPlan& plan) {
    const std::string& path = plan.config.install_path;
    const std::size_t backslash = path.find('\\');
    return plan.folders.program_files_dir +
           (backslash == std::string::npos ? std::string() : path.substr(0, backslash));
}

// [main] "start", "version" and "rootfolder".
StepResult RecordHeader(Run& run) {
    const InstallationPlan& plan = run.plan;
    platform::IgnoreFailure(
        run.log->LogText(script::kLogMain, "start", run.platform.clock.LocalTimeAndDate()),
        script::kRecordFailureThrows);
    platform::IgnoreFailure(run.log->LogText(script::kLogMain, "version", plan.Title()),
                            script::kRecordFailureThrows);
    platform::IgnoreFailure(run.log->LogText(script::kLogMain, "rootfolder", RootFolder(plan)),
                            script::kRecordFailureThrows);
    return kGoOn;
}

StepResult MakeFolders(Run& run) {
    run.installation->CreateFolders();
    return kGoOn;
}

// The product's applications closed and, where this installation runs the service, the old
// service removed.
StepResult CloseApplications(Run& run) {
    const InstallationPlan& plan = run.plan;
    run.ShowStep(language::FormatText(run.Text(keys::cCloseAppCap), {plan.config.product_name}));
    if (const StepResult stop =
            CloseProductApplications(plan, run.platform, run.env.language, run.env.dialogs))
        return stop;
    run.Refresh();
    if (!plan.config.client_server || plan.server) {
        if (const platform::Result<void> removed = DeleteProductService(run.platform.libraries);
            !removed) {
            return run.LibraryMissing(removed.error());
        }
    }
    run.Refresh();
    return kGoOn;
}

// win.ini [Kelmo] and the product's registry key; their failures are shown and passed over.
StepResult WriteLocation(Run& run) {
    run.ShowStep(run.Text(keys::cAddInWinIni));
    WriteProductLocation(run.plan, run.platform, run.env.language, run.env.dialogs);
    return kGoOn;
}

// Loads the printer-setup library, kept in printer until the new printer is installed, and
// removes the old virtual printer.
StepResult RemoveOldPrinter(Run& run) {
    run.ShowStep(run.Text(keys::cPrinterUnInstall));
    platform::Result<PrinterSetup> printer = PrinterSetup::Load(run.platform.libraries);
    if (!printer) {
        run.TraceMissing(printer.error());
        // The toolkit's own dialog: this error comes from outside the program's texts.
        language::ShowPlainDialog(
            run.env.dialogs, keys::msgLoadError.key,
            language::FormatText(run.Text(keys::msgLoadError), {printer.error().text}),
            ui::DialogKind::Error, {ui::DialogButton::Ok});
        return Stop{ui::kExitFailed};
    }
    run.printer.emplace(std::move(*printer));
    if (const platform::Result<void> deleted =
            run.printer->DeletePrinter(run.plan.config.platform_code);
        !deleted) {
        return run.LibraryMissing(deleted.error());
    }
    return kGoOn;
}

// What an earlier installation into this folder recorded: its shortcut files and registry
// items go, its records stay. Done only here, after the last point where the run can stop
// without installing, so that a run that stops early leaves the earlier installation usable.
StepResult RemovePreviousItems(Run& run) {
    const RemovalRules rules = RemovalRules::ForPlan(run.plan);
    RemovePreviousShortcuts(rules, run.platform, *run.log);
    RemovePreviousRegistryEntries(rules, run.platform, *run.log);
    run.Refresh();
    return kGoOn;
}

StepResult MakeInternetShortcuts(Run& run) {
    platform::Platform& platform = run.platform;
    WriteInternetShortcuts(run.plan, platform.files, platform.codec, *run.log);
    return kGoOn;
}

std::vector<std::string> SharedFilesRecorded(const Run& run) {
    return SharedFilesRecorded(run.platform, run.plan.destination + "\\" + kInstallLogName,
                               run.plan.folders);
}

// The shared files that an earlier run into this folder recorded: that installation counted them.
StepResult NoteCountedSharedFiles(Run& run) {
    run.shared_files_counted = SharedFilesRecorded(run);
    return kGoOn;
}

// Each shared file this run installed is counted once for the installation: not again when the
// earlier run into this folder recorded it.
StepResult CountSharedFiles(Run& run) {
    std::unordered_set<std::string> counted;
    for (const std::string& file : run.shared_files_counted)
        counted.insert(platform::ToLower(file));
    for (const std::string& file : SharedFilesRecorded(run)) {
        if (counted.contains(platform::ToLower(file)))
            continue;
        if (const platform::Result<void> status = CountSharedFileUse(run.platform.registry, file);
            !status)
            return run.Failed(
                PlatformErrorText("Cannot count the use of the shared file " + file, status));
    }
    return kGoOn;
}

// The script's files, shown file by file with the progress bar.
StepResult CopyFiles(Run& run) {
    run.env.progress.CopyModeOn(run.env.language);
    run.Refresh();
    run.UpdateBackground();
    run.installation->InstallFiles();
    run.UpdateBackground();
    return kGoOn;
}

// The program group, SendTo, desktop and Quick Launch shortcuts, the script's among them.
StepResult MakeShortcuts(Run& run) {
    run.env.progress.CopyModeOff(run.Text(keys::cLinkCreate) + "...");
    run.Refresh();
    CreateProductShortcuts(run.plan, run.platform, *run.log, run.env.language,
                           [&run](const std::string& group_dir) {
                               run.installation->CreateCommonShortcuts(group_dir);
                           });
    run.platform.shell.AnnounceLinks();
    return kGoOn;
}

StepResult RegisterUninstall(Run& run) {
    run.ShowStep(run.Text(keys::cAddUninstallInfo));
    WriteUninstallEntry(run.plan, run.platform.registry, *run.log, run.env.language,
                        run.installation->InstalledBytes());
    return kGoOn;
}

StepResult RegisterTypes(Run& run) {
    run.ShowStep(run.Text(keys::cExtReg));
    RegisterFileTypes(run.plan, run.platform, *run.log);
    return kGoOn;
}

StepResult RegisterApplicationPaths(Run& run) {
    WriteApplicationPaths(run.plan, run.platform.registry);
    return kGoOn;
}

// The data of a version-4 installation; leaves converted_log_count.
StepResult ConvertOldData(Run& run) {
    platform::Platform& platform = run.platform;
    const convert::Context context{
        .files = platform.files,
        .codec = platform.codec,
        .language = run.env.language,
        .dialogs = run.env.dialogs,
        .show_progress = [&run](const std::string& text) { run.env.progress.SetStep(text); },
    };
    const SystemFolders& folders = run.plan.folders;
    const std::string& destination = run.plan.destination;
    convert::ConvertPhoneBooks(context, folders.old_install_path, folders.old_version, destination);
    run.UpdateBackground();
    run.converted_log_count = convert::ConvertLogBook(context, folders.old_install_path,
                                                      folders.old_version, destination);
    platform.trace.Line("Converted " + std::to_string(run.converted_log_count) + " log records");
    run.UpdateBackground();
    convert::ConvertSchedule(context, destination);
    run.UpdateBackground();
    return kGoOn;
}

StepResult WriteSettings(Run& run) {
    WriteProductSettings(run.plan, run.platform, *run.log,
                         static_cast<int>(run.converted_log_count));
    return kGoOn;
}

// The language file as the printer-setup library gets it: its full path in the ANSI code page,
// or none while the built-in language is current.
std::optional<std::string> LanguageFileForLibrary(const Run& run) {
    const language::Language& language = run.env.language;
    if (language.File() == nullptr)
        return std::nullopt;
    return run.platform.codec.Utf8ToAnsi(language.SourceDir() + "\\" + language.CurrentName() +
                                         ".lng");
}

// The new virtual printer; the library's refusal ends the program at once, as the product
// cannot work without it. The library is released afterwards.
StepResult InstallPrinter(Run& run) {
    run.ShowStep(run.Text(keys::cPrinterInstall));
    std::optional<std::string> language_file = LanguageFileForLibrary(run);
    const platform::Result<bool> installed =
        run.printer->InstallPrinter(run.env.host, run.plan.config.platform_code,
                                    language_file ? language_file->data() : nullptr);
    if (!installed)
        return run.LibraryMissing(installed.error());
    if (!*installed) {
        run.platform.trace.Line("The printer-setup library refused to install the printer");
        return Stop{ui::kExitFailed};
    }
    run.UpdateBackground();
    run.Refresh();
    run.printer.reset();
    run.UpdateBackground();
    run.Refresh();
    return kGoOn;
}

StepResult ShowFinish(Run& run) {
    // The last record is written: the log as a plain profile file.
    platform::IgnoreFailure(run.log->Finish(), script::kRecordFailureThrows);
    run.env.progress.Hide();
    run.env.windows.show_finish_page();
    run.UpdateBackground();
    return kGoOn;
}

// The order of the run. After each step: what it reads of the run's shared state (the plan and
// the environment aside) -> what it leaves there for the steps after it.
// clang-format off
constexpr NamedStep kSteps[] = {
    {"Showing the progress window", ShowProgress},                  // - -> -
    {"Opening the installation log", OpenLog},                      // - -> log, installation
    {"Recording the installation", RecordHeader},                   // log -> -
    {"Creating folders", MakeFolders},                              // installation -> -
    {"Closing the product's applications", CloseApplications},      // - -> -
    {"Writing the product's location", WriteLocation},              // - -> -
    {"Removing the old virtual printer", RemoveOldPrinter},         // - -> printer
    {"Removing the earlier installation's shortcuts and registry items",
     RemovePreviousItems},                                          // log -> -
    {"Writing internet shortcuts", MakeInternetShortcuts},          // log -> -
    {"Noting the shared files the earlier installation counted",
     NoteCountedSharedFiles},                                       // - -> shared_files_counted
    {"Copying files", CopyFiles},                                   // installation -> -
    {"Counting shared files", CountSharedFiles},                    // shared_files_counted -> -
    {"Creating shortcuts", MakeShortcuts},                          // log, installation -> -
    {"Registering the uninstall entry", RegisterUninstall},         // log, installation -> -
    {"Registering file types", RegisterTypes},                      // log -> -
    {"Registering the application path", RegisterApplicationPaths}, // - -> -
    {"Converting the earlier version's data", ConvertOldData},      // - -> converted_log_count
    {"Writing the product settings", WriteSettings},                // log, converted_log_count -> -
    {"Installing the virtual printer", InstallPrinter},             // printer -> printer released
    {"Showing the finish page", ShowFinish},                        // - -> -
};
// clang-format on

// An operation the steps do not check failed (a registry value or log record not written): the
// one place where such a failure becomes the run's stop.
StepResult RunStep(const NamedStep& step, Run& run) {
    try {
        return step.run(run);
    } catch (const std::exception& error) {
        return run.Failed(error.what());
    }
}

}  // namespace

void RunInstallation(const InstallationPlan& chosen, const RunEnvironment& environment) {
    platform::Trace& trace = environment.platform.trace;
    InstallationPlan plan = chosen;
    plan.folders = RecordableFolders(std::move(plan.folders), environment.platform.files,
                                     environment.platform.codec, trace);
    Run run{.plan = plan, .env = environment};
    TracePlan(plan, trace);
    for (const NamedStep& step : kSteps) {
        trace.Line(std::string("Step: ") + step.name);
        if (const StepResult stop = RunStep(step, run)) {
            // The wizard is hidden and the progress window cannot be closed: the program ends.
            trace.Line("Run stopped: exit code " + std::to_string(stop->exit_code));
            environment.application.SetShowMainWindow(false);
            environment.application.Terminate(stop->exit_code);
            return;
        }
    }
}

}  // namespace install
