#include "convert/fields.h"

#include <algorithm>
#include <cstring>

namespace convert {

std::uint16_t Get16(std::string_view record, std::size_t offset) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(record[offset]) |
                                      static_cast<unsigned char>(record[offset + 1]) << 8);
}

void Put16(std::span<char> record, std::size_t offset, std::uint16_t value) {
    record[offset] = static_cast<char>(value & 0xFF);
    record[offset + 1] = static_cast<char>(value >> 8);
}

void Put32(std::span<char> record, std::size_t offset, std::uint32_t value) {
    Put16(record, offset, static_cast<std::uint16_t>(value & 0xFFFF));
    Put16(record, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

void Copy(std::string_view from_record, TextField from, std::span<char> to_record, TextField to) {
    const std::string_view field = from_record.substr(from.offset, from.size);
    const std::size_t length = std::min({field.find('\0'), field.size(), to.size - 1});
    std::memcpy(&to_record[to.offset], field.data(), length);
    std::memset(&to_record[to.offset + length], 0, to.size - length);
}

std::string_view ShortString(std::string_view record, ShortStringField field) {
    const std::size_t length =
        std::min<std::size_t>(static_cast<unsigned char>(record[field.offset]), field.capacity);
    return record.substr(field.offset + 1, length);
}

void PutShortString(std::span<char> record, ShortStringField field, std::string_view text) {
    const std::size_t length = std::min(text.size(), field.capacity);
    record[field.offset] = static_cast<char>(length);
    std::memcpy(&record[field.offset + 1], text.data(), length);
    std::memset(&record[field.offset + 1 + length], 0, field.capacity - length);
}

void Copy(std::string_view from_record, ShortStringField from, std::span<char> to_record,
          ShortStringField to) {
    PutShortString(to_record, to, ShortString(from_record, from));
}

void Copy(std::string_view from_record, RawField from, std::span<char> to_record, RawField to) {
    std::memcpy(&to_record[to.offset], &from_record[from.offset], std::min(from.size, to.size));
}

}  // namespace convert
