#pragma once
// Text and path conversions between the driver (UTF-8, Linux paths from the build) and the
// Windows programs it drives (UTF-16, Windows paths).
#include <string>
#include <string_view>

namespace e2e {

std::string Utf8(std::wstring_view text);
std::wstring Wide(std::string_view text);
// A Linux path as programs in the Wine prefix see it: drive Z: is the Linux root.
// Windows paths are returned unchanged.
std::wstring HostPath(std::string_view path);

}  // namespace e2e
