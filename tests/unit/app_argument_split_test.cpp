#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/argument_split.h"

namespace {

struct SplitCase {
    const char* name;
    std::string line;
    std::vector<std::string> arguments;
};

class SplitCommandLine : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLine, GivesThePlatformsArguments) {
    EXPECT_EQ(app::SplitCommandLine(GetParam().line), GetParam().arguments);
}

// The cases of the platform's own splitting of a command line.
INSTANTIATE_TEST_SUITE_P(
    Table, SplitCommandLine,
    testing::Values(
        SplitCase{"NameOnly", R"("C:\Program Files\Z\zkuninst.exe")", {}},
        SplitCase{"NameWithoutQuotes", R"(zkuninst.exe /SILENT  /LOG=x)", {"/SILENT", "/LOG=x"}},
        SplitCase{"QuotedNameWithBlanksAfter",
                  "\"C:\\a b\\zkuninst.exe\" \t /VERYSILENT /SUPPRESSMSGBOXES ",
                  {"/VERYSILENT", "/SUPPRESSMSGBOXES"}},
        SplitCase{"QuotedPartInAnArgument",
                  R"(z.exe /LOG="C:\my logs\un.log" /SILENT)",
                  {R"(/LOG=C:\my logs\un.log)", "/SILENT"}},
        SplitCase{
            "TrailingBackslashesBeforeAQuote", R"(z.exe "C:\dir\\" next)", {R"(C:\dir\)", "next"}},
        SplitCase{"OddBackslashesKeepTheQuote", R"(z.exe a\"b c\\\"d)", {R"(a"b)", R"(c\"d)"}},
        SplitCase{"BackslashesWithoutAQuote", R"(z.exe C:\a\\b\)", {R"(C:\a\\b\)"}},
        SplitCase{"TwoQuotesInAQuotedPart", R"(z.exe "say ""hi""" x)", {R"(say "hi")", "x"}},
        SplitCase{"EmptyQuotedArgument", R"(z.exe "" x)", {"", "x"}},
        SplitCase{"UnclosedQuoteRunsToTheEnd", R"(z.exe "a b)", {"a b"}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

}  // namespace
