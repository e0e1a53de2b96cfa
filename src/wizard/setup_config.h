#pragma once
// The distribution's configuration, read from setup.ini [main] at start, with the values the
// branding library and the installation type add to it.
#include <cstdint>
#include <string>

#include "platform/profile.h"

namespace wizard {

struct SetupConfig {
    std::string source_dir;  // the distribution folder, without trailing backslash
    std::string product_name;
    std::string version_number;
    int version_code = 0;
    std::int32_t need_disk_space = 0;  // bytes
    std::string install_path;          // relative to the Program Files folder
    bool voice_version = true;
    std::string mail_to;
    std::string home_page;
    std::string tutorial;
    std::string language;
    std::string search_sub_str;
    int platform_code = 0;  // 1 Windows 95/98/Me, 2 NT 4, 3 Windows 2000 or later
    std::string short_product_name;
    bool client_server = false;
    std::string license_file;
    std::string instructions_file;
    std::string script_file_name;
    std::string edition_suffix;  // " Server", " Client" or empty
    std::string help_file;
};

inline constexpr char kSetupIni[] = "setup.ini";
inline constexpr char kDefaultMailTo[] = "support@zinkolar.ru";
inline constexpr char kDefaultHomePage[] = "www.zinkolar.ru";

// The [main] keys with their defaults; a missing file reads as all defaults.
SetupConfig ReadSetupConfig(const platform::Profile& setup_ini, std::string source_dir);

// The product name, the edition and, when there is one, a blank and the version number.
std::string DefaultGroupName(const SetupConfig& config);

// The folder of a file path, one trailing backslash removed.
std::string FolderOf(const std::string& path);

}  // namespace wizard
