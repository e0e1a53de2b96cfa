// Language files against the program's text table: every key there, in its section, with as
// many "%s" as the program fills, and every text within the distribution's code page.
#include <algorithm>

#include "checker.h"
#include "code_pages.h"
#include "language/language.h"

namespace zkdist {
namespace {

constexpr char kHelpKey[] = "ZinkolarHelp";

std::size_t Placeholders(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = text.find("%s"); at != std::string_view::npos;
         at = text.find("%s", at + 2))
        ++count;
    return count;
}

std::string_view SectionOf(const language::TextKey& key) {
    return language::SectionName(static_cast<int>(key.section));
}

bool KnownSection(std::string_view section) {
    for (int number = 0; number <= 8; ++number) {
        if (!language::SectionName(number).empty() &&
            platform::EqualsIgnoreCase(language::SectionName(number), section))
            return true;
    }
    return false;
}

// The key of that name in that section; else one of that name in another section (a key may
// stand in two sections, cReady does); null when the program has none of that name.
const language::TextKey* FindKey(std::string_view key, std::string_view section) {
    const language::TextKey* elsewhere = nullptr;
    for (const language::TextKey& known : language::keys::kAll) {
        if (!platform::EqualsIgnoreCase(known.key, key))
            continue;
        if (platform::EqualsIgnoreCase(SectionOf(known), section))
            return &known;
        elsewhere = &known;
    }
    return elsewhere;
}

void CheckEntries(Checker& checker, const std::string& name, const ProfileFile& file,
                  const std::string& section) {
    for (const KeyLine& line : file.Keys(section)) {
        const language::TextKey* key = FindKey(line.key, section);
        if (key == nullptr) {
            if (!(platform::EqualsIgnoreCase(line.key, kHelpKey) &&
                  platform::EqualsIgnoreCase(section, "COMMON")))
                checker.Add(name, line.line, "unknown key \"" + line.key + "\": nothing shows it");
            continue;
        }
        if (!platform::EqualsIgnoreCase(SectionOf(*key), section)) {
            checker.Add(name, line.line,
                        "\"" + line.key + "\" belongs in [" + std::string(SectionOf(*key)) +
                            "]: here nothing shows it");
            continue;
        }
        if (line.value.empty())
            continue;  // reported as missing
        if (Placeholders(line.value) != Placeholders(key->russian))
            checker.Add(name, line.line,
                        "\"" + line.key + "\" has " + std::to_string(Placeholders(line.value)) +
                            " \"%s\"; the program fills " +
                            std::to_string(Placeholders(key->russian)));
        if (file.Utf8() && !Holds(checker.codec, line.value))
            checker.Add(name, line.line,
                        "\"" + line.key +
                            "\" holds characters the code page cannot: they show "
                            "as \"?\"");
    }
}

}  // namespace

void CheckLanguageFiles(Checker& checker) {
    std::vector<std::string> names;
    for (const platform::FileEntry& entry :
         checker.files.FindFiles(checker.PathOf("*.lng")).value_or({})) {
        // The platform's search also matches "x.lngx" through its short name.
        if (!entry.directory && entry.name.size() > 4 &&
            platform::EqualsIgnoreCase(std::string_view(entry.name).substr(entry.name.size() - 4),
                                       ".lng"))
            names.push_back(entry.name);
    }
    std::ranges::sort(names, platform::LessIgnoreCase());
    for (const std::string& name : names) {
        const ProfileFile& file = checker.Profile(name);
        for (const std::string& section : file.Sections()) {
            if (!KnownSection(section)) {
                checker.Add(name, file.SectionLine(section),
                            "[" + section + "] is read by nothing");
                continue;
            }
            CheckEntries(checker, name, file, section);
        }
        for (const language::TextKey& key : language::keys::kAll) {
            if (file.Profile().Read(SectionOf(key), key.key).empty())
                checker.Add(name, file.SectionLine(SectionOf(key)),
                            "no \"" + std::string(key.key) + "\" in [" +
                                std::string(SectionOf(key)) + "]: it shows as \"?" +
                                std::string(key.key) + "\"");
        }
    }
}

}  // namespace zkdist
