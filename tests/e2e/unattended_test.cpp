// Unattended installations of the real setup.exe, started with switches as a deployment tool
// starts it, and checked from outside: the same expectations as the wizard's installation, the
// exit codes, and the account written by /LOG.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "driver/distribution.h"
#include "driver/setup_process.h"
#include "driver/strings.h"
#include "e2e_paths.h"
#include "single_installation.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

struct Ended {
    DWORD exit_code = 0;
    std::set<std::string> shown;  // the classes of the windows it showed
};

// Starts setup.exe from the distribution with the switches and waits for its end, watching its
// windows on the way.
Ended RunSetup(const Distribution& distribution, const std::string& switches) {
    const SetupProcess setup(distribution.Folder(), L"setup.exe", Wide(switches));
    Ended ended;
    WaitUntil(
        [&] {
            for (const RemoteWindow& window : setup.Windows())
                if (window.Visible())
                    ended.shown.insert(window.ClassName());
            return !setup.Running();
        },
        kRunTimeout, "the end of setup");
    ended.exit_code = setup.WaitExit();
    return ended;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream file(fs::path(Wide(path)), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// The log beside the test's installation folder: inside, it would be one file too many.
struct LogFile {
    explicit LogFile(const Destination& dest) : path(dest.Path() + ".log") {
        fs::create_directories(fs::path(Wide(path)).parent_path());
        fs::remove(Wide(path));
    }
    ~LogFile() {
        std::error_code ignored;
        fs::remove(Wide(path), ignored);
    }
    std::string path;
};

bool ValidUtf8(const std::string& text) {
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                               static_cast<int>(text.size()), nullptr, 0) > 0;
}

TEST(UnattendedTest, VerySilentInstallationLeavesWhatTheWizardLeaves) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    const LogFile log(dest);
    const Ended ended = RunSetup(
        distribution, "/VERYSILENT /DIR=\"" + dest.Path() + "\" /LOG=\"" + log.path + "\"");
    EXPECT_EQ(ended.exit_code, 0u);
    EXPECT_TRUE(ended.shown.empty()) << *ended.shown.begin();
    ExpectSingleInstallation(Utf8(distribution.Folder()), dest);

    const std::string account = ReadBytes(log.path);
    EXPECT_TRUE(ValidUtf8(account));
    std::istringstream lines(account);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        EXPECT_TRUE(std::regex_search(line, std::regex(R"(^\d\d:\d\d:\d\d\.\d\d\d .*\r$)")))
            << line;
    }
    EXPECT_GT(count, 8);
    for (const std::string& said :
         {"Command line: /VERYSILENT /DIR=" + dest.Path(), std::string("Options: mode very silent"),
          std::string("Record [main] version=Zinkolar 5.0"), std::string("Exit code 0")}) {
        EXPECT_NE(account.find(said), std::string::npos) << said;
    }
}

TEST(UnattendedTest, SilentInstallationShowsTheProgressWindowOnly) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    const Ended ended = RunSetup(distribution, "/SILENT /DIR=\"" + dest.Path() + "\"");
    EXPECT_EQ(ended.exit_code, 0u);
    EXPECT_EQ(ended.shown, std::set<std::string>{"TCopyFilesForm"});
    EXPECT_TRUE(fs::exists(Wide(dest / "zinkolar.exe")));
}

// A deployment tool that starts setup while a person runs the wizard gets 1618, and the wizard
// goes on undisturbed.
TEST(UnattendedTest, AnotherSetupRunningEndsWith1618) {
    const Distribution distribution(kDistributions + "single");
    const SetupProcess wizard(distribution.Folder());
    wizard.WaitWindow("TWizardDlg");
    const Destination dest;
    EXPECT_EQ(RunSetup(distribution, "/VERYSILENT /DIR=\"" + dest.Path() + "\"").exit_code, 1618u);
    EXPECT_FALSE(fs::exists(Wide(dest.Path())));
    EXPECT_TRUE(wizard.Running());
}

struct RefusalCase {
    const char* name;
    const char* switches;
};

class UnattendedRefusal : public testing::TestWithParam<RefusalCase> {};

// Bad usage ends with 2 before anything is installed, and shows nothing when told so.
TEST_P(UnattendedRefusal, EndsWithTwoAndInstallsNothing) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    const LogFile log(dest);
    EXPECT_EQ(RunSetup(distribution, "/VERYSILENT /SUPPRESSMSGBOXES /LOG=\"" + log.path + "\" " +
                                         GetParam().switches)
                  .exit_code,
              2u);
    EXPECT_FALSE(fs::exists(Wide(dest.Path())));
    for (const char* refused : {"C:\\ZkE2E\\Fax=Mail", "C:\\ZkE2E\\Zinkolar ü"})
        EXPECT_FALSE(fs::exists(Wide(refused))) << refused;
    EXPECT_NE(ReadBytes(log.path).find("Exit code 2"), std::string::npos) << "the reason is logged";
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnattendedRefusal,
    testing::Values(RefusalCase{"RefusedFolder", "/DIR=\"C:\\ZkE2E\\Fax=Mail\""},
                    // The installation log would record another folder: "Zinkolar u".
                    RefusalCase{"FolderOutsideTheCodePage", "/DIR=\"C:\\ZkE2E\\Zinkolar ü\""},
                    RefusalCase{"UnknownSwitch", "/FAST"},
                    RefusalCase{"UnknownLanguage", "/LANG=Klingon"},
                    RefusalCase{"TypeOfASingleDistribution", "/TYPE=client"}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

// An application that stays through the close request: the table answers "abort", the run ends
// with 1602 and the account says which questions were asked.
TEST(UnattendedTest, ApplicationThatStaysDeclinesWith1602) {
    const SetupProcess stubborn(HostPath(E2E_BUILD_DIR "/product/stubborn"), L"zkdrv32.exe");
    stubborn.WaitWindow("ZinkolarStandIn");
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    const LogFile log(dest);
    EXPECT_EQ(RunSetup(distribution, "/VERYSILENT /SUPPRESSMSGBOXES /DIR=\"" + dest.Path() +
                                         "\" /LOG=\"" + log.path + "\"")
                  .exit_code,
              1602u);
    EXPECT_TRUE(stubborn.Running());
    EXPECT_FALSE(fs::exists(Wide(dest / "zinkolar.exe")));
    const std::string account = ReadBytes(log.path);
    for (const char* said : {"Dialog cAnyAppRun [Yes/No]", "Dialog cErrCloseApp [Yes/No/Retry]",
                             "Answered by the table: Yes", "Exit code 1602"}) {
        EXPECT_NE(account.find(said), std::string::npos) << said << "\n" << account;
    }
}

}  // namespace
