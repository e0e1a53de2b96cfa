#include <gtest/gtest.h>

#include "language/format.h"

namespace {

using namespace std::string_view_literals;

struct FormatCase {
    const char* name;
    std::string_view format;
    std::vector<std::string_view> args;
    std::string_view expected;
    friend void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }
};

// FormatText takes its arguments as a braced list, so the table rows go through a switch.
std::string Format(const FormatCase& c) {
    const auto& a = c.args;
    switch (a.size()) {
        case 0:
            return language::FormatText(c.format, {});
        case 1:
            return language::FormatText(c.format, {a[0]});
        case 2:
            return language::FormatText(c.format, {a[0], a[1]});
        default:
            return language::FormatText(c.format, {a[0], a[1], a[2]});
    }
}

class FormatText : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatText, FillsOnlyStringPlaceholders) {
    EXPECT_EQ(Format(GetParam()), GetParam().expected);
}

// Format texts come from translators: none of these may crash or read past the arguments.
INSTANTIATE_TEST_SUITE_P(
    Table, FormatText,
    testing::Values(
        FormatCase{"InOrder",
                   "Установка %s %s успешно завершена.",
                   {"Zinkolar", "5.0"},
                   "Установка Zinkolar 5.0 успешно завершена."},
        FormatCase{"AtBothEnds", "%s-%s", {"a", "b"}, "a-b"},
        FormatCase{"AdjacentPlaceholders", "%s%s", {"a", "b"}, "ab"},
        FormatCase{
            "ExtraArgumentsIgnored", "Добро пожаловать!", {"Zinkolar", "5.0"}, "Добро пожаловать!"},
        FormatCase{"ExtraPlaceholderStays", "%s and %s", {"a"}, "a and %s"},
        FormatCase{"NoArgumentsAtAll", "%s %s %s", {}, "%s %s %s"},
        FormatCase{"OtherConversionsStay", "%d %n %x %p %i", {"a", "b"}, "%d %n %x %p %i"},
        FormatCase{"UpperCaseIsNotAPlaceholder", "%S", {"a"}, "%S"},
        FormatCase{"PositionalIsNotAPlaceholder", "%1$s %0:s", {"a"}, "%1$s %0:s"},
        FormatCase{"LoneTrailingPercent", "100%", {"a"}, "100%"},
        FormatCase{"OnlyAPercent", "%", {"a"}, "%"},
        FormatCase{"DoublePercentBeforeS", "%%s", {"a"}, "%a"},
        FormatCase{"ArgumentsAreNotScannedAgain", "%s|%s", {"%s%d", "x"}, "%s%d|x"},
        FormatCase{"EmptyArgument", "[%s]", {""}, "[]"}, FormatCase{"EmptyFormat", "", {"a"}, ""},
        FormatCase{"EmbeddedNul", "a\0%s"sv, {"b"}, "a\0b"sv},
        FormatCase{"ThreeArguments", "%s/%s/%s", {"1", "2", "3"}, "1/2/3"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
