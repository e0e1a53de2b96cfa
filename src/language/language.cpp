#include "language/language.h"

#include <algorithm>
#include <stdexcept>

namespace language {
namespace {

constexpr std::string_view kExtension = ".lng";

// The list entry for a file name: the name without its final ".lng", first letter a-z upper
// case. Nothing for names of other extensions, which the platform's wildcard also matches
// through their short names ("notes.lngx" as NOTES~1.LNG).
std::optional<std::string> EntryForFile(std::string_view file_name) {
    if (file_name.size() <= kExtension.size()) {
        return std::nullopt;
    }
    const std::string_view stem = file_name.substr(0, file_name.size() - kExtension.size());
    if (!platform::EqualsIgnoreCase(file_name.substr(stem.size()), kExtension)) {
        return std::nullopt;
    }
    std::string entry(stem);
    if (entry[0] >= 'a' && entry[0] <= 'z') {
        entry[0] = static_cast<char>(entry[0] - 'a' + 'A');
    }
    return entry;
}

int IndexIgnoringCase(const std::vector<std::string>& list, std::string_view name) {
    const auto found = std::find_if(list.begin(), list.end(), [name](const std::string& entry) {
        return platform::EqualsIgnoreCase(entry, name);
    });
    return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

// Adds an entry at its sorted place. A name already listed in another letter case is not
// added again: two entries that look alike would behave differently.
void AddSorted(std::vector<std::string>& list, std::string entry) {
    if (IndexIgnoringCase(list, entry) >= 0) {
        return;
    }
    const auto place =
        std::lower_bound(list.begin(), list.end(), entry, platform::LessIgnoreCase());
    list.insert(place, std::move(entry));
}

}  // namespace

std::string_view SectionName(int section) {
    switch (section) {
        case static_cast<int>(TextSection::Common):
            return "COMMON";
        case static_cast<int>(TextSection::Zinkolar):
            return "ZINKOLAR";
        case static_cast<int>(TextSection::Manager):
            return "MANAGER";
        case static_cast<int>(TextSection::Logbook):
            return "LOGBOOK";
        case static_cast<int>(TextSection::Setup):
            return "SETUP";
        case static_cast<int>(TextSection::Uninstall):
            return "Uninstall";
        case static_cast<int>(TextSection::Server):
            return "SERVER";
        default:
            return {};
    }
}

Language::Language(const platform::FileSystem& files, const platform::TextCodec& codec,
                   std::string source_dir)
    : files_(files), codec_(codec), source_dir_(std::move(source_dir)) {}

void Language::BuildList(std::string_view configured_language) {
    list_.clear();
    if (platform::EqualsIgnoreCase(configured_language, kBuiltInLanguage)) {
        list_.emplace_back(kBuiltInLanguage);
    }
    for (const platform::FileEntry& found :
         files_.FindFiles(source_dir_ + "\\*" + std::string(kExtension)).value_or({})) {
        // A folder named like a language file holds no texts.
        if (found.directory) {
            continue;
        }
        if (std::optional<std::string> entry = EntryForFile(found.name)) {
            AddSorted(list_, std::move(*entry));
        }
    }
    built_in_index_ = IndexIgnoringCase(list_, kBuiltInLanguage);
    current_index_ = built_in_index_;
    file_.reset();
}

int Language::InitialIndex(std::string_view configured_language) const {
    if (list_.empty()) {
        return -1;
    }
    return std::max(IndexIgnoringCase(list_, configured_language), 0);
}

void Language::Select(int index) {
    const int count = static_cast<int>(list_.size());
    const bool valid = count == 0 ? index == -1 : index >= 0 && index < count;
    if (!valid) {
        throw std::out_of_range("language index " + std::to_string(index) + " of " +
                                std::to_string(count));
    }
    current_index_ = index;
    file_.reset();
    if (current_index_ != built_in_index_) {
        file_ = platform::LoadProfile(files_, codec_,
                                      source_dir_ + "\\" + list_[index] + std::string(kExtension));
    }
}

std::string Language::LookupText(std::string_view default_text, std::string_view key,
                                 int section) const {
    if (current_index_ == built_in_index_) {
        return std::string(default_text);
    }
    // An unnamed section matches nothing, not even the keys above the first section header.
    const std::string_view section_name = SectionName(section);
    std::string text;
    if (file_ && !section_name.empty()) {
        text = file_->Read(section_name, key);
    }
    if (text.empty()) {
        return "?" + std::string(key);
    }
    return text;
}

std::string Language::Lookup(const TextKey& key) const {
    return LookupText(key.russian, key.key, static_cast<int>(key.section));
}

std::string Language::CurrentName() const {
    return current_index_ >= 0 ? list_[current_index_] : std::string(kBuiltInLanguage);
}

}  // namespace language
