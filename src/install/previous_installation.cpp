#include "install/previous_installation.h"

#include <algorithm>
#include <string>
#include <vector>

#include "install/file_types.h"
#include "install/registration.h"
#include "platform/text.h"
#include "script/trace_text.h"

namespace install {

namespace {

using platform::RegistryRoot;

bool IsShortcutFile(std::string_view path) {
    return path.ends_with(".lnk");
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           platform::EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

// An uninstall entry of some product: a named key right below the platform's uninstall list.
bool IsUninstallKey(std::string_view key) {
    constexpr std::string_view root = kUninstallRoot;
    return StartsWithIgnoreCase(key, root) && key.size() > root.size() && key[root.size()] != '\\';
}

bool IsFileTypeKey(std::string_view key) {
    return std::ranges::any_of(kFileTypeTable, [&](const FileTypeEntry& entry) {
        return platform::EqualsIgnoreCase(key, entry.extension) ||
               platform::EqualsIgnoreCase(key, entry.type_key);
    });
}

// The lines of a text file, split at LF, CR LF or a lone CR.
std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
        text.remove_prefix(next);
    }
    return lines;
}

}  // namespace

void RemovePreviousShortcuts(const InstallationPlan& plan, const platform::Platform& platform,
                             const script::InstallLog& log) {
    const auto remove = [&platform](const std::string& file) {
        const platform::Status status = platform.files.DeleteFile(file);
        platform.trace.Line(status ? "Earlier shortcut removed: " + file
                                   : "Earlier shortcut not removed: " + file + ": " +
                                         script::ErrorText(status));
    };
    // The older installer's log: lines "file: <path>".
    constexpr std::string_view kFileLine = "file: ";
    if (const auto old_log = platform.files.ReadFile(plan.destination + "\\install.log")) {
        for (const std::string& line : Lines(platform.codec.AnsiToUtf8(*old_log))) {
            if (line.starts_with(kFileLine) && IsShortcutFile(line))
                remove(line.substr(kFileLine.size()));
        }
    }
    for (const std::string& file : log.Keys(script::kLogFile)) {
        if (IsShortcutFile(file))
            remove(file);
    }
}

void RemovePreviousRegistryEntries(platform::Registry& registry, const script::InstallLog& log) {
    for (const std::string& key : log.Keys(script::kLogLocalKey)) {
        if (IsUninstallKey(key))
            registry.DeleteTree(RegistryRoot::LocalMachine, key);
    }
    for (const std::string& key : log.Keys(script::kLogClassesKey)) {
        if (IsFileTypeKey(key))
            registry.DeleteTree(RegistryRoot::ClassesRoot, key);
    }
    for (const std::string& record : log.Keys(script::kLogLocalValue)) {
        const std::size_t bar = record.find('|');
        if (bar == std::string::npos)
            continue;
        const std::string key = record.substr(0, bar);
        const std::string value = record.substr(bar + 1);
        if (platform::EqualsIgnoreCase(key, kExtensionsKey) && !value.empty() &&
            registry.KeyExists(RegistryRoot::LocalMachine, key))
            registry.DeleteValue(RegistryRoot::LocalMachine, key, value);
    }
}

}  // namespace install
