#pragma once
// Filling the "%s" placeholders of format texts. Many format texts come from language files, so
// the formatter must survive any translation: it knows only "%s" and never hands a text to a
// printf-style function.
#include <initializer_list>
#include <string>
#include <string_view>

namespace language {

// Replaces each "%s" with the next argument, in order. A "%" that does not begin "%s" stays as it
// is ("%d", "%n", a lone "%"; "%%s" gives "%" and the argument); arguments beyond the last "%s"
// are ignored, and a "%s" beyond the last argument stays as text. Inserted arguments are not
// scanned again.
std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args);

}  // namespace language
