#pragma once
// A profile file of a distribution as the setup program reads it, with the line of every section
// and key, so that a finding can name the line to mend. Lines that the program never reads the
// way their author meant are findings of their own (see Load).
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace zkdist {

struct KeyLine {
    std::string key;
    std::string value;  // as the program reads it
    int line = 0;
};

class ProfileFile {
  public:
    // Reporter of a finding on a line of this file.
    using Report = std::function<void(int line, const std::string& message)>;

    // Reads the file as the program does: a UTF-8 byte-order mark means UTF-8, otherwise the
    // code page. Reports lines the program reads otherwise than they look: a second entry of a
    // key or a second section of a name (never read), an entry without "=", entries before the
    // first section, a value longer than the program reads, a file in UTF-8 without the mark.
    static ProfileFile Load(const platform::FileSystem& files, const platform::TextCodec& codec,
                            const std::string& path, const Report& report);

    bool Exists() const { return exists_; }
    bool Utf8() const { return utf8_; }
    const platform::Profile& Profile() const { return profile_; }
    // The sections in file order, each name once.
    const std::vector<std::string>& Sections() const { return sections_; }
    // Line of the section's header; 0 when absent.
    int SectionLine(std::string_view section) const;
    // The entries of the first section of that name that the program reads, in file order.
    std::vector<KeyLine> Keys(std::string_view section) const;
    // Line of the key's entry that the program reads; 0 when absent.
    int LineOf(std::string_view section, std::string_view key) const;

  private:
    struct Entry {
        std::string section;  // folded
        std::string folded;
        KeyLine line;
    };

    bool exists_ = false;
    bool utf8_ = false;
    platform::Profile profile_;
    std::vector<std::string> sections_;
    std::vector<std::pair<std::string, int>> section_lines_;  // folded name, line
    std::vector<Entry> entries_;
};

}  // namespace zkdist
