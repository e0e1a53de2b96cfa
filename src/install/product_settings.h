#pragma once
// The product settings file zinkolar.ini in the installation folder, which the product's
// applications read. The installer sets its own entries and keeps everything else of an
// existing file.
#include <string>
#include <string_view>

#include "install/installation_plan.h"
#include "platform/platform.h"
#include "script/install_log.h"

namespace install {

// The affiliate code in the name of a running process: for a name that begins with `prefix`
// (letter case ignored) and holds "_", the part after the first "_" up to its first ".".
// Empty when no process matches, the processes cannot be listed, or the prefix is empty.
std::string FindAffiliateCode(const platform::System& system, std::string_view prefix);

// Loads zinkolar.ini (none is an empty one; one that is there but cannot be read throws, and
// nothing is written), sets [History], [User] "Language", [Setup]
// "Instructions", adds [Send] "SendPath" and [Report] "Records" only when missing and
// [User] "Affiliate" when a code is found, records the file in [file] and writes it back
// through a temporary file, so an interrupted write never leaves the user's settings
// half-written. `converted_log_count` is the number of old log records converted in this run.
// Throws std::runtime_error when the file cannot be written.
void WriteProductSettings(const InstallationPlan& plan, const platform::Platform& platform,
                          script::InstallLog& log, int converted_log_count);

}  // namespace install
