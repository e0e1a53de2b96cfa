#include "uninstall/uninstall_run.h"

#include <cstdint>

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

UninstallResult RunUninstall(const std::string& folder, const install::SystemFolders& folders,
                             const UninstallEnvironment& env) {
    const platform::Platform& platform = env.platform;
    const language::Language& language = env.language;
    const std::string log_path = folder + "\\" + kLogFileName;
    const platform::Result<std::string> log_text = platform.files.ReadFile(log_path);
    if (!log_text) {
        platform.trace.Line("Installation log not read: " + log_path);
        language::ShowErrorBox(env.dialogs, language,
                               language::FormatText(language.Lookup(keys::cUnNoLog), {log_path}),
                               keys::cUnNoLog.key);
        return UninstallResult::NoInstallation;
    }
    const platform::Profile log = platform::Profile::Parse(platform.codec.AnsiToUtf8(*log_text));
    const Installation installation = ReadInstallation(platform, folder, log, folders);
    platform.trace.Line("Installation: " + installation.title + " in " + folder);

    if (language::ShowMessageDialog(
            env.dialogs, language, keys::cUnQuestion.key,
            language::FormatText(language.Lookup(keys::cUnQuestion), {installation.title}),
            ui::DialogKind::Confirmation,
            {DialogButton::Yes, DialogButton::No}) != DialogButton::Yes)
        return UninstallResult::Declined;

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
    if (install::CloseProductApplications(plan, platform, language, env.dialogs)) {
        progress.Hide();
        return UninstallResult::Aborted;
    }

    const RemovalPlan removal = PlanRemoval(log, installation, platform);
    std::uint64_t drained = platform.clock.Milliseconds();
    const RemovalOutcome outcome = CarryOut(
        removal, platform,
        {.step =
             [&](Step step) {
                 progress.SetStep(language.Lookup(StepCaption(step)) + "...");
                 env.refresh();
             },
         .done =
             [&](const Operation&) {
                 if (platform.clock.Milliseconds() - drained < kDrainIntervalMs)
                     return;
                 drained = platform.clock.Milliseconds();
                 env.application.DrainMessages();
             },
         .before_uninstaller =
             [&](const RemovalOutcome& so_far) {
                 if (env.before_uninstaller)
                     env.before_uninstaller(so_far.Incomplete() ? UninstallResult::Incomplete
                                                                : UninstallResult::Removed);
             }});
    progress.Hide();
    ShowLastMessage(outcome, installation, env);
    return outcome.Incomplete() ? UninstallResult::Incomplete : UninstallResult::Removed;
}

}  // namespace uninstall
