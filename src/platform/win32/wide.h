#pragma once
// UTF-8 <-> UTF-16 at the boundary of the platform's W functions.
#include <string>
#include <string_view>

#include "platform/text.h"

namespace platform {

inline std::wstring Wide(std::string_view utf8) {
    const std::u16string w = Utf8ToUtf16(utf8);
    return std::wstring(w.begin(), w.end());
}

inline std::string Narrow(std::wstring_view wide) {
    return Utf16ToUtf8(
        std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

}  // namespace platform
