#include "profile_records.h"

#include <windows.h>

#include "driver/strings.h"
#include "driver/wizard_walk.h"

namespace e2e {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::vector<std::pair<std::string, Records>> ProfileSections(const std::string& text) {
    std::vector<std::pair<std::string, Records>> sections;
    for (const std::string& raw : Lines(text)) {
        const std::string line = Trimmed(raw);
        if (line.starts_with('[') && line.ends_with(']')) {
            sections.emplace_back(line.substr(1, line.size() - 2), Records{});
        } else if (const auto equals = line.find('=');
                   equals != std::string::npos && !sections.empty()) {
            sections.back().second.emplace_back(Trimmed(line.substr(0, equals)),
                                                Trimmed(line.substr(equals + 1)));
        }
    }
    return sections;
}

Records ProfileSection(const std::string& text, const std::string& section) {
    for (const auto& [name, records] : ProfileSections(text)) {
        if (lstrcmpiW(Wide(name).c_str(), Wide(section).c_str()) == 0) {
            return records;
        }
    }
    return {};
}

}  // namespace e2e
