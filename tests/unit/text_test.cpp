#include <gtest/gtest.h>

#include "platform/text.h"

namespace {

using platform::Cp1251Codec;

struct CodecCase {
    std::string ansi;
    std::string utf8;
};

class Cp1251 : public testing::TestWithParam<CodecCase> {};

TEST_P(Cp1251, ConvertsBothWays) {
    const Cp1251Codec codec;
    EXPECT_EQ(codec.AnsiToUtf8(GetParam().ansi), GetParam().utf8);
    EXPECT_EQ(codec.Utf8ToAnsi(GetParam().utf8), GetParam().ansi);
}

INSTANTIATE_TEST_SUITE_P(Table, Cp1251,
                         testing::Values(CodecCase{"plain", "plain"},
                                         CodecCase{"\xCF\xF0\xE8\xE2\xE5\xF2", "Привет"},
                                         CodecCase{"\xA8\xB8", "Ёё"}, CodecCase{"\xB9 \x96", "№ –"},
                                         CodecCase{"\xC0\xDF\xE0\xFF", "АЯая"}));

TEST(Cp1251, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(Cp1251Codec().Utf8ToAnsi("a€b日"),
              "a\x88"
              "b?");
}

TEST(Utf16, RoundTripsSurrogatesAndRepairsMalformedInput) {
    EXPECT_EQ(platform::Utf16ToUtf8(platform::Utf8ToUtf16("Да 😀")), "Да 😀");
    EXPECT_EQ(platform::Utf8ToUtf16("\xC3"), u"\uFFFD");
    EXPECT_EQ(platform::Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
}

TEST(IgnoreCase, FoldsLatinAndCyrillic) {
    EXPECT_TRUE(platform::EqualsIgnoreCase("RUSSIAN", "Russian"));
    EXPECT_TRUE(platform::EqualsIgnoreCase("ЁЛКА", "ёлка"));
    EXPECT_FALSE(platform::EqualsIgnoreCase("abc", "abcd"));
    EXPECT_LT(platform::CompareIgnoreCase("english", "German"), 0);
    EXPECT_EQ(platform::ToLower("C:\\Program Files\\Папка"), "c:\\program files\\папка");
}

// Every line break the platform's files use, mixed in one text; a last break ends a line.
TEST(SplitLines, AtLfCrLfAndLoneCr) {
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(platform::SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(platform::SplitLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(platform::SplitLines("\n\r\n"), (Lines{"", ""}));
    EXPECT_TRUE(platform::SplitLines("").empty());
}

}  // namespace
