#include "profile_file.h"

#include <algorithm>
#include <optional>

#include "code_pages.h"

namespace zkdist {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string Trim(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\v\f\r\n\x1A";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

}  // namespace

ProfileFile ProfileFile::Load(const platform::FileSystem& files, const platform::TextCodec& codec,
                              const std::string& path, const Report& report) {
    ProfileFile file;
    const platform::Result<std::string> bytes = files.ReadFile(path);
    if (!bytes)
        return file;
    file.exists_ = true;
    std::string text;
    if (bytes->starts_with(kBom)) {
        file.utf8_ = true;
        text = bytes->substr(kBom.size());
    } else {
        if (LooksLikeUtf8(*bytes))
            report(0,
                   "written in UTF-8 without a byte-order mark: the program reads it in the "
                   "code page, so its texts show wrongly");
        text = codec.AnsiToUtf8(*bytes);
    }
    file.profile_ = platform::Profile::Parse(text, file.utf8_);

    std::string section;  // folded; the first section of each name is the one read
    bool read_section = false;
    bool any_section = false;
    int number = 0;
    for (const std::string_view line : platform::SplitLines(text)) {
        ++number;
        const std::optional<platform::Profile::LineName> name = platform::Profile::NameOfLine(line);
        if (!name)
            continue;
        if (name->header) {
            any_section = true;
            section = name->folded;
            const bool seen = std::ranges::any_of(
                file.section_lines_, [&](const auto& known) { return known.first == section; });
            read_section = !seen;
            if (seen) {
                report(number,
                       "a second section [" + name->name + "]: the program reads only the first");
            } else {
                file.sections_.push_back(name->name);
                file.section_lines_.emplace_back(section, number);
            }
            continue;
        }
        if (!any_section) {
            report(number, "an entry before the first section: the program never reads it");
            continue;
        }
        if (!read_section)
            continue;
        const auto earlier = std::ranges::find_if(file.entries_, [&](const Entry& entry) {
            return entry.section == section && entry.folded == name->folded;
        });
        if (earlier != file.entries_.end()) {
            report(number, "\"" + name->name + "\" again: the program reads only line " +
                               std::to_string(earlier->line.line));
            continue;
        }
        if (!name->has_value) {
            report(number, "no \"=\": the line reads as an empty \"" + name->name + "\"");
        }
        const std::string raw = name->has_value ? Trim(line.substr(line.find('=') + 1)) : "";
        if (raw.size() > platform::kProfileValueLimit)
            report(number, "a value of " + std::to_string(raw.size()) +
                               " bytes: the program reads only the first " +
                               std::to_string(platform::kProfileValueLimit));
        const std::string& section_name = file.sections_.back();
        file.entries_.push_back(
            {section,
             name->folded,
             {name->name, file.profile_.Read(section_name, name->name), number}});
    }
    return file;
}

int ProfileFile::SectionLine(std::string_view section) const {
    const std::string folded = platform::ToLower(section);
    for (const auto& [name, line] : section_lines_) {
        if (name == folded)
            return line;
    }
    return 0;
}

std::vector<KeyLine> ProfileFile::Keys(std::string_view section) const {
    const std::string folded = platform::ToLower(section);
    std::vector<KeyLine> keys;
    for (const Entry& entry : entries_) {
        if (entry.section == folded)
            keys.push_back(entry.line);
    }
    return keys;
}

int ProfileFile::LineOf(std::string_view section, std::string_view key) const {
    const std::string folded_section = platform::ToLower(section);
    const std::string folded_key = platform::ToLower(key);
    for (const Entry& entry : entries_) {
        if (entry.section == folded_section && entry.folded == folded_key)
            return entry.line.line;
    }
    return 0;
}

}  // namespace zkdist
