#pragma once
// What tells the system where the product lives: the win.ini [Kelmo] entries, the product's
// registry key, the uninstall entry, the App Paths value and the word-processor values.
// Registry paths are relative to their root; every value is a string but the uninstall entry's
// size and flags.
#include <cstdint>
#include <string>

#include "install/installation_plan.h"
#include "language/language.h"
#include "platform/platform.h"
#include "script/install_log.h"
#include "ui/message_dialog.h"

namespace install {

inline constexpr char kUninstallRoot[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
// Written without records; the uninstaller removes them while they name its folder.
inline constexpr char kProductKey[] = "SOFTWARE\\Kelmo\\Zinkolar";
inline constexpr char kWinIniSection[] = "Kelmo";
inline constexpr char kAppPathsKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zinkolar.exe";
// Followed by ShortProductName.
inline constexpr const char* kWordKeys[] = {"Software\\Microsoft\\Office\\8.0\\Word\\",
                                            "Software\\Microsoft\\Office\\9.0\\Word\\"};

// "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\" + EditionName + " " + VersionNumber
// (the blank stays also with an empty version).
std::string UninstallKey(const InstallationPlan& plan);

// win.ini [Kelmo] "Path" and "Version", then HKLM "SOFTWARE\Kelmo\Zinkolar" "Path" and
// "DataPath". A failed win.ini write shows "mesErWinIni" with the error code (and "Version" is
// not tried after "Path" failed); a product key that cannot be opened shows "mesErReg". Neither
// stops the run and neither is recorded in the log.
void WriteProductLocation(const InstallationPlan& plan, const platform::Platform& platform,
                          const language::Language& language, ui::MessageDialogs& dialogs);

// The platform's uninstall entry below HKLM UninstallKey(), recorded in [lregkey] with whether
// the key opened. Its "EstimatedSize" is installed_bytes in whole KB, rounded up. Throws
// std::runtime_error when a value cannot be written.
void WriteUninstallEntry(const InstallationPlan& plan, platform::Registry& registry,
                         script::InstallLog& log, const language::Language& language,
                         std::int64_t installed_bytes);

// The App Paths value (read back as the proposed folder of a later run) and the word
// processor's "Flags" values, which are left out without a ShortProductName. Not recorded.
// Throws std::runtime_error when a value cannot be written.
void WriteApplicationPaths(const InstallationPlan& plan, platform::Registry& registry);

}  // namespace install
