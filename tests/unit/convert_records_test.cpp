// The record mappings of the conversions, field by field, on hand-made old records.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "convert/log_book.h"
#include "convert/phone_book.h"

namespace {

using convert::ConvertedLogRecord;
using convert::ConvertLogRecord;

void Put(std::string& record, std::size_t offset, std::string_view bytes) {
    record.replace(offset, bytes.size(), bytes);
}

std::string Le16(std::uint16_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string Le32(std::uint32_t value) {
    return Le16(value & 0xFFFF) + Le16(value >> 16);
}

std::string ShortString(std::size_t length_byte, std::string_view text) {
    return std::string(1, static_cast<char>(length_byte)) + std::string(text);
}

template <std::size_t N>
std::string Bytes(const std::array<char, N>& record, std::size_t offset, std::size_t size) {
    return std::string(record.data() + offset, size);
}

// A text field's expected content: the text, then NULs to the field's size.
std::string Field(std::string_view text, std::size_t size) {
    std::string field(text);
    field.resize(size, '\0');
    return field;
}

struct FieldCase {
    const char* name;
    std::size_t offset;
    std::string expected;
};

// Every field of the old log record set to something of its own; texts that fill their whole
// field (no NUL) and a short string whose length byte overstates its field.
std::string OldLogRecord() {
    std::string record(convert::kOldLogRecordSize, '\0');
    Put(record, 0, Le16(2003) + Le16(4) + Le16(5) + Le16(6) + Le16(7) + Le16(8));
    Put(record, 12, Le16(0x1112) + Le16(0x1314));
    Put(record, 16, "first item");
    Put(record, 272, std::string(22, 'C'));
    Put(record, 294, "text D");
    Put(record, 358, Le16(0x2122) + Le16(0x2324) + Le16(0x2526));
    Put(record, 364, ShortString(200, std::string(62, 'H')));
    Put(record, 427, "\x05\x02");
    Put(record, 429, Le32(0x31323334) + Le32(0x41424344));
    Put(record, 437, Le16(0x0101));
    Put(record, 439, "text K");
    Put(record, 717, std::string(64, 'L'));
    Put(record, 781, "text M");
    Put(record, 855, "text N");
    return record;
}

const FieldCase kLogFields[] = {
    {"TextCWidened", 0, Field(std::string(22, 'C'), 64)},
    {"TextD", 64, Field("text D", 64)},
    {"TextM", 128, Field("text M", 74)},
    {"FirstItem", 202, Field("first item", 256)},
    {"TextN", 458, Field("text N", 64)},
    {"ValuesEFG", 522, Le16(0x2122) + Le16(0x2324) + Le16(0x2526)},
    {"DateAndTime", 528, Le16(2003) + Le16(4) + Le16(5) + Le16(6) + Le16(7) + Le16(8)},
    {"ValuesAB", 540, Le16(0x1112) + Le16(0x1314)},
    {"CodeValues", 544, Le16(2) + Le16(5)},
    {"ValuesIJ", 548, Le32(0x31323334) + Le32(0x41424344)},
    {"FlagsFromSendLog", 556, Le16(0x0111)},
    {"ShortStringHCutToItsOldField", 558, ShortString(62, std::string(62, 'H')) + '\0'},
    {"TextK", 622, Field("text K", 22)},
    {"TextLFullFieldKeepsANul", 644, Field(std::string(63, 'L'), 64)},
    {"NumberLeftToTheCaller", 708, Field("", 104)},
};

class LogRecordField : public testing::TestWithParam<FieldCase> {};

TEST_P(LogRecordField, IsTakenFromItsOldField) {
    const ConvertedLogRecord converted = ConvertLogRecord(OldLogRecord(), true);
    EXPECT_FALSE(converted.paired);
    EXPECT_EQ(Bytes(converted.first, GetParam().offset, GetParam().expected.size()),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Convert, LogRecordField, testing::ValuesIn(kLogFields),
                         [](const auto& info) { return std::string(info.param.name); });

struct CodeCase {
    unsigned char low;
    unsigned char high;
    std::uint16_t first;
    std::uint16_t second;
};

TEST(ConvertLogRecord, CodeValuesPutTheHighByteFirstWhenThereIsOne) {
    const CodeCase cases[] = {
        {5, 0, 5, 0}, {5, 2, 2, 5}, {0, 0, 0, 0}, {0, 7, 7, 0}, {255, 1, 1, 255}};
    for (const CodeCase& c : cases) {
        std::string old = OldLogRecord();
        old[427] = static_cast<char>(c.low);
        old[428] = static_cast<char>(c.high);
        const ConvertedLogRecord converted = ConvertLogRecord(old, false);
        EXPECT_EQ(Bytes(converted.first, 544, 4), Le16(c.first) + Le16(c.second))
            << "low " << int{c.low} << ", high " << int{c.high};
    }
}

TEST(ConvertLogRecord, FlagsAddSixteenFromTheSendLogOnly) {
    std::string old = OldLogRecord();
    Put(old, 437, Le16(0xFFF8));
    EXPECT_EQ(Bytes(ConvertLogRecord(old, false).first, 556, 2), Le16(0xFFF8));
    EXPECT_EQ(Bytes(ConvertLogRecord(old, true).first, 556, 2), Le16(0x0008));  // 16-bit sum
}

TEST(ConvertLogRecord, SecondItemMakesASecondRecordWithItsTextAndFlag) {
    std::string old = OldLogRecord();
    Put(old, 461, "2nd");
    const ConvertedLogRecord converted = ConvertLogRecord(old, true);
    ASSERT_TRUE(converted.paired);
    EXPECT_EQ(Bytes(converted.first, 202, 256), Field("first item", 256));
    EXPECT_EQ(Bytes(converted.first, 556, 2), Le16(0x0111));
    // The longer first item leaves nothing behind the second one's NUL.
    EXPECT_EQ(Bytes(converted.second, 202, 256), Field("2nd", 256));
    EXPECT_EQ(Bytes(converted.second, 556, 2), Le16(0x0131));
    for (const auto& [offset, size] : {std::pair{0, 202}, {458, 98}, {558, 254}})
        EXPECT_EQ(Bytes(converted.second, offset, size), Bytes(converted.first, offset, size));
}

// Every field of the old phone-book record set; B's length byte overstates its field, which is
// followed by C's length byte.
std::string OldPhoneBookRecord() {
    std::string record(convert::kOldPhoneBookRecordSize, '\0');
    Put(record, 0, ShortString(5, "AAAAA"));
    Put(record, 64, ShortString(250, std::string(24, 'B')));
    Put(record, 89, ShortString(24, std::string(24, 'C')));
    Put(record, 114, ShortString(2, "DD"));
    Put(record, 139, ShortString(63, std::string(63, 'E')));
    Put(record, 203, ShortString(1, "F"));
    Put(record, 267, ShortString(9, "GGGGG"));
    Put(record, 273, "\x07\x09");
    Put(record, 275, ShortString(13, "C:\\pics\\a.bmp"));
    Put(record, 355, std::string(258, 'J'));
    Put(record, 613, ShortString(10, "0123456789"));
    Put(record, 624, ShortString(3, "LLL"));
    Put(record, 630, ShortString(4, "MMMM"));
    Put(record, 694, Le16(0xA1A2) + Le16(0xB1B2));
    return record;
}

std::string Short(std::size_t length, std::string_view text, std::size_t capacity) {
    return ShortString(length, text) + std::string(capacity - text.size(), '\0');
}

const FieldCase kPhoneBookFields[] = {
    {"TextA", 0, Short(5, "AAAAA", 63)},
    {"TextBWidenedLengthCutToItsOldField", 64, Short(24, std::string(24, 'B'), 63)},
    {"TextCWidened", 128, Short(24, std::string(24, 'C'), 63)},
    {"TextDWidened", 192, Short(2, "DD", 63)},
    {"TextEWidened", 256, Short(63, std::string(63, 'E'), 127)},
    {"TextFWidened", 384, Short(1, "F", 127)},
    {"TextGLengthCut", 512, Short(5, "GGGGG", 5)},
    {"ValuesHIThenTwoZeros", 518, std::string("\x07\x09\0\0", 4)},
    {"Picture", 522, Short(13, "C:\\pics\\a.bmp", 255)},
    {"TextJWithoutNulEndsWithOne", 778, Field(std::string(257, 'J'), 258)},
    {"TextK", 1036, Short(10, "0123456789", 10)},
    {"TextL", 1047, Short(3, "LLL", 5)},
    {"TextM", 1053, Short(4, "MMMM", 63)},
    {"ValuesNO", 1117, Le16(0xA1A2) + Le16(0xB1B2)},
};

class PhoneBookRecordField : public testing::TestWithParam<FieldCase> {};

TEST_P(PhoneBookRecordField, IsTakenFromItsOldField) {
    const convert::PhoneBookRecord record = convert::ConvertPhoneBookRecord(OldPhoneBookRecord());
    EXPECT_EQ(Bytes(record, GetParam().offset, GetParam().expected.size()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Convert, PhoneBookRecordField, testing::ValuesIn(kPhoneBookFields),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ConvertPhoneBookRecord, TheDefaultPictureIsDroppedInAnyFolderAndLetterCase) {
    const std::pair<std::string, bool> cases[] = {
        {"zznak.bmp", true},
        {"C:\\Zinkolar\\ZZNAK.BMP", true},
        {"a:ZzNak.Bmp", true},
        {"C:\\x\\XZZNAK.BMP", false},
        {"zznak.bmp.old", false},
        {"C:\\zznak.bmp\\b.bmp", false},
        {"", false},
    };
    for (const auto& [path, dropped] : cases) {
        std::string old = OldPhoneBookRecord();
        Put(old, 275, Short(path.size(), path, 79));
        const convert::PhoneBookRecord record = convert::ConvertPhoneBookRecord(old);
        EXPECT_EQ(Bytes(record, 522, 256), dropped ? Field("", 256) : Short(path.size(), path, 255))
            << path;
    }
}

TEST(PhoneBookHeader, HoldsTheDisplaySettingsAndTheFolder) {
    const convert::PhoneBookRecord header = convert::PhoneBookHeader("C:\\Program Files\\Zinkolar");
    std::string expected(convert::kPhoneBookRecordSize, '\0');
    Put(expected, 64, ShortString(13, "MS Sans Serif"));
    Put(expected, 129, Le32(8));
    Put(expected, 512, Le32(32));
    Put(expected, 518, Le32(16777215));
    Put(expected, 522, ShortString(26, "C:\\Program Files\\Zinkolar\\"));
    Put(expected, 1036, std::string(11, 100));
    Put(expected, 1053, std::string("\0\1\2\3\4\5\6\7\x08\x09", 10));
    Put(expected, 1117, Le16(0xFFFD));
    EXPECT_EQ(std::string(header.data(), header.size()), expected);
}

TEST(PhoneBookHeader, CutsALongFolderToItsField) {
    const convert::PhoneBookRecord header = convert::PhoneBookHeader(std::string(300, 'x'));
    EXPECT_EQ(Bytes(header, 522, 256), ShortString(255, std::string(255, 'x')));
    EXPECT_EQ(header[778], '\0');
}

TEST(NewPhoneBookName, DropsOnlyTheFinalExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"clients.zkb", "clients.bzk"}, {"a.b.zkb", "a.b.bzk"}, {"A.ZKB", "A.bzk"}};
    for (const auto& [old_name, new_name] : cases)
        EXPECT_EQ(convert::NewPhoneBookName(old_name), new_name);
}

}  // namespace
