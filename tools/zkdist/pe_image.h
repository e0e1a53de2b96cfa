#pragma once
// What a distribution's checker needs to know of a Windows program file or library, read from its
// bytes on any machine: the names it exports, its string resources and its bitmap resources.
//
// The file is a PE image: "MZ", the offset of the "PE\0\0" header at 0x3C, the file header, the
// optional header (PE32 or PE32+) with its data directories (0 exports, 2 resources), then the
// section table that maps the directories' addresses to file offsets. Resources form a tree of
// type, name or number, and language; a string table holds 16 strings per block (block n holds
// the strings 16(n-1) to 16n-1), each a 16-bit length and that many UTF-16 units; a bitmap
// resource begins with its BITMAPINFOHEADER. Every read is bounds-checked: a damaged file gives
// nullopt or fewer facts, never a crash.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace zkdist {

struct BitmapFacts {
    std::int32_t width = 0;
    std::int32_t height = 0;  // as stored: negative for a top-down bitmap
    std::uint16_t bits = 0;
};

struct PeFacts {
    std::set<std::string> exports;
    std::map<std::uint32_t, std::string> strings;  // number -> UTF-8 text; empty strings left out
    std::map<std::string, BitmapFacts> bitmaps;    // upper-case name -> facts
};

// nullopt when the bytes are no PE image.
std::optional<PeFacts> ReadPeFacts(std::string_view bytes);

}  // namespace zkdist
