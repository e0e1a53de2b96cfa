#include "uninstall/uninstall_run.h"

#include <cstdint>
#include <optional>

#include "install/running_applications.h"
#include "language/format.h"
#include "language/message_dialogs.h"

namespace uninstall {
namespace {

namespace keys = language::keys;
using ui::DialogButton;

// At most this many lines in the last message; the account of the run holds them all.
constexpr std::size_t kLinesShown = 12;
// The queue is drained at most this often while files go, so that the windows keep answering.
constexpr std::uint64_t kDrainIntervalMs = 50;

const language::TextKey& StepCaption(Step step) {
    switch (step) {
        case Step::ProductLibraries:
            return keys::cUnLibraries;
        case Step::Shortcuts:
            return keys::cUnShortcuts;
        case Step::Files:
            return keys::cUnFiles;
        case Step::SharedFiles:
            return keys::cUnSharedFiles;
        case Step::Registry:
            return keys::cUnRegistry;
        case Step::Folders:
            break;
    }
    return keys::cUnFolders;
}

// The line of the last message for an item left; nothing for the shared files, which stay for
// the other programs that use them.
std::string LeftLine(const LeftItem& item, const language::Language& language) {
    const auto line = [&](const language::TextKey& key, const std::string& what) {
        return language::FormatText(language.Lookup(key), {what});
    };
    // A refused record names its section: "[file] C:\...".
    const std::string record = item.what.substr(item.what.find(']') + 2);
    switch (item.kind) {
        case LeftItem::Kind::Failed:
            return line(keys::cUnNotRemoved, item.what);
        case LeftItem::Kind::UserContent:
            return line(keys::cUnUserFiles, item.what);
        case LeftItem::Kind::Kept:
            return line(keys::cUnBackupKept, record);
        case LeftItem::Kind::Refused:
            return line(keys::cUnRefused, item.what);
        case LeftItem::Kind::Shared:
            break;
    }
    return {};
}

void ShowLastMessage(const RemovalOutcome& outcome, const Installation& installation,
                     const UninstallEnvironment& env) {
    const language::Language& language = env.language;
    std::string lines;
    std::size_t shown = 0;
    for (const LeftItem& item : outcome.left) {
        const std::string line = LeftLine(item, language);
        if (line.empty())
            continue;
        if (shown++ < kLinesShown)
            lines += "\n" + line;
        else if (shown == kLinesShown + 1)
            lines += "\n...";
    }
    const language::TextKey& key = lines.empty() ? keys::cUnDone : keys::cUnLeft;
    language::ShowMessageDialog(
        env.dialogs, language, key.key,
        language::FormatText(language.Lookup(key), {installation.title}) + lines,
        lines.empty() ? ui::DialogKind::Information : ui::DialogKind::Warning, {DialogButton::Ok});
}

}  // namespace

void SelectInstallationLanguage(language::Language& language, const platform::Platform& platform,
                                const std::string& folder) {
    const std::string name =
        platform::LoadProfile(platform.files, platform.codec, folder + "\\" + kSettingsFileName)
            .Read("User", "Language");
    language.BuildList(name);
    const int index = language.InitialIndex(name);
    if (!name.empty() && index >= 0 && platform::EqualsIgnoreCase(language.List()[index], name)) {
        language.Select(index);
        return;
    }
    // A language whose file is gone: the built-in one, never "?" + key.
    language.BuildList(language::kBuiltInLanguage);
    language.Select(language.InitialIndex(language::kBuiltInLanguage));
}

namespace {

// The installation log of the folder; nullopt, with the error shown, when it cannot be read.
std::optional<platform::Profile> ReadLog(const std::string& folder,
                                         const UninstallEnvironment& env) {
    const platform::Platform& platform = env.platform;
    const std::string log_path = folder + "\\" + kLogFileName;
    const platform::Result<std::string> log_text = platform.files.ReadFile(log_path);
    if (!log_text) {
        platform.trace.Line("Installation log not read: " + log_path);
        language::ShowErrorBox(
            env.dialogs, env.language,
            language::FormatText(env.language.Lookup(keys::cUnNoLog), {log_path}),
            keys::cUnNoLog.key);
        return std::nullopt;
    }
    return platform::Profile::Parse(platform.codec.AnsiToUtf8(*log_text));
}

bool Confirmed(const Installation& installation, const UninstallEnvironment& env) {
    const language::Language& language = env.language;
    return language::ShowMessageDialog(
               env.dialogs, language, keys::cUnQuestion.key,
               language::FormatText(language.Lookup(keys::cUnQuestion), {installation.title}),
               ui::DialogKind::Confirmation,
               {DialogButton::Yes, DialogButton::No}) == DialogButton::Yes;
}

// The progress window shown while the product's applications are asked to close; false when
// the user aborted because they stayed.
bool ApplicationsClosed(const Installation& installation, const UninstallEnvironment& env) {
    const language::Language& language = env.language;
    script::CopyFilesForm& progress = env.progress;
    progress.SetCaption(
        language::FormatText(language.Lookup(keys::cUnCaption), {installation.title}));
    progress.SetStep(
        language::FormatText(language.Lookup(keys::cCloseAppCap), {installation.product_name}) +
        "...");
    progress.Show();
    env.refresh();
    install::InstallationPlan plan;
    plan.config.product_name = installation.product_name;
    if (install::CloseProductApplications(plan, env.platform, language, env.dialogs)) {
        progress.Hide();
        return false;
    }
    return true;
}

// Carries out the plan: each step's caption shown, the windows kept answering.
RemovalOutcome Remove(const RemovalPlan& removal, const UninstallEnvironment& env) {
    const platform::Platform& platform = env.platform;
    std::uint64_t drained = platform.clock.Milliseconds();
    RemovalOutcome outcome =
        CarryOut(removal, platform,
                 {.step =
                      [&](Step step) {
                          env.progress.SetStep(env.language.Lookup(StepCaption(step)) + "...");
                          env.refresh();
                      },
                  .done =
                      [&](const Operation&) {
                          if (platform.clock.Milliseconds() - drained < kDrainIntervalMs)
                              return;
                          drained = platform.clock.Milliseconds();
                          env.application.DrainMessages();
                      },
                  .hand_over = env.hand_over});
    env.progress.Hide();
    return outcome;
}

}  // namespace

UninstallResult RunUninstall(const std::string& folder, const install::SystemFolders& folders,
                             const UninstallEnvironment& env) {
    const std::optional<platform::Profile> log = ReadLog(folder, env);
    if (!log)
        return UninstallResult::NoInstallation;
    Installation installation = ReadInstallation(env.platform, folder, *log, folders);
    installation.find_printer_driver_dir = env.find_printer_driver_dir;
    env.platform.trace.Line("Installation: " + installation.title + " in " + folder);
    if (!Confirmed(installation, env))
        return UninstallResult::Declined;
    if (!ApplicationsClosed(installation, env))
        return UninstallResult::Aborted;
    auto plan = PlanRemoval(*log, installation, env.platform);
    if (env.removal_begins)
        env.removal_begins();
    const RemovalOutcome outcome = Remove(plan, env);
    ShowLastMessage(outcome, installation, env);
    return outcome.Incomplete() ? UninstallResult::Incomplete : UninstallResult::Removed;
}

}  // namespace uninstall
