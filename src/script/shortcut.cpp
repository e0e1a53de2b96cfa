#include "script/shortcut.h"

namespace script {

void CreateShortcut(platform::Shell& shell, InstallLog& log, const std::string& target,
                    const std::string& arguments, const std::string& link_file,
                    const std::string& working_directory) {
    // A link into a folder this system does not have (an empty path) would land at the root.
    const std::size_t folder_end = link_file.rfind('\\');
    if (folder_end == std::string::npos || folder_end == 0) {
        return;
    }
    const platform::Result<void> saved =
        shell.CreateLink({target, arguments, working_directory}, link_file);
    if (saved.code() != platform::kErrorNotLinkable) {
        platform::IgnoreFailure(log.LogItem(kLogFile, link_file, saved.Ok()), kRecordFailureThrows);
    }
}

}  // namespace script
