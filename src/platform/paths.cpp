#include "platform/paths.h"

#include <algorithm>

namespace platform {

std::size_t PathRootLength(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':')
        return 2;
    if (!path.starts_with("\\\\"))
        return 0;
    const auto share = path.find('\\', 2);
    return share == std::string_view::npos ? path.size()
                                           : std::min(path.find('\\', share + 1), path.size());
}

std::string PendingName(std::string_view path, unsigned number) {
    constexpr char kHex[] = "0123456789abcdef";
    std::string name = "~zk";
    for (int shift = 16; shift >= 0; shift -= 4)
        name += kHex[(number >> shift) & 0xF];
    const std::size_t slash = path.rfind('\\');
    return (slash == std::string_view::npos ? std::string()
                                            : std::string(path.substr(0, slash + 1))) +
           name;
}

}  // namespace platform
