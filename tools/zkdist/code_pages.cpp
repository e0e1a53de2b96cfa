#include "code_pages.h"

#include <array>

namespace zkdist {
namespace {

// 0x80-0x9F of Windows-1252; 0 where the code page has no character.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

std::string Cp1252Codec::AnsiToUtf8(std::string_view ansi) const {
    std::u16string wide;
    for (const char byte : ansi) {
        const auto c = static_cast<unsigned char>(byte);
        const char16_t high = c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : 0;
        wide += c >= 0x80 && c < 0xA0 ? (high != 0 ? high : u'?') : static_cast<char16_t>(c);
    }
    return platform::Utf16ToUtf8(wide);
}

std::string Cp1252Codec::Utf8ToAnsi(std::string_view utf8) const {
    std::string out;
    for (const char16_t c : platform::Utf8ToUtf16(utf8)) {
        char mapped = '?';
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            mapped = static_cast<char>(c);
        } else {
            for (std::size_t k = 0; k < kCp1252High.size(); ++k) {
                if (kCp1252High[k] == c)
                    mapped = static_cast<char>(0x80 + k);
            }
        }
        out += mapped;
    }
    return out;
}

std::unique_ptr<platform::TextCodec> CodecFor(int code_page) {
    if (code_page == 1251)
        return std::make_unique<platform::Cp1251Codec>();
    if (code_page == 1252)
        return std::make_unique<Cp1252Codec>();
    return nullptr;
}

bool Holds(const platform::TextCodec& codec, std::string_view utf8) {
    return codec.AnsiToUtf8(codec.Utf8ToAnsi(utf8)) == utf8;
}

bool LooksLikeUtf8(std::string_view bytes) {
    bool beyond_ascii = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80             ? 1
                                   : (lead & 0xE0) == 0xC0 ? 2
                                   : (lead & 0xF0) == 0xE0 ? 3
                                   : (lead & 0xF8) == 0xF0 ? 4
                                                           : 0;
        if (length == 0 || i + length > bytes.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        }
        beyond_ascii = beyond_ascii || length > 1;
        i += length;
    }
    return beyond_ascii;
}

}  // namespace zkdist
