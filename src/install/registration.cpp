#include "install/registration.h"

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <utility>

#include "install/command_line.h"
#include "install/unchecked.h"
#include "language/format.h"
#include "language/message_dialogs.h"
#include "script/trace_text.h"

namespace install {

namespace {

using platform::RegistryRoot;
namespace keys = language::keys;

// Values of a key the caller opened without checking: the first write into a key that did not
// open throws.
void WriteValues(platform::Registry& registry, const std::string& key,
                 std::initializer_list<std::pair<const char*, std::string>> values) {
    for (const auto& [name, data] : values)
        WriteStringOrThrow(registry, RegistryRoot::LocalMachine, key, name, data);
}

// Kilobytes, rounded up; a size beyond the value's range shows as the largest it holds.
std::uint32_t WholeKilobytes(std::int64_t bytes) {
    const std::int64_t kilobytes = (std::max<std::int64_t>(bytes, 0) + 1023) / 1024;
    return static_cast<std::uint32_t>(
        std::min<std::int64_t>(kilobytes, std::numeric_limits<std::uint32_t>::max()));
}

}  // namespace

std::string UninstallKey(const InstallationPlan& plan) {
    return kUninstallRoot + plan.Title();
}

void WriteProductLocation(const InstallationPlan& plan, const platform::Platform& platform,
                          const language::Language& language, ui::MessageDialogs& dialogs) {
    const auto write_win_ini = [&](const char* key, const std::string& value) {
        platform::Result<void> status = platform.system.WriteWinIni(kWinIniSection, key, value);
        const std::string entry = std::string("[") + kWinIniSection + "] " + key + "=" + value;
        platform.trace.Line(status ? "win.ini " + entry
                                   : "win.ini write failed: " + entry + ": " +
                                         script::ErrorText(status));
        return status;
    };
    platform::Result<void> status = write_win_ini("Path", plan.destination);
    if (status)
        status = write_win_ini("Version", plan.config.version_number);
    if (!status)
        language::ShowErrorBox(dialogs, language,
                               language::FormatText(language.Lookup(keys::mesErWinIni),
                                                    {std::to_string(status.code())}));

    if (platform.registry.CreateKey(RegistryRoot::LocalMachine, kProductKey))
        WriteValues(platform.registry, kProductKey,
                    {{"Path", plan.destination}, {"DataPath", plan.destination}});
    else
        language::ShowErrorBox(dialogs, language, language.Lookup(keys::mesErReg));
}

void WriteUninstallEntry(const InstallationPlan& plan, platform::Registry& registry,
                         script::InstallLog& log, const language::Language& language,
                         std::int64_t installed_bytes) {
    const SetupConfig& config = plan.config;
    const std::string key = UninstallKey(plan);
    const std::string uninstaller = QuotedWhenBlank(plan.destination + "\\zkuninst.exe");
    platform::IgnoreFailure(log.LogItem(script::kLogLocalKey, key,
                                        registry.CreateKey(RegistryRoot::LocalMachine, key).Ok()),
                            script::kRecordFailureThrows);
    WriteValues(
        registry, key,
        {
            {"DisplayName", plan.Title() + " (" + language.Lookup(keys::cDelRepFiles) + ")"},
            {"UninstallString", uninstaller},
            // What deployment tools and package managers start to remove the product unseen.
            {"QuietUninstallString", uninstaller + " /VERYSILENT /SUPPRESSMSGBOXES"},
            {"DisplayIcon", plan.destination + "\\zinkolar.exe,0"},
            {"URLInfoAbout", config.home_page},
            {"DisplayVersion", config.version_number},
            {"Publisher", "Kelmo Association"},
            {"HelpLink", "mailto:" + config.mail_to},
            {"InstallLocation", plan.destination},
        });
    // Changing or repairing is not offered: the uninstaller only removes.
    const std::pair<const char*, std::uint32_t> numbers[] = {
        {"EstimatedSize", WholeKilobytes(installed_bytes)}, {"NoModify", 1}, {"NoRepair", 1}};
    for (const auto& [name, number] : numbers)
        WriteDwordOrThrow(registry, RegistryRoot::LocalMachine, key, name, number);
}

void WriteApplicationPaths(const InstallationPlan& plan, platform::Registry& registry) {
    platform::IgnoreFailure(registry.CreateKey(RegistryRoot::LocalMachine, kAppPathsKey),
                            kKeyFailureThrows);
    WriteValues(registry, kAppPathsKey, {{plan.config.product_name.c_str(), plan.destination}});
    // Without a short name the keys would be the word processor's own.
    if (plan.config.short_product_name.empty())
        return;
    for (const char* word_key : kWordKeys) {
        const std::string key = word_key + plan.config.short_product_name;
        platform::IgnoreFailure(registry.CreateKey(RegistryRoot::LocalMachine, key),
                                kKeyFailureThrows);
        WriteValues(registry, key, {{"Flags", "8192"}});
    }
}

}  // namespace install
