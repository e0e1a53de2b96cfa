#pragma once
// The language state and the text lookup through which every visible text passes. Russian is
// built in; every other language is a profile file "<name>.lng" beside the setup program.
//
// Language file: sections COMMON, ZINKOLAR, MANAGER, LOGBOOK, SETUP, Uninstall and SERVER hold
// key=value lines, read with the platform's private-profile rules (names ignore letter case,
// blanks around a value are removed, one pair of enclosing double quotes is dropped so that a
// text can begin or end with a blank). COMMON may also name the help file (ZinkolarHelp).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "language/text_keys.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace language {

inline constexpr std::string_view kBuiltInLanguage = "Russian";

// The section name of a section number; empty for a number without one (4, 5, out of range).
std::string_view SectionName(int section);

class Language {
  public:
    Language(const platform::FileSystem& files, const platform::TextCodec& codec,
             std::string source_dir);

    // Lists "Russian" when it is the configured language, and one entry per language file in
    // the source folder, sorted ignoring letter case. The built-in language becomes current.
    void BuildList(std::string_view configured_language);
    const std::vector<std::string>& List() const { return list_; }
    // Index of "Russian" in the list, -1 when it is not offered.
    int BuiltInIndex() const { return built_in_index_; }
    int CurrentIndex() const { return current_index_; }
    // The entry named like the configured language, else entry 0; -1 when the list is empty.
    int InitialIndex(std::string_view configured_language) const;
    // Makes an entry current (-1 only with an empty list) and opens its file unless it is the
    // built-in language. Throws std::out_of_range for any other index.
    void Select(int index);

    // The built-in default while the built-in language is current; otherwise the file's text,
    // or "?" + key when the file lacks it (missing, empty, or a section number without a name).
    std::string LookupText(std::string_view default_text, std::string_view key, int section) const;
    std::string Lookup(const TextKey& key) const;
    // The current entry's name, "Russian" when nothing is selected (empty list).
    std::string CurrentName() const;
    // The distribution folder, where the language files lie.
    const std::string& SourceDir() const { return source_dir_; }
    // The open language file, null while the built-in language is current.
    const platform::Profile* File() const { return file_ ? &*file_ : nullptr; }

  private:
    const platform::FileSystem& files_;
    const platform::TextCodec& codec_;
    std::string source_dir_;
    std::vector<std::string> list_;
    int built_in_index_ = -1;
    int current_index_ = -1;
    std::optional<platform::Profile> file_;  // open exactly when current differs from built-in
};

}  // namespace language
