#include "install/previous_installation.h"

#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"
#include "script/trace_text.h"

namespace install {

namespace {

using platform::RegistryRoot;

// The run's registry tells the account of every deletion; an earlier item that stays is no
// reason to stop installing.
constexpr char kEarlierItemStays[] = "the account tells of it; the installation goes on";

// Tells the account of a record passed over.
void TraceKept(const platform::Platform& platform, std::string_view section,
               std::string_view record, const Verdict& verdict) {
    platform.trace.Line("Earlier record kept: [" + std::string(section) + "] " +
                        std::string(record) + ": " + std::string(verdict.reason));
}

}  // namespace

void RemovePreviousShortcuts(const RemovalRules& rules, const platform::Platform& platform,
                             const script::InstallLog& log) {
    const auto remove = [&](std::string_view section, const std::string& file) {
        // Only names of shortcut files are worth a word in the account.
        if (!file.ends_with(".lnk"))
            return;
        if (const Verdict verdict = rules.Shortcut(file, platform.shell); !verdict) {
            TraceKept(platform, section, file, verdict);
            return;
        }
        const platform::Result<void> status = platform.files.DeleteFile(file);
        platform.trace.Line(status ? "Earlier shortcut removed: " + file
                                   : "Earlier shortcut not removed: " + file + ": " +
                                         script::ErrorText(status));
    };
    // The older installer's log: lines "file: <path>".
    constexpr std::string_view kFileLine = "file: ";
    const std::string old_log_path = rules.InstallationFolder() + "\\install.log";
    if (const auto old_log = platform.files.ReadFile(old_log_path)) {
        const std::string text = platform.codec.AnsiToUtf8(*old_log);
        for (const std::string_view line : platform::SplitLines(text)) {
            if (line.starts_with(kFileLine))
                remove("install.log", std::string(line.substr(kFileLine.size())));
        }
    }
    for (const std::string& file : log.Keys(script::kLogFile))
        remove(script::kLogFile, file);
}

void RemovePreviousRegistryEntries(const RemovalRules& rules, const platform::Platform& platform,
                                   const script::InstallLog& log) {
    platform::Registry& registry = platform.registry;
    for (const std::string& key : log.Keys(script::kLogLocalKey)) {
        if (const Verdict verdict = rules.LocalKey(key))
            platform::IgnoreFailure(registry.DeleteTree(RegistryRoot::LocalMachine, key),
                                    kEarlierItemStays);
        else
            TraceKept(platform, script::kLogLocalKey, key, verdict);
    }
    for (const std::string& key : log.Keys(script::kLogClassesKey)) {
        if (const Verdict verdict = rules.ClassesKey(key))
            platform::IgnoreFailure(registry.DeleteTree(RegistryRoot::ClassesRoot, key),
                                    kEarlierItemStays);
        else
            TraceKept(platform, script::kLogClassesKey, key, verdict);
    }
    for (const std::string& record : log.Keys(script::kLogLocalValue)) {
        const Verdict verdict = rules.LocalValue(record);
        if (!verdict) {
            TraceKept(platform, script::kLogLocalValue, record, verdict);
            continue;
        }
        const ValueRecord value = *SplitValueRecord(record);
        if (registry.KeyExists(RegistryRoot::LocalMachine, value.key))
            platform::IgnoreFailure(
                registry.DeleteValue(RegistryRoot::LocalMachine, value.key, value.value),
                kEarlierItemStays);
    }
}

}  // namespace install
