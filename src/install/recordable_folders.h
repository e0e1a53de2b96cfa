#pragma once
// The system's folders that the run makes shortcuts in, as the installation log can name them.
// The log is written in the ANSI code page; a user profile whose name lies outside it would be
// recorded as another folder, which the uninstaller would then act on.
#include "install/installation_plan.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/trace.h"

namespace install {

// The programs, desktop, Quick Launch and SendTo folders, each as it is when the code page holds
// it, else in its short 8.3 form when the volume gives one that the code page holds; else empty,
// so that nothing is made in it, and the account of the run says so.
SystemFolders RecordableFolders(SystemFolders folders, const platform::FileSystem& files,
                                const platform::TextCodec& codec, platform::Trace& trace);

}  // namespace install
