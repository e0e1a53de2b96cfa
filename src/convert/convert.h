#pragma once
// Conversion of a version-4 installation's data files (phone books, log book, schedule) into the
// current formats. The installation run calls the three in this order after its files are in
// place; each decides by itself whether there is anything to convert, asks the user where it
// must, and reports its own failure. The old installation's files are only read.
#include <cstdint>
#include <functional>
#include <string>

#include "language/language.h"
#include "platform/files.h"
#include "platform/text.h"
#include "ui/message_dialog.h"

namespace convert {

// Where the conversions read and write, and how they speak to the user.
struct Context {
    platform::FileSystem& files;
    const platform::TextCodec& codec;  // the ANSI code page of the texts inside the data files
    const language::Language& language;
    ui::MessageDialogs& dialogs;  // questions and errors use the toolkit's plain dialog
    // Shows a step text in the progress window and repaints it at once.
    std::function<void(const std::string&)> show_progress;
    // Where set, a file that a conversion replaces is kept first as "<name>.bak" ("<name>.2.bak"
    // ... when that is taken), and this is told the copy's path; a file that cannot be kept is
    // not replaced, and the conversion fails. Unset, the file is replaced.
    std::function<void(const std::string&)> keep_replaced = {};
};

// True when old_folder holds what the first two conversions read: a phone book or a log.
bool HasOldData(const platform::FileSystem& files, const std::string& old_folder);

// old_folder and old_version describe the earlier installation (empty folder: there is none),
// new_folder is the new installation folder.
void ConvertPhoneBooks(const Context& context, const std::string& old_folder,
                       const std::string& old_version, const std::string& new_folder);
// Returns ConvertedLogCount: the records written to the new log book, 0 when none ran or it failed.
std::uint32_t ConvertLogBook(const Context& context, const std::string& old_folder,
                             const std::string& old_version, const std::string& new_folder);
// Widens the records of an old schedule left in the new folder, then deletes the old file.
void ConvertSchedule(const Context& context, const std::string& new_folder);

}  // namespace convert
