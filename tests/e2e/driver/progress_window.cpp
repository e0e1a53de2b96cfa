#include "progress_window.h"

#include <algorithm>

namespace e2e {

std::optional<bool> ProgressCopying(const SetupProcess& setup) {
    const std::optional<RemoteWindow> progress = setup.FindTopLevel(kProgressClass);
    if (!progress || !progress->Visible()) {
        return std::nullopt;
    }
    const std::vector<RemoteWindow> children = progress->Children();
    return std::any_of(children.begin(), children.end(), [](const RemoteWindow& child) {
        return child.ClassName() == "msctls_progress32" && child.Visible();
    });
}

}  // namespace e2e
