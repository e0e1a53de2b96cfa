#pragma once
// The code pages a distribution can be made for, the same on every machine the checker runs on
// (not the checking machine's own).
#include <memory>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace zkdist {

// Windows-1252, the Western European code page.
class Cp1252Codec final : public platform::TextCodec {
  public:
    std::string AnsiToUtf8(std::string_view ansi) const override;
    std::string Utf8ToAnsi(std::string_view utf8) const override;
};

// 1251 or 1252; null for a code page the checker does not know.
std::unique_ptr<platform::TextCodec> CodecFor(int code_page);

// Whether the text comes back the same from the code page: every character has a byte there.
bool Holds(const platform::TextCodec& codec, std::string_view utf8);

// Bytes that read as UTF-8 with at least one character beyond ASCII: a file written as UTF-8
// where the code page was meant.
bool LooksLikeUtf8(std::string_view bytes);

}  // namespace zkdist
