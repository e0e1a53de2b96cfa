#pragma once
// Clean-up before installing into a folder that already holds an installation: the shortcuts
// and registry items that the earlier run recorded are removed, so that this run makes them
// anew. The records themselves stay in the log.
//
// The log is a file in the user's folder and may be damaged or planted, so only the records that
// the removal rules allow are acted on (see removal_rules.h); any other record is left alone and
// the account says why. Failed deletions are ignored.
#include "install/installation_plan.h"
#include "install/removal_rules.h"
#include "platform/platform.h"
#include "script/install_log.h"

namespace install {

// Deletes the shortcut files named by the lines "file: <path>" of the older install.log in the
// installation folder, and by the [file] keys of the log.
void RemovePreviousShortcuts(const RemovalRules& rules, const platform::Platform& platform,
                             const script::InstallLog& log);

// Deletes the keys of [lregkey] below HKLM and of [cregkey] below HKCR, each with its subkeys,
// and the values of [lregvalue] ("key|value") in keys below HKLM that still exist.
void RemovePreviousRegistryEntries(const RemovalRules& rules, const platform::Platform& platform,
                                   const script::InstallLog& log);

}  // namespace install
