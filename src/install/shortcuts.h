#pragma once
// The product's entry points: the internet shortcuts in the installation folder, the program
// group in the Start menu, and the SendTo, desktop and Quick Launch shortcuts. Every file made is
// recorded in [file] of the installation log, which the product's uninstaller reads.
#include <functional>
#include <string>

#include "install/installation_plan.h"
#include "language/language.h"
#include "platform/platform.h"
#include "script/install_log.h"

namespace install {

// Writes zinkolar.url, mailto.url and, when the distribution names a tutorial, tutorial.url
// into the installation folder, each replacing an older one and recorded right after it is
// written. Throws std::runtime_error (path and platform error) when a file cannot be written.
void WriteInternetShortcuts(const InstallationPlan& plan, platform::FileSystem& files,
                            const platform::TextCodec& codec, script::InstallLog& log);

// The help file the help shortcut opens: the language file's [COMMON] "ZinkolarHelp" when a
// language other than the built-in one is current and names one, else the configured file.
std::string HelpFileName(const InstallationPlan& plan, const language::Language& language);

// Makes the shortcuts in their fixed order: with Start-menu shortcuts chosen, the group folder
// (recorded in [folder]) with the product's shortcuts, then the script's own shortcuts through
// `create_common_shortcuts`(group folder); the SendTo shortcut always; the desktop and Quick
// Launch shortcuts when chosen. A shortcut whose folder is unknown on this system (empty) is
// not made. Failures of single shortcuts are silent, as script::CreateShortcut is.
void CreateProductShortcuts(const InstallationPlan& plan, const platform::Platform& platform,
                            script::InstallLog& log, const language::Language& language,
                            const std::function<void(const std::string&)>& create_common_shortcuts);

}  // namespace install
