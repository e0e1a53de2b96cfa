#pragma once
// The fields of the product's fixed-size records: little-endian numbers, Text[N] (N bytes of
// ANSI text ended by a NUL) and short string[N] (a length byte, then up to N characters).
// Copies never read outside their source field, whatever its bytes say.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace convert {

struct TextField {
    std::size_t offset;
    std::size_t size;
};

struct ShortStringField {
    std::size_t offset;
    std::size_t capacity;  // characters after the length byte
};

// A number (or any bytes) moved bit for bit.
struct RawField {
    std::size_t offset;
    std::size_t size;
};

template <typename Field>
struct FieldCopy {
    Field from;
    Field to;
};

std::uint16_t Get16(std::string_view record, std::size_t offset);
void Put16(std::span<char> record, std::size_t offset, std::uint16_t value);
void Put32(std::span<char> record, std::size_t offset, std::uint32_t value);

// Up to the source's NUL or its end, cut so that a NUL still fits in the destination; the rest
// of the destination field is zeroed, so a replaced text leaves nothing of the old one behind.
void Copy(std::string_view from_record, TextField from, std::span<char> to_record, TextField to);
// The length byte cut to the source's capacity, then to the destination's.
void Copy(std::string_view from_record, ShortStringField from, std::span<char> to_record,
          ShortStringField to);
void Copy(std::string_view from_record, RawField from, std::span<char> to_record, RawField to);

// The characters of a short string, its length cut to the field's capacity.
std::string_view ShortString(std::string_view record, ShortStringField field);
// Stores text as a short string, cut to the field's capacity, the unused bytes zeroed.
void PutShortString(std::span<char> record, ShortStringField field, std::string_view text);

template <typename Field, std::size_t N>
void CopyAll(std::string_view from_record, const FieldCopy<Field> (&copies)[N],
             std::span<char> to_record) {
    for (const auto& copy : copies)
        Copy(from_record, copy.from, to_record, copy.to);
}

}  // namespace convert
