#include "pe_image.h"

#include <vector>

#include "platform/text.h"

namespace zkdist {
namespace {

constexpr std::uint32_t kResourceString = 6;
constexpr std::uint32_t kResourceBitmap = 2;
constexpr std::uint32_t kHighBit = 0x80000000U;
// Deep or looping resource trees are damage; no real library has more than a few thousand.
constexpr std::uint32_t kMostEntries = 65536;

class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    std::optional<std::uint32_t> U16(std::uint64_t at) const { return Little(at, 2); }
    std::optional<std::uint32_t> U32(std::uint64_t at) const { return Little(at, 4); }
    bool Has(std::uint64_t at, std::uint64_t size) const {
        return at <= bytes_.size() && size <= bytes_.size() - at;
    }
    std::string_view Slice(std::uint64_t at, std::uint64_t size) const {
        return Has(at, size) ? bytes_.substr(at, size) : std::string_view();
    }
    // UTF-16 units at an offset, as UTF-8.
    std::optional<std::string> Utf16(std::uint64_t at, std::uint32_t units) const {
        if (!Has(at, std::uint64_t{units} * 2))
            return std::nullopt;
        std::u16string text;
        for (std::uint32_t i = 0; i < units; ++i)
            text += static_cast<char16_t>(*U16(at + 2 * std::uint64_t{i}));
        return platform::Utf16ToUtf8(text);
    }

  private:
    std::optional<std::uint32_t> Little(std::uint64_t at, int size) const {
        if (!Has(at, size))
            return std::nullopt;
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(bytes_[at + i]);
        return value;
    }

    std::string_view bytes_;
};

struct Section {
    std::uint32_t address = 0;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
};

class Image {
  public:
    Image(Reader reader, std::vector<Section> sections)
        : reader_(reader), sections_(std::move(sections)) {}

    const Reader& Bytes() const { return reader_; }
    std::optional<std::uint64_t> Offset(std::uint32_t address) const {
        for (const Section& section : sections_) {
            if (address >= section.address && address - section.address < section.size)
                return std::uint64_t{section.offset} + (address - section.address);
        }
        return std::nullopt;
    }

  private:
    Reader reader_;
    std::vector<Section> sections_;
};

struct Directory {
    std::uint32_t address = 0;
    std::uint32_t size = 0;
};

// The sections and the export and resource directories; nullopt for no PE image.
std::optional<Image> Parse(const Reader& reader, Directory& exports, Directory& resources) {
    if (reader.Slice(0, 2) != "MZ")
        return std::nullopt;
    const std::optional<std::uint32_t> header = reader.U32(0x3C);
    if (!header || reader.Slice(*header, 4) != std::string_view("PE\0\0", 4))
        return std::nullopt;
    const std::uint64_t file_header = std::uint64_t{*header} + 4;
    const auto sections = reader.U16(file_header + 2);
    const auto optional_size = reader.U16(file_header + 16);
    const std::uint64_t optional_header = file_header + 20;
    const auto magic = reader.U16(optional_header);
    if (!sections || !optional_size || !magic || (*magic != 0x10B && *magic != 0x20B))
        return std::nullopt;
    const std::uint64_t count_at = optional_header + (*magic == 0x10B ? 92 : 108);
    const std::uint32_t directories = reader.U32(count_at).value_or(0);
    const auto directory = [&](std::uint32_t index) {
        if (index >= directories)
            return Directory{};
        const std::uint64_t at = count_at + 4 + 8 * std::uint64_t{index};
        return Directory{reader.U32(at).value_or(0), reader.U32(at + 4).value_or(0)};
    };
    exports = directory(0);
    resources = directory(2);
    std::vector<Section> table;
    const std::uint64_t first = optional_header + *optional_size;
    for (std::uint32_t i = 0; i < *sections; ++i) {
        const std::uint64_t at = first + 40 * std::uint64_t{i};
        const auto virtual_size = reader.U32(at + 8);
        const auto address = reader.U32(at + 12);
        const auto raw_size = reader.U32(at + 16);
        const auto offset = reader.U32(at + 20);
        if (!virtual_size || !address || !raw_size || !offset)
            return std::nullopt;
        // What lies past the raw data is zeros in memory and nothing in the file.
        table.push_back({*address,
                         std::min(*virtual_size == 0 ? *raw_size : *virtual_size, *raw_size),
                         *offset});
    }
    return Image(reader, std::move(table));
}

void ReadExports(const Image& image, Directory exports, PeFacts& facts) {
    const std::optional<std::uint64_t> at = image.Offset(exports.address);
    if (exports.size == 0 || !at)
        return;
    const Reader& bytes = image.Bytes();
    const std::uint32_t names = bytes.U32(*at + 24).value_or(0);
    const std::optional<std::uint64_t> table = image.Offset(bytes.U32(*at + 32).value_or(0));
    if (!table)
        return;
    for (std::uint32_t i = 0; i < names && i < kMostEntries; ++i) {
        const auto name_address = bytes.U32(*table + 4 * std::uint64_t{i});
        const std::optional<std::uint64_t> name =
            name_address ? image.Offset(*name_address) : std::nullopt;
        if (!name)
            return;
        std::string text;
        for (std::uint64_t c = *name; bytes.Has(c, 1) && bytes.Slice(c, 1)[0] != '\0'; ++c)
            text += bytes.Slice(c, 1)[0];
        facts.exports.insert(text);
    }
}

// One entry of a resource directory: its number, or its name (upper case), and where it leads.
struct Entry {
    std::uint32_t id = 0;
    std::string name;
    bool directory = false;
    std::uint32_t target = 0;  // offset from the start of the resource data
};

std::vector<Entry> Entries(const Reader& bytes, std::uint64_t base, std::uint32_t offset) {
    std::vector<Entry> entries;
    const std::uint64_t at = base + offset;
    const std::uint32_t count = bytes.U16(at + 12).value_or(0) + bytes.U16(at + 14).value_or(0);
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto name = bytes.U32(at + 16 + 8 * std::uint64_t{i});
        const auto target = bytes.U32(at + 20 + 8 * std::uint64_t{i});
        if (!name || !target)
            break;
        Entry entry{.directory = (*target & kHighBit) != 0, .target = *target & ~kHighBit};
        if (*name & kHighBit) {
            const std::uint64_t text = base + (*name & ~kHighBit);
            // The platform stores resource names in upper case; so does this map.
            entry.name = bytes.Utf16(text + 2, bytes.U16(text).value_or(0)).value_or("");
            for (char& c : entry.name)
                c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        } else {
            entry.id = *name;
        }
        entries.push_back(entry);
    }
    return entries;
}

// The data of a name's first language.
std::string_view FirstData(const Image& image, std::uint64_t base, const Entry& name) {
    const Reader& bytes = image.Bytes();
    if (!name.directory)
        return {};
    for (const Entry& language : Entries(bytes, base, name.target)) {
        if (language.directory)
            continue;
        const auto address = bytes.U32(base + language.target);
        const auto size = bytes.U32(base + language.target + 4);
        const std::optional<std::uint64_t> at = address ? image.Offset(*address) : std::nullopt;
        if (at && size)
            return bytes.Slice(*at, *size);
    }
    return {};
}

void ReadStrings(std::string_view block, std::uint32_t number, PeFacts& facts) {
    const Reader bytes(block);
    std::uint64_t at = 0;
    for (std::uint32_t i = 0; i < 16; ++i) {
        const auto length = bytes.U16(at);
        if (!length)
            return;
        const std::optional<std::string> text = bytes.Utf16(at + 2, *length);
        if (!text)
            return;
        if (!text->empty())
            facts.strings[(number - 1) * 16 + i] = *text;
        at += 2 + 2 * std::uint64_t{*length};
    }
}

void ReadResources(const Image& image, Directory resources, PeFacts& facts) {
    const std::optional<std::uint64_t> base = image.Offset(resources.address);
    if (resources.size == 0 || !base)
        return;
    const Reader& bytes = image.Bytes();
    for (const Entry& type : Entries(bytes, *base, 0)) {
        if (!type.directory || (type.id != kResourceString && type.id != kResourceBitmap))
            continue;
        for (const Entry& name : Entries(bytes, *base, type.target)) {
            const std::string_view data = FirstData(image, *base, name);
            if (type.id == kResourceString && name.name.empty() && name.id > 0) {
                ReadStrings(data, name.id, facts);
            } else if (type.id == kResourceBitmap) {
                const Reader header(data);
                const std::string key = name.name.empty() ? std::to_string(name.id) : name.name;
                facts.bitmaps[key] = {
                    .width = static_cast<std::int32_t>(header.U32(4).value_or(0)),
                    .height = static_cast<std::int32_t>(header.U32(8).value_or(0)),
                    .bits = static_cast<std::uint16_t>(header.U16(14).value_or(0))};
            }
        }
    }
}

}  // namespace

std::optional<PeFacts> ReadPeFacts(std::string_view bytes) {
    const Reader reader(bytes);
    Directory exports;
    Directory resources;
    const std::optional<Image> image = Parse(reader, exports, resources);
    if (!image)
        return std::nullopt;
    PeFacts facts;
    ReadExports(*image, exports, facts);
    ReadResources(*image, resources, facts);
    return facts;
}

}  // namespace zkdist
