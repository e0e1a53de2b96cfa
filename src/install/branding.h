#pragma once
// The branding library res.dll beside the setup program: what the background window and the
// wizard take from it.
#include <optional>
#include <string>

namespace install {

inline constexpr char kBrandingLibrary[] = "res.dll";
inline constexpr unsigned kShortNameString = 101;
inline constexpr unsigned kKindString = 103;  // "clientserver" for a client/server distribution
inline constexpr unsigned kColorString = 110;

// True when string 103 marks a client/server distribution ("clientserver", any letter case).
bool IsClientServer(const std::optional<std::string>& kind);

}  // namespace install
