#pragma once
// The files on which the profile engine is compared with the platform's own profile functions:
// hand-written files, one or a few rules each, and generated files that mix the rules at random
// (with fixed seeds, so every run compares the same files).
#include <optional>
#include <string>
#include <vector>

namespace profile_corpus {

// A value to write, or nullopt to remove the key.
struct Change {
    std::string section;
    std::string key;
    std::optional<std::string> value;
};

struct Case {
    std::string label;
    std::string text;  // UTF-8: saved in the ANSI code page, or as UTF-8 after a byte-order mark
    bool utf8_bom = false;
    bool missing_file = false;          // no file before the changes
    std::vector<std::string> sections;  // every section queried...
    std::vector<std::string> keys;      // ...with every key
    std::vector<Change> changes;        // applied by both writers, then everything compared again
    // A deliberate difference of the engine that explains every disagreement of this case; a
    // case that names one must show it.
    std::string known_difference;
};

// Cases with Cyrillic names are left out unless the ANSI code page holds Cyrillic letters.
std::vector<Case> HandWrittenCases(bool cyrillic);
std::vector<Case> GeneratedReadCases(int count);
std::vector<Case> GeneratedWriteCases(int count);

}  // namespace profile_corpus
