#include "platform/text.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace platform {
namespace {

// Decodes one UTF-8 sequence; malformed bytes decode as U+FFFD one byte at a time.
char32_t DecodeUtf8(std::string_view s, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    int length = 0;
    char32_t code = 0;
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    if ((b0 & 0xE0) == 0xC0) {
        length = 2;
        code = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3;
        code = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4;
        code = b0 & 0x07;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + length > s.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    i += length;
    return code;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Windows-1251 bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F. 0x98 is unassigned and maps
// to U+0098 as the platform's conversion does.
constexpr std::array<char16_t, 64> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char32_t Fold(char32_t c) {
    if (c >= 'A' && c <= 'Z')
        return c + 32;
    if (c >= 0x0410 && c <= 0x042F)
        return c + 32;  // А..Я
    if (c >= 0x0400 && c <= 0x040F)
        return c + 80;  // Ѐ..Џ, Ё among them
    return c;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t c = DecodeUtf8(utf8, i);
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::string Cp1251Codec::AnsiToUtf8(std::string_view ansi) const {
    std::string out;
    out.reserve(ansi.size() * 2);
    for (char ch : ansi) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out += ch;
        } else if (b >= 0xC0) {
            AppendUtf8(out, 0x0410 + (b - 0xC0));
        } else {
            AppendUtf8(out, kCp1251High[b - 0x80]);
        }
    }
    return out;
}

std::string Cp1251Codec::Utf8ToAnsi(std::string_view utf8) const {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const char32_t c = DecodeUtf8(utf8, i);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c >= 0x0410 && c <= 0x044F) {
            out += static_cast<char>(0xC0 + (c - 0x0410));
        } else {
            char mapped = '?';
            for (size_t k = 0; k < kCp1251High.size(); ++k) {
                if (kCp1251High[k] == c) {
                    mapped = static_cast<char>(0x80 + k);
                    break;
                }
            }
            out += mapped;
        }
    }
    return out;
}

bool InCodePage(const TextCodec& codec, std::string_view utf8) {
    return codec.AnsiToUtf8(codec.Utf8ToAnsi(utf8)) == utf8;
}

std::string ToLower(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        AppendUtf8(out, Fold(DecodeUtf8(utf8, i)));
    }
    return out;
}

int CompareIgnoreCase(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t ca = Fold(DecodeUtf8(a, i));
        const char32_t cb = Fold(DecodeUtf8(b, j));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return CompareIgnoreCase(a, b) == 0;
}

std::optional<std::int32_t> ParseInteger(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (!s.empty() && s.front() == '$') {
        base = 16;
        s.remove_prefix(1);
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    if (s.empty() || error != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    if (base == 16) {
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
        const auto bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
        return negative ? -static_cast<std::int64_t>(bits) : bits;
    }
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    if (value > static_cast<std::uint64_t>(limit))
        return std::nullopt;
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(value)
                                              : static_cast<std::int64_t>(value));
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1);
    }
    return lines;
}

}  // namespace platform
