#pragma once
// zkconvert: converts a version-4 installation's data (phone books, log book, schedule) into a
// new installation folder without running the setup program, for support staff.
//
//   zkconvert [--old-version V] [--phonebooks yes|no] [--logbook yes|no] [--report FILE]
//             OLD_FOLDER NEW_FOLDER
//
// A file in NEW_FOLDER that a conversion replaces is kept first as NAME.bak (NAME.2.bak ...), and
// the console is told so. Exit status: 0 when every conversion that ran succeeded or was
// declined, 1 when OLD_FOLDER holds nothing to convert or one reported an error (or the report
// could not be written), 2 for bad usage.
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"

namespace zkconvert {

int Run(const std::vector<std::string>& arguments, platform::FileSystem& files,
        const platform::TextCodec& codec, std::istream& in, std::ostream& out);

}  // namespace zkconvert
