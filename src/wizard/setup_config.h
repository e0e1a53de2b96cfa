#pragma once
// The distribution's configuration, read from setup.ini [main] at start, with the values the
// branding library and the installation type add to it.
#include <string>

#include "install/installation_plan.h"
#include "platform/profile.h"

namespace wizard {

using install::SetupConfig;

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
