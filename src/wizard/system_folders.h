#pragma once
// The system folders found at start and the traces of an earlier product version.
#include <string>
#include <vector>

#include "install/installation_plan.h"
#include "platform/platform.h"

namespace wizard {

using install::SystemFolders;

// Shell-folder identifiers asked on the NT family.
inline constexpr int kCommonPrograms = 23;
inline constexpr int kCommonDesktop = 25;
inline constexpr int kAppData = 26;

// One trailing backslash removed.
std::string WithoutTrailingBackslash(std::string path);
// A backslash added unless the path ends with one.
std::string WithTrailingBackslash(std::string path);

// "ProgramFilesDir" of the Windows key with a trailing backslash; "C:\" when it is empty.
std::string ReadProgramFilesDir(const platform::Registry& registry);

// The destination an earlier installation left in App Paths: "Path", deleted once read, else
// the value named after the product; empty when neither holds one.
std::string TakeAppPathsDestination(platform::Registry& registry, const std::string& product_name);

// SendTo, desktop, programs and Quick Launch folders, by platform code.
void FindShellFolders(const platform::Platform& platform, int platform_code,
                      SystemFolders& folders);

// The names of the sub-folders of the programs folder.
std::vector<std::string> ListProgramGroups(const platform::FileSystem& files,
                                           const std::string& programs_dir);

enum class DriverFolderOutcome { Found, SpoolerStopped, Unknown };

// The printer-driver folder from the spooler: error 1722 means the print spooler or the remote
// procedure call service is stopped; any other failure, an exception included, leaves it unknown.
DriverFolderOutcome FindPrinterDriverDir(const platform::System& system, std::string& folder);

// The fall-back when the spooler gave none.
std::string FallbackPrinterDriverDir(const std::string& system_dir, int platform_code);

}  // namespace wizard
