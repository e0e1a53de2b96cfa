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
// A link read back may hold what other writers put there too: an item list before the link
// info (its 16-bit size first), the name, relative path and icon strings around the two above,
// in ANSI when the flags say so, and extra data after them.
#include "platform/link_file.h"

#include <array>
#include <string_view>
#include <utility>

#include "platform/files.h"
#include "platform/paths.h"

namespace platform {
namespace {

constexpr std::uint32_t kHasItemList = 0x01;
constexpr std::uint32_t kHasLinkInfo = 0x02;
constexpr std::uint32_t kHasName = 0x04;
constexpr std::uint32_t kHasRelativePath = 0x08;
constexpr std::uint32_t kHasWorkingDir = 0x10;
constexpr std::uint32_t kHasArguments = 0x20;
constexpr std::uint32_t kHasIconLocation = 0x40;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::uint32_t kUnicodeLinkInfoHeader = 0x24;
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
    Put(out, kHeaderSize);
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

namespace {

// A part of a link file read by offsets: every read past its end is nullopt.
class LinkPart {
  public:
    explicit LinkPart(std::string_view bytes) : bytes_(bytes) {}

    template <typename Number>
    std::optional<Number> At(std::size_t offset) const {
        const std::optional<std::string_view> bytes = Bytes(offset, sizeof(Number));
        if (!bytes)
            return std::nullopt;
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < sizeof(Number); ++i)
            value |= std::uint64_t{static_cast<unsigned char>((*bytes)[i])} << (8 * i);
        return static_cast<Number>(value);
    }
    std::optional<std::string_view> Bytes(std::size_t offset, std::size_t size) const {
        if (offset > bytes_.size() || bytes_.size() - offset < size)
            return std::nullopt;
        return bytes_.substr(offset, size);
    }
    // The text closed by a zero at offset, ANSI or UTF-16, as UTF-8.
    std::optional<std::string> AnsiText(std::size_t offset, const TextCodec& ansi) const {
        const std::size_t end =
            offset < bytes_.size() ? bytes_.find('\0', offset) : std::string_view::npos;
        if (end == std::string_view::npos)
            return std::nullopt;
        return ansi.AnsiToUtf8(bytes_.substr(offset, end - offset));
    }
    std::optional<std::string> Utf16Text(std::size_t offset) const {
        std::u16string text;
        for (std::optional<std::uint16_t> unit; (unit = At<std::uint16_t>(offset)); offset += 2) {
            if (*unit == 0)
                return Utf16ToUtf8(text);
            text += static_cast<char16_t>(*unit);
        }
        return std::nullopt;
    }

  private:
    std::string_view bytes_;
};

// The text at the offset read at where: the UTF-16 one at unicode_where when the part has it.
std::optional<std::string> TextAt(const LinkPart& part, std::size_t where,
                                  std::optional<std::size_t> unicode_where, const TextCodec& ansi) {
    if (unicode_where) {
        if (const auto offset = part.At<std::uint32_t>(*unicode_where); offset && *offset != 0)
            return part.Utf16Text(*offset);
    }
    const auto offset = part.At<std::uint32_t>(where);
    if (!offset || *offset == 0)
        return std::nullopt;
    return part.AnsiText(*offset, ansi);
}

std::optional<std::string> ShareTarget(const LinkPart& share, const std::string& after_share,
                                       const TextCodec& ansi) {
    const auto name_at = share.At<std::uint32_t>(8);
    if (!name_at)
        return std::nullopt;
    const auto name =
        TextAt(share, 8, *name_at > 0x14 ? std::optional<std::size_t>(0x14) : std::nullopt, ansi);
    if (!name)
        return std::nullopt;
    return after_share.empty() ? *name : *name + "\\" + after_share;
}

// The target path that the link info names: the drive path and the path after it, or the
// share and the path after it.
std::optional<std::string> LinkInfoTarget(const LinkPart& info, const TextCodec& ansi) {
    const auto header_size = info.At<std::uint32_t>(4);
    const auto flags = info.At<std::uint32_t>(8);
    if (!header_size || !flags)
        return std::nullopt;
    const bool unicode = *header_size >= kUnicodeLinkInfoHeader;
    const auto unicode_at = [unicode](std::size_t where) {
        return unicode ? std::optional<std::size_t>(where) : std::nullopt;
    };
    const std::optional<std::string> after = TextAt(info, 24, unicode_at(32), ansi);
    if (!after)
        return std::nullopt;
    if ((*flags & kVolumeAndLocalPath) != 0) {
        const std::optional<std::string> drive_path = TextAt(info, 16, unicode_at(28), ansi);
        return drive_path ? std::optional(*drive_path + *after) : std::nullopt;
    }
    const auto share_at = info.At<std::uint32_t>(20);
    const auto share_size = share_at ? info.At<std::uint32_t>(*share_at) : std::nullopt;
    if ((*flags & kShareAndSuffix) == 0 || !share_size)
        return std::nullopt;
    const auto share = info.Bytes(*share_at, *share_size);
    return share ? ShareTarget(LinkPart(*share), *after, ansi) : std::nullopt;
}

// The counted string of the string part at `at`, which moves past it; up to a zero in it, as
// some writers count the closing zero too.
std::optional<std::string> CountedText(const LinkPart& link, std::size_t& at, bool unicode,
                                       const TextCodec& ansi) {
    const auto count = link.At<std::uint16_t>(at);
    const auto text =
        count ? link.Bytes(at + 2, std::size_t{*count} * (unicode ? 2U : 1U)) : std::nullopt;
    if (!text)
        return std::nullopt;
    at += 2 + text->size();
    if (!unicode)
        return ansi.AnsiToUtf8(text->substr(0, text->find('\0')));
    // Closed by a zero of its own, it reads as the zero-closed texts do.
    return LinkPart(std::string(*text) + std::string(2, '\0')).Utf16Text(0);
}

}  // namespace

std::optional<ShellLink> ReadLinkFile(std::string_view bytes, const TextCodec& ansi) {
    const LinkPart link(bytes);
    const auto flags = link.At<std::uint32_t>(0x14);
    if (link.At<std::uint32_t>(0) != kHeaderSize || !flags ||
        link.Bytes(4, kShellLinkClass.size()) !=
            std::string_view(reinterpret_cast<const char*>(kShellLinkClass.data()),
                             kShellLinkClass.size()))
        return std::nullopt;
    std::size_t at = kHeaderSize;
    if ((*flags & kHasItemList) != 0) {
        const auto size = link.At<std::uint16_t>(at);
        if (!size)
            return std::nullopt;
        at += 2 + *size;
    }
    const auto info_size = link.At<std::uint32_t>(at);
    const auto info = info_size ? link.Bytes(at, *info_size) : std::nullopt;
    if ((*flags & kHasLinkInfo) == 0 || !info)
        return std::nullopt;
    const std::optional<std::string> target = LinkInfoTarget(LinkPart(*info), ansi);
    if (!target)
        return std::nullopt;
    at += *info_size;
    ShellLink read{*target, {}, {}};
    const bool unicode = (*flags & kIsUnicode) != 0;
    for (const std::uint32_t flag :
         {kHasName, kHasRelativePath, kHasWorkingDir, kHasArguments, kHasIconLocation}) {
        if ((*flags & flag) == 0)
            continue;
        std::optional<std::string> text = CountedText(link, at, unicode, ansi);
        if (!text)
            return std::nullopt;
        if (flag == kHasWorkingDir)
            read.working_directory = std::move(*text);
        else if (flag == kHasArguments)
            read.arguments = std::move(*text);
    }
    return read;
}

}  // namespace platform
