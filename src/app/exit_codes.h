#pragma once
// The program's exit codes. The wizard ends with 0, 1 on a failure, or the cancellation's code;
// an unattended installation reports in the conventions that deployment tools read.

#include "ui/form.h"

namespace app {

inline constexpr int kExitSuccess = 0;
// Unknown switch, language or type, a folder the wizard refuses: nothing was installed.
inline constexpr int kExitBadUsage = 2;
// Cancelled, or a question declined.
inline constexpr int kExitCancelled = ui::kExitCancelledByUser;
// A fatal error, or any error message of the run (a file that could not be copied, say).
inline constexpr int kExitFatal = 1603;
// Another setup is running.
inline constexpr int kExitUnattendedAnotherSetup = 1618;
// The wizard's start that found another setup running: that setup is brought to the front.
inline constexpr int kExitAnotherSetupRunning = 0;

// The code of an unattended installation that the program ended with `program_code`: success is
// only reached past the installation, so an end with 0 is a cancellation (a declined question),
// as is the user's cancellation, and any other end a failure.
constexpr int UnattendedExitCode(int program_code) {
    return program_code == 0 || program_code == kExitCancelled ? kExitCancelled : kExitFatal;
}

}  // namespace app
