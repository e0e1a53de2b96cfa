#include "install/recordable_folders.h"

namespace install {

SystemFolders RecordableFolders(SystemFolders folders, const platform::FileSystem& files,
                                const platform::TextCodec& codec, platform::Trace& trace) {
    for (std::string* folder : {&folders.programs_dir, &folders.desktop_dir,
                                &folders.quick_launch_dir, &folders.send_to_dir}) {
        if (platform::InCodePage(codec, *folder))
            continue;
        const std::string short_form = files.ShortPath(*folder).value_or("");
        if (!short_form.empty() && platform::InCodePage(codec, short_form)) {
            trace.Line("Outside the code page, named by its short form " + short_form + ": " +
                       *folder);
            *folder = short_form;
        } else {
            trace.Line("Nothing made in " + *folder +
                       ": outside the code page, and no short form the installation log can "
                       "hold");
            folder->clear();
        }
    }
    return folders;
}

}  // namespace install
