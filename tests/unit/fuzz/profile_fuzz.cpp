// Fuzzes the profile engine with hostile files and hostile names: the input is split at NUL bytes
// into the file's text and then groups of three parts (section, key, value) that drive reads, key
// lists, writes and removals. Beyond not crashing, the engine must give back an untouched text
// byte for byte, and after every change a fresh parse of its text must read as the engine does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
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
            profile.Write(section, key, value);
        }
        CheckSameReading(profile, section, key);
    }
    return 0;
}
