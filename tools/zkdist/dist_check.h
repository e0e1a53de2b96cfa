#pragma once
// The release engineer's check of a distribution folder: it reads the folder as the setup
// program will and reports what would fail, show wrongly or be lost at install time.
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"

namespace zkdist {

struct Finding {
    std::string file;  // relative to the distribution folder
    int line = 0;      // 0: the file as a whole
    std::string message;
    bool operator==(const Finding&) const = default;
};

// "file:line: message", or "file: message" for the file as a whole.
std::string FormatFinding(const Finding& finding);

// Every finding, in the order of the files' reading: setup.ini, the scripts, the language files,
// res.dll and the product's libraries. codec is the code page the distribution is made for.
std::vector<Finding> CheckDistribution(const platform::FileSystem& files,
                                       const platform::TextCodec& codec, const std::string& dist);

}  // namespace zkdist
