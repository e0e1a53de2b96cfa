// Fuzzes the formatter with hostile format texts: the first byte picks how many arguments (0-3)
// follow the format, the rest is split at NUL bytes into format and arguments.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "language/format.h"

namespace {

std::string Format(std::string_view format, const std::vector<std::string_view>& a) {
    switch (a.size()) {
        case 0:
            return language::FormatText(format, {});
        case 1:
            return language::FormatText(format, {a[0]});
        case 2:
            return language::FormatText(format, {a[0], a[1]});
        default:
            return language::FormatText(format, {a[0], a[1], a[2]});
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t wanted = data[0] % 4;
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    std::vector<std::string_view> parts;
    while (parts.size() < wanted + 1) {
        const std::size_t nul = rest.find('\0');
        parts.push_back(rest.substr(0, nul));
        if (nul == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(nul + 1);
    }
    const std::string_view format = parts.front();
    const std::vector<std::string_view> args(parts.begin() + 1, parts.end());

    const std::string result = Format(format, args);
    // Without a placeholder, or without arguments, the format comes back unchanged; otherwise
    // the result is never longer than the format with every argument inserted.
    std::size_t longest = format.size();
    for (std::string_view arg : args) {
        longest += arg.size();
    }
    if (result.size() > longest) {
        __builtin_trap();
    }
    if ((args.empty() || format.find("%s") == std::string_view::npos) && result != format) {
        __builtin_trap();
    }
    return 0;
}
