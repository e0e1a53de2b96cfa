#pragma once
// One shell link, made and recorded in the installation log.
#include <string>

#include "platform/system.h"
#include "script/install_log.h"

namespace script {

// Saves the link and records it in [file]: "1" when saved, "0" when the save failed; nothing
// when the link could not be made (a target no link can name), or when the link's folder is empty
// (no such folder on this system), since then no file was written anywhere. Never reports an error.
void CreateShortcut(platform::Shell& shell, InstallLog& log, const std::string& target,
                    const std::string& arguments, const std::string& link_file,
                    const std::string& working_directory);

}  // namespace script
