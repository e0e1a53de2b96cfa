#include "strings.h"

#include <windows.h>

namespace e2e {

std::string Utf8(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    std::string result(
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, result.data(),
                        static_cast<int>(result.size()), nullptr, nullptr);
    return result;
}

std::wstring Wide(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    std::wstring result(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, result.data(),
                        static_cast<int>(result.size()));
    return result;
}

std::wstring HostPath(std::string_view path) {
    std::wstring result = Wide(path);
    if (!result.starts_with(L'/')) {
        return result;
    }
    for (wchar_t& c : result) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return L"Z:" + result;
}

}  // namespace e2e
