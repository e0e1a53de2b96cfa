#pragma once
// The run's progress window, read without messages: the run holds the program's only thread, so
// only what the window system keeps itself (classes, visibility) can be asked while it works.
#include <optional>
#include <string_view>

#include "setup_process.h"

namespace e2e {

inline constexpr std::string_view kProgressClass = "TCopyFilesForm";

// Nothing while the progress window is hidden; else whether it shows its copy layout (its
// progress bar).
std::optional<bool> ProgressCopying(const SetupProcess& setup);

}  // namespace e2e
