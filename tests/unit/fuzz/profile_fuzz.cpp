// Fuzzes the profile engine with hostile files and hostile names: the input is split at NUL bytes
// into the file's text and then groups of three parts (section, key, value) that drive reads, key
// lists, writes and removals. Beyond not crashing, the engine must give back an untouched text
// byte for byte, and after every change a fresh parse of its text must read as the engine does.
// A write the engine refuses changes nothing; a write it takes reads back its value (one that
// needs no quoting to survive the reader).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckSameReading(const platform::Profile& profile, std::string_view section,
                      std::string_view key) {
    const platform::Profile reread = platform::Profile::Parse(profile.Text());
    Check(reread.Read(section, key) == profile.Read(section, key));
    Check(reread.Keys(section) == profile.Keys(section));
}

// On one line, no blanks at its ends, no pair of quotes around it, within the read limit.
bool ReadsBackAsItIs(std::string_view value) {
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A'; };
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return value.size() <= platform::kProfileValueLimit &&
           value.find_first_of("\r\n") == std::string_view::npos && !quoted &&
           (value.empty() || (!blank(value.front()) && !blank(value.back())));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t nul = rest.find('\0');
        parts.push_back(rest.substr(0, nul));
        if (nul == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(nul + 1);
    }

    const std::string_view text = parts[0];
    platform::Profile profile = platform::Profile::Parse(text);
    Check(profile.Text() == text);

    for (std::size_t i = 1; i + 2 < parts.size(); i += 3) {
        const std::string_view section = parts[i];
        const std::string_view key = parts[i + 1];
        const std::string_view value = parts[i + 2];
        // The value's first byte picks removal for some of the groups.
        if (!value.empty() && value.front() == '-') {
            profile.Remove(section, key);
        } else {
            const std::string before = profile.Text();
            if (!profile.Write(section, key, value)) {
                Check(profile.Text() == before);
            } else if (ReadsBackAsItIs(value)) {
                Check(profile.Read(section, key) == value);
            }
        }
        CheckSameReading(profile, section, key);
    }
    return 0;
}
