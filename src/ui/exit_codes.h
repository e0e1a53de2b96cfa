#pragma once
// The program's exit codes, for setup and the uninstaller. The wizard ends with 0, 1 on a
// failure, or the cancellation's code; an unattended run reports in the conventions that
// deployment tools read.

namespace ui {

inline constexpr int kExitSuccess = 0;
// The wizard's failure: a broken distribution, a run that could not go on.
inline constexpr int kExitFailed = 1;
// Unknown switch, language or type, a folder the wizard refuses: nothing was installed.
inline constexpr int kExitBadUsage = 2;
// Cancelled, or a question declined (a confirmed Cancel, an abort while the product's
// applications run), which deployment tools and package managers read as such.
inline constexpr int kExitCancelled = 1602;
// A fatal error, or any error message of an unattended run (a file that could not be copied).
inline constexpr int kExitFatal = 1603;
// Another setup or uninstaller is running; a wizard's start brings it to the front. Not 0: a
// package manager that started the wizard would report an installation that never ran as done.
inline constexpr int kExitAnotherSetup = 1618;

// The code of an unattended installation that the program ended with `program_code`: success is
// only reached past the installation, so an end with 0 is a cancellation (a declined question),
// as is the user's cancellation, and any other end a failure.
constexpr int UnattendedExitCode(int program_code) {
    return program_code == kExitSuccess || program_code == kExitCancelled ? kExitCancelled
                                                                          : kExitFatal;
}

}  // namespace ui
