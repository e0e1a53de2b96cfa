#pragma once
// One setup at a time: two runs installing into the same machine at once would interleave their
// files, registry entries and installation logs.
#include "ui/exit_codes.h"

namespace app {

// True for the first setup started. A later one brings the running setup's window to the front
// (when show_running is true) and gets false. The mark is held until the process ends.
bool ClaimSingleSetup(bool show_running);

}  // namespace app
