#pragma once
// One setup at a time: two runs installing into the same machine at once would interleave their
// files, registry entries and installation logs.

namespace app {

// The exit code of a start that found another setup running.
inline constexpr int kExitAnotherSetupRunning = 0;

// True for the first setup started. A later one brings the running setup's window to the front
// and gets false. The mark is held until the process ends.
bool ClaimSingleSetup();

}  // namespace app
