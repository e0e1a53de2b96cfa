#include "language/format.h"

namespace language {

std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args) {
    constexpr std::string_view kPlaceholder = "%s";
    std::string result;
    result.reserve(format.size());
    auto next_arg = args.begin();
    std::size_t pos = 0;
    while (next_arg != args.end()) {
        const std::size_t found = format.find(kPlaceholder, pos);
        if (found == std::string_view::npos) {
            break;
        }
        result.append(format.substr(pos, found - pos));
        result.append(*next_arg++);
        pos = found + kPlaceholder.size();
    }
    result.append(format.substr(pos));
    return result;
}

}  // namespace language
