#include "install/product_settings.h"

#include <algorithm>
#include <stdexcept>

#include "install/unchecked.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace install {

namespace {

constexpr char kSettingsFile[] = "zinkolar.ini";
// [Report] "Records" is never set below this.
constexpr int kMinimumLogRecords = 1000;

// A key with an empty value counts as missing: the product could not use it.
void WriteWhenMissing(platform::Profile& settings, std::string_view section, std::string_view key,
                      const std::string& value) {
    if (settings.Read(section, key).empty())
        settings.Write(section, key, value);
}

}  // namespace

std::string FindAffiliateCode(const platform::System& system, std::string_view prefix) {
    if (prefix.empty())
        return {};
    const auto names = system.ProcessNames();
    if (!names)
        return {};
    const std::string folded_prefix = platform::ToLower(prefix);
    for (const std::string& name : *names) {
        const std::size_t underscore = name.find('_');
        if (underscore == std::string::npos || !platform::ToLower(name).starts_with(folded_prefix))
            continue;
        const std::string code = name.substr(underscore + 1);
        return code.substr(0, code.find('.'));
    }
    return {};
}

void WriteProductSettings(const InstallationPlan& plan, const platform::Platform& platform,
                          script::InstallLog& log, int converted_log_count) {
    const SetupConfig& config = plan.config;
    const std::string path = plan.destination + "\\" + kSettingsFile;
    std::optional<platform::Profile> read =
        platform::ReadProfile(platform.files, platform.codec, path);
    if (!read) {
        // Written over, the user's settings would be lost: the file stays as it is.
        throw std::runtime_error("Cannot read " + path);
    }
    platform::Profile& settings = *read;
    settings.Write("History", "Title", config.product_name);
    settings.Write("History", "ProductName", config.product_name);
    settings.Write("History", "Version", config.version_number);
    settings.Write("User", "Language", plan.language);
    settings.Write("Setup", "Instructions", config.instructions_file);
    WriteWhenMissing(settings, "Send", "SendPath", plan.destination + "\\OUT\\");
    WriteWhenMissing(settings, "Report", "Records",
                     std::to_string(std::max(converted_log_count, kMinimumLogRecords)));
    if (const std::string code = FindAffiliateCode(platform.system, config.search_sub_str);
        !code.empty())
        settings.Write("User", "Affiliate", code);
    platform::IgnoreFailure(log.LogItem(script::kLogFile, path, true),
                            script::kRecordFailureThrows);
    // Under a fresh name until whole, then in place of the old file in one step.
    WriteFileOrThrow(platform.files, path, platform::ProfileBytes(platform.codec, settings));
    platform.trace.Line("Settings written: " + path);
}

}  // namespace install
