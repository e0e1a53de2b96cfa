#pragma once
// What a step of the installation or the uninstallation answers: go on with the next step, or
// stop the run. Only the run's loop acts on a stop: a step never ends the program itself.
#include <optional>

namespace install {

// A run that ends before its last step: the program ends with the exit code (ui/exit_codes.h)
// without showing its main window again; whatever the stop had to say has been shown.
struct Stop {
    int exit_code;
};

// Empty: go on.
using StepResult = std::optional<Stop>;
inline constexpr StepResult kGoOn = std::nullopt;

}  // namespace install
