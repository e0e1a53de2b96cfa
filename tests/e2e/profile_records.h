#pragma once
// Profile files as the tests read them, with a reader of their own rather than the program's.
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// "key=value" lines of one section of a profile file, in file order, blanks around both dropped.
using Records = std::vector<std::pair<std::string, std::string>>;

// The text without blanks and tabs at either end.
std::string Trimmed(const std::string& text);

// The sections of a profile text in file order, each with its records.
std::vector<std::pair<std::string, Records>> ProfileSections(const std::string& text);

// The records of the section named so, in any letter case; none when it is not there.
Records ProfileSection(const std::string& text, const std::string& section);

}  // namespace e2e
