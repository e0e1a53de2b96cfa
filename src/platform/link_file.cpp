// The link file as the published shell-link format has it, every number little-endian:
//   header, 76 bytes: its size (0x4C), the shell-link class id, the flags (link info, working
//     directory and arguments when given, strings in UTF-16), the target's attributes, its
//     creation, access and write times, its size (low 32 bits), icon index 0, show command 1
//     (a normal window), hot key 0, ten reserved zero bytes;
//   link info: its total size, its header size (0x1C, or 0x24 when the path also needs its
//     UTF-16 copies: a name the ANSI code page cannot hold), flags (1: a drive path with its
//     volume, 2: a share and the path after it), the offsets of the volume, the drive path,
//     the share, the path after the share (and of the UTF-16 drive path and after-path); then
//     those parts, each text closed by a zero: the volume (its size, drive type, serial number,
//     label offset 0x10, ANSI label), the ANSI drive path, the share (its size, flags 0, name
//     offset 0x14 or 0x1C, device offset 0, provider 0, (UTF-16 name offset, UTF-16 device
//     offset 0), ANSI name (and UTF-16 name)), the ANSI after-path (empty for a drive path),
//     the UTF-16 copies;
//   the strings, working directory then arguments, each a 16-bit count of UTF-16 units and the
//     units without a closing zero;
//   a zero 32-bit word: no extra data.
// No item list is written: the system makes the target's from the path when the link is used.
#include "platform/link_file.h"

#include <array>
#include <utility>

#include "platform/files.h"
#include "platform/paths.h"

namespace platform {
namespace {

constexpr std::uint32_t kHasLinkInfo = 0x02;
constexpr std::uint32_t kHasWorkingDir = 0x10;
constexpr std::uint32_t kHasArguments = 0x20;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kVolumeAndLocalPath = 1;
constexpr std::uint32_t kShareAndSuffix = 2;
constexpr std::uint32_t kShowNormal = 1;
// {00021401-0000-0000-C000-000000000046} as stored: its first three parts little-endian.
constexpr std::array<unsigned char, 16> kShellLinkClass = {
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

template <typename Number>
void Put(std::string& out, Number value) {
    for (std::size_t i = 0; i < sizeof(Number); ++i)
        out += static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF);
}

void PutUtf16(std::string& out, std::u16string_view text) {
    for (const char16_t unit : text)
        Put(out, static_cast<std::uint16_t>(unit));
}

std::string AnsiText(const TextCodec& ansi, const std::string& text) {
    return ansi.Utf8ToAnsi(text) + '\0';
}

std::string Utf16Text(const std::string& text) {
    std::string out;
    PutUtf16(out, Utf8ToUtf16(text));
    Put(out, std::uint16_t{0});
    return out;
}

bool FitsAnsi(const TextCodec& ansi, const std::string& text) {
    return ansi.AnsiToUtf8(ansi.Utf8ToAnsi(text)) == text;
}

// Where the target lies: a drive path whole, or "\\server\share" and the path after it.
struct Location {
    std::string drive_path;
    std::string share;
    std::string after_share;
};

std::optional<Location> LocationOf(const std::string& target) {
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (target.size() >= 3 && letter(target[0]) && target[1] == ':' && target[2] == '\\')
        return Location{target, {}, {}};
    if (!target.starts_with("\\\\"))
        return std::nullopt;
    // Both the server's name and the share's must be there.
    const std::size_t server_end = target.find('\\', 2);
    const std::size_t share_end = PathRootLength(target);
    if (server_end == std::string::npos || server_end == 2 || share_end <= server_end + 1)
        return std::nullopt;
    return Location{{},
                    target.substr(0, share_end),
                    share_end < target.size() ? target.substr(share_end + 1) : std::string()};
}

std::string ShareLink(const std::string& share, bool unicode, const TextCodec& ansi) {
    const std::uint32_t fixed = unicode ? 0x1C : 0x14;
    const std::string name = AnsiText(ansi, share);
    std::string parts = name;
    if (unicode)
        parts += Utf16Text(share);
    std::string out;
    Put(out, static_cast<std::uint32_t>(fixed + parts.size()));
    Put(out, std::uint32_t{0});  // neither device nor provider given
    Put(out, fixed);
    Put(out, std::uint32_t{0});
    Put(out, std::uint32_t{0});
    if (unicode) {
        Put(out, static_cast<std::uint32_t>(fixed + name.size()));
        Put(out, std::uint32_t{0});
    }
    return out + parts;
}

std::string LinkInfo(const Location& where, const LinkTargetFacts& facts, const TextCodec& ansi) {
    const bool on_drive = !where.drive_path.empty();
    const bool unicode = !FitsAnsi(ansi, where.drive_path) || !FitsAnsi(ansi, where.share) ||
                         !FitsAnsi(ansi, where.after_share);
    const std::uint32_t header_size = unicode ? 0x24 : 0x1C;
    std::string parts;
    const auto next = [&] { return static_cast<std::uint32_t>(header_size + parts.size()); };
    std::uint32_t volume_at = 0;
    std::uint32_t drive_path_at = 0;
    std::uint32_t share_at = 0;
    if (on_drive) {
        volume_at = next();
        const std::string label = AnsiText(ansi, facts.volume.label);
        Put(parts, static_cast<std::uint32_t>(0x10 + label.size()));
        Put(parts, facts.volume.drive_type);
        Put(parts, facts.volume.serial);
        Put(parts, std::uint32_t{0x10});
        parts += label;
        drive_path_at = next();
        parts += AnsiText(ansi, where.drive_path);
    } else {
        share_at = next();
        parts += ShareLink(where.share, unicode, ansi);
    }
    const std::uint32_t after_share_at = next();
    parts += AnsiText(ansi, where.after_share);
    std::uint32_t drive_path_unicode_at = 0;
    std::uint32_t after_share_unicode_at = 0;
    if (unicode) {
        if (on_drive) {
            drive_path_unicode_at = next();
            parts += Utf16Text(where.drive_path);
        }
        after_share_unicode_at = next();
        parts += Utf16Text(where.after_share);
    }
    std::string out;
    Put(out, next());
    Put(out, header_size);
    Put(out, on_drive ? kVolumeAndLocalPath : kShareAndSuffix);
    Put(out, volume_at);
    Put(out, drive_path_at);
    Put(out, share_at);
    Put(out, after_share_at);
    if (unicode) {
        Put(out, drive_path_unicode_at);
        Put(out, after_share_unicode_at);
    }
    return out + parts;
}

// A string of the link's string part; nullopt when it is longer than its count can say.
std::optional<std::string> CountedString(const std::string& text) {
    const std::u16string units = Utf8ToUtf16(text);
    if (units.size() > 0xFFFF)
        return std::nullopt;
    std::string out;
    Put(out, static_cast<std::uint16_t>(units.size()));
    PutUtf16(out, units);
    return out;
}

}  // namespace

std::optional<std::string> LinkFileBytes(const ShellLink& link, const LinkTargetFacts& facts,
                                         const TextCodec& ansi) {
    const std::optional<Location> where = LocationOf(link.target);
    if (!where)
        return std::nullopt;
    std::uint32_t flags = kHasLinkInfo | kIsUnicode;
    std::string strings;
    for (const auto& [text, flag] : {std::pair{&link.working_directory, kHasWorkingDir},
                                     std::pair{&link.arguments, kHasArguments}}) {
        if (text->empty())
            continue;
        const std::optional<std::string> counted = CountedString(*text);
        if (!counted)
            return std::nullopt;
        flags |= flag;
        strings += *counted;
    }
    std::string out;
    Put(out, std::uint32_t{0x4C});
    out.append(kShellLinkClass.begin(), kShellLinkClass.end());
    Put(out, flags);
    Put(out, facts.attributes);
    Put(out, facts.creation_time);
    Put(out, facts.access_time);
    Put(out, facts.write_time);
    Put(out, static_cast<std::uint32_t>(facts.size));
    Put(out, std::uint32_t{0});  // icon index
    Put(out, kShowNormal);
    Put(out, std::uint16_t{0});  // hot key
    out.append(10, '\0');
    out += LinkInfo(*where, facts, ansi);
    out += strings;
    Put(out, std::uint32_t{0});
    return out;
}

}  // namespace platform
