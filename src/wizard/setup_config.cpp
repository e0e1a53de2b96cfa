#include "wizard/setup_config.h"

#include "platform/text.h"
#include "wizard/system_folders.h"

namespace wizard {
namespace {

constexpr char kMain[] = "main";

}  // namespace

SetupConfig ReadSetupConfig(const platform::Profile& ini, std::string source_dir) {
    const auto text = [&](const char* key, const char* fallback) {
        std::string value = ini.Read(kMain, key);
        return value.empty() ? std::string(fallback) : value;
    };
    const auto integer = [&](const char* key, std::int32_t fallback) {
        return platform::ParseInteger(ini.Read(kMain, key)).value_or(fallback);
    };
    SetupConfig c;
    c.source_dir = std::move(source_dir);
    c.product_name = ini.Read(kMain, "ProductName");
    c.version_number = ini.Read(kMain, "VersionNumber");
    c.version_code = integer("VersionCode", 0);
    c.need_disk_space = integer("NeedDiskSpace", 0);
    c.install_path = ini.Read(kMain, "InstallPath");
    c.voice_version = integer("VoiceVersion", 1) != 0;
    c.mail_to = text("MailTo", kDefaultMailTo);
    c.home_page = text("HomePage", kDefaultHomePage);
    c.tutorial = ini.Read(kMain, "Tutorial");
    c.language = text("Language", "Russian");
    c.search_sub_str = text("SearchSubStr", "zkvh5");
    c.help_file = "zinkolar.hlp";
    return c;
}

std::string DefaultGroupName(const SetupConfig& config) {
    return install::WithVersion(config.product_name + config.edition_suffix, config.version_number);
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('\\');
    return WithoutTrailingBackslash(slash == std::string::npos ? std::string()
                                                               : path.substr(0, slash));
}

}  // namespace wizard
