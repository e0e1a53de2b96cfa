#pragma once
// Text conversions. Inside the program every string is UTF-8; profile files and the product's
// libraries speak the system's ANSI code page, the platform's W functions speak UTF-16.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Conversion between UTF-8 and the system's ANSI code page.
class TextCodec {
  public:
    virtual ~TextCodec() = default;
    virtual std::string AnsiToUtf8(std::string_view ansi) const = 0;
    virtual std::string Utf8ToAnsi(std::string_view utf8) const = 0;
};

// Whether the text survives the way through the ANSI code page unchanged: a path that does not
// would name another file once written to a profile file (the code page's best fit turns "ü"
// into "u", or a "?").
bool InCodePage(const TextCodec& codec, std::string_view utf8);

// Windows-1251, the code page of the product's users; the native build's ANSI code page.
class Cp1251Codec final : public TextCodec {
  public:
    std::string AnsiToUtf8(std::string_view ansi) const override;
    std::string Utf8ToAnsi(std::string_view utf8) const override;
};

// Case folding of Latin and Cyrillic letters, as the platform's name comparisons do.
std::string ToLower(std::string_view utf8);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// Negative, zero or positive, ignoring letter case: the order of the program's sorted lists.
int CompareIgnoreCase(std::string_view a, std::string_view b);
// That order as a comparison for sorting.
struct LessIgnoreCase {
    bool operator()(std::string_view a, std::string_view b) const {
        return CompareIgnoreCase(a, b) < 0;
    }
};

// The lines of a text, split at LF, CR LF or a lone CR; views into text. A last line break ends
// the last line rather than starting an empty one.
std::vector<std::string_view> SplitLines(std::string_view text);

// An integer as the platform's configuration texts write it: decimal with an optional sign, or
// hexadecimal after "$" (32 bits, so "$FFFFFFFF" is -1); blanks around it are allowed.
std::optional<std::int32_t> ParseInteger(std::string_view text);

}  // namespace platform
