#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "app/command_line.h"

namespace {

using app::Display;
using app::InstallType;
using app::Options;

struct ParseCase {
    const char* name;
    std::vector<std::string> arguments;
    // Checks the options parsed.
    bool (*expect)(const Options&);
};

std::string CaseName(const testing::TestParamInfo<ParseCase>& info) {
    return info.param.name;
}

class CommandLineAccepts : public testing::TestWithParam<ParseCase> {};

TEST_P(CommandLineAccepts, GivesTheOptions) {
    const auto parsed = app::ParseCommandLine(GetParam().arguments);
    ASSERT_TRUE(std::holds_alternative<Options>(parsed)) << std::get<app::UsageError>(parsed).text;
    EXPECT_TRUE(GetParam().expect(std::get<Options>(parsed)));
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineAccepts,
    testing::Values(
        ParseCase{"Nothing", {}, [](const Options& o) { return !o.Unattended() && !o.help; }},
        ParseCase{"SilentAnyCase",
                  {"/sIlEnT"},
                  [](const Options& o) { return o.display == Display::Silent; }},
        ParseCase{"DashForm",
                  {"-VERYSILENT"},
                  [](const Options& o) { return o.display == Display::VerySilent; }},
        ParseCase{"StrongerWinsEitherOrder",
                  {"/VERYSILENT", "/SILENT"},
                  [](const Options& o) { return o.display == Display::VerySilent; }},
        ParseCase{"DirWithBlanks",
                  {"/SILENT", "/DIR=C:\\Program Files\\Zk Fax"},
                  [](const Options& o) { return o.dir == "C:\\Program Files\\Zk Fax"; }},
        ParseCase{"QuotedValue",
                  {"/SILENT", "/DIR=\"C:\\Program Files\\X\""},
                  [](const Options& o) { return o.dir == "C:\\Program Files\\X"; }},
        ParseCase{"ValueKeepsCaseAndEquals",
                  {"/SILENT", "/GROUP=Fax=Mail"},
                  [](const Options& o) { return o.group == "Fax=Mail"; }},
        ParseCase{"TasksListed",
                  {"/SILENT", "/TASKS=QuickLaunch,desktop,desktop"},
                  [](const Options& o) {
                      return o.tasks == std::vector<std::string>{"quicklaunch", "desktop"};
                  }},
        ParseCase{"TasksEmptyIsNone",
                  {"/SILENT", "/TASKS="},
                  [](const Options& o) { return o.tasks && o.tasks->empty(); }},
        ParseCase{"FileTypes",
                  {"/SILENT", "/FILETYPES=zkx,,MIX"},
                  [](const Options& o) {
                      return o.file_types == std::vector<std::string>{"zkx", "mix"};
                  }},
        ParseCase{"TypeClient",
                  {"/SILENT", "/TYPE=Client"},
                  [](const Options& o) { return o.type == InstallType::Client; }},
        ParseCase{
            "Everything",
            {"/VERYSILENT", "/SUPPRESSMSGBOXES", "/NOICONS", "/LANG=English", "/LOG=C:\\setup.log"},
            [](const Options& o) {
                return o.suppress_message_boxes && o.no_icons && o.language == "English" &&
                       o.log == "C:\\setup.log" && !o.group;
            }},
        ParseCase{"LogWithTheWizard",
                  {"/LOG=setup.log"},
                  [](const Options& o) { return !o.Unattended() && o.log == "setup.log"; }},
        ParseCase{"LogAloneGoesToTheTemporaryFolder",
                  {"/VERYSILENT", "/LOG"},
                  [](const Options& o) { return o.log == ""; }},
        // What deployment tools add: accepted anywhere, without effect.
        ParseCase{"DeploymentToolsSwitches",
                  {"/norestart", "/SP-", "-NOCANCEL", "/CloseApplications"},
                  [](const Options& o) {
                      return !o.Unattended() && o.ignored == std::vector<std::string>{
                                                                 "/norestart", "/SP-", "-NOCANCEL",
                                                                 "/CloseApplications"};
                  }},
        ParseCase{"Help", {"/?"}, [](const Options& o) { return o.help; }},
        ParseCase{"HelpDash", {"-?"}, [](const Options& o) { return o.help; }}),
    CaseName);

struct RefusalCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* says;  // a part of the usage error
};

class CommandLineRefuses : public testing::TestWithParam<RefusalCase> {};

TEST_P(CommandLineRefuses, WithAUsageError) {
    const auto parsed = app::ParseCommandLine(GetParam().arguments);
    ASSERT_TRUE(std::holds_alternative<app::UsageError>(parsed));
    EXPECT_NE(std::get<app::UsageError>(parsed).text.find(GetParam().says), std::string::npos)
        << std::get<app::UsageError>(parsed).text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineRefuses,
    testing::Values(
        RefusalCase{"UnknownSwitch", {"/SILENT", "/FAST"}, "unknown switch \"/FAST\""},
        RefusalCase{"NotASwitch", {"install"}, "unexpected argument"},
        RefusalCase{"LoneSlash", {"/"}, "unexpected argument"},
        RefusalCase{"FlagWithValue", {"/SILENT=1"}, "takes no value"},
        RefusalCase{"IgnoredWithValue", {"/NORESTART=1"}, "takes no value"},
        RefusalCase{"LogEmpty", {"/SILENT", "/LOG="}, "needs a value"},
        RefusalCase{"DirWithoutValue", {"/SILENT", "/DIR"}, "needs a value"},
        RefusalCase{"DirEmpty", {"/SILENT", "/DIR=\"\""}, "needs a value"},
        RefusalCase{
            "UnknownTask", {"/SILENT", "/TASKS=desktop,startup"}, "unknown task \"startup\""},
        RefusalCase{
            "UnknownFileType", {"/SILENT", "/FILETYPES=zkx,doc"}, "unknown file type \"doc\""},
        RefusalCase{"UnknownType", {"/SILENT", "/TYPE=both"}, "installation type"},
        RefusalCase{
            "NoIconsWithGroup", {"/SILENT", "/NOICONS", "/GROUP=Fax"}, "exclude each other"},
        RefusalCase{"ChoicesWithoutSilent", {"/DIR=C:\\Zk"}, "/SILENT"},
        RefusalCase{"SuppressWithoutSilent", {"/SUPPRESSMSGBOXES"}, "/SILENT"}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST(CommandLine, DescribesTheOptionsForTheAccount) {
    const auto parsed = app::ParseCommandLine({"/VERYSILENT", "/DIR=C:\\Zk", "/TASKS=desktop"});
    ASSERT_TRUE(std::holds_alternative<Options>(parsed));
    EXPECT_EQ(app::Describe(std::get<Options>(parsed)),
              "mode very silent, folder \"C:\\Zk\", tasks \"desktop\"");
}

TEST(CommandLine, DescribesWhatItIgnores) {
    const auto parsed = app::ParseCommandLine({"/SILENT", "/NORESTART", "/LOG"});
    ASSERT_TRUE(std::holds_alternative<Options>(parsed));
    EXPECT_EQ(app::Describe(std::get<Options>(parsed)),
              "mode silent, log \"in the temporary folder\", /NORESTART accepted without effect "
              "(this setup never restarts the machine)");
}

TEST(CommandLine, DatedLogTakesTheFirstFreeNumber) {
    const std::string first = "C:\\Temp\\Zinkolar Setup Log 2026-12-08 #001.txt";
    const std::string second = "C:\\Temp\\Zinkolar Setup Log 2026-12-08 #002.txt";
    const auto none = [](const std::string&) { return false; };
    const auto first_taken = [&](const std::string& path) { return path == first; };
    EXPECT_EQ(app::DatedLogPath("C:\\Temp\\", 2026, 12, 8, none), first);
    EXPECT_EQ(app::DatedLogPath("C:\\Temp", 2026, 12, 8, first_taken), second);
}

TEST(CommandLine, KeepsTheLogOfAWrongCommandLine) {
    const auto parsed = app::ParseCommandLine({"-Bogus=1", "/LOG=C:\\zk.log", "/TYPE=both"});
    ASSERT_TRUE(std::holds_alternative<app::UsageError>(parsed));
    EXPECT_EQ(std::get<app::UsageError>(parsed).text, "unknown switch \"-Bogus\"");
    EXPECT_EQ(std::get<app::UsageError>(parsed).log, "C:\\zk.log");
}

TEST(CommandLine, QuietEvenWhenTheRestIsWrong) {
    EXPECT_TRUE(app::Quiet({"-verysilent", "/FAST", "/SuppressMsgBoxes"}));
    EXPECT_FALSE(app::Quiet({"/VERYSILENT", "/FAST"}));
    EXPECT_FALSE(app::Quiet({"/SILENT", "/SUPPRESSMSGBOXES"}));
}

}  // namespace
