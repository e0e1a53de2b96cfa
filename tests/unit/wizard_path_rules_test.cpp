// The names the wizard takes for the destination folder and the program group: what the
// platform can create and the installation log can record.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "wizard/path_rules.h"

namespace {

using wizard::NameVerdict;
constexpr NameVerdict kOk = NameVerdict::Accepted;
constexpr NameVerdict kBad = NameVerdict::Malformed;
constexpr NameVerdict kEquals = NameVerdict::HoldsEquals;

struct NameCase {
    std::string name;
    NameVerdict verdict;
};

std::string Repeated(std::string_view text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

// Folders as the wizard checks them: their trailing backslash already removed.
const NameCase kFolders[] = {
    {"C:\\Program Files\\Zinkolar", kOk},
    {"c:\\a", kOk},
    {"C:\\Program Files\\ Lead", kOk},  // a blank may begin a name
    {"C:\\Папка\\Факс", kOk},
    {"C:\\a.b\\c d", kOk},
    {"\\\\server\\share\\x", kOk},
    {"\\\\server\\share", kOk},
    {"C:\\" + std::string(244, 'x'), kOk},  // 247 characters
    {"C:\\" + std::string(245, 'x'), kBad},
    {"C:\\" + std::string(122, 'x') + "\\" + Repeated("ж", 121), kOk},  // characters, not bytes
    {"", kBad},
    {"Zinkolar", kBad},
    {"C:", kBad},
    {"C:\\", kBad},  // a drive's root
    {"C:Zinkolar", kBad},
    {"\\Zinkolar", kBad},
    {"\\\\server", kBad},
    {"\\\\server\\", kBad},
    {"\\\\\\share\\x", kBad},
    {"1:\\x", kBad},
    {"C:\\a<b>\\c", kBad},
    {"C:\\a>b", kBad},
    {"C:\\a:b", kBad},
    {"C:\\a\"b", kBad},
    {"C:\\a/b", kBad},
    {"C:\\a|b", kBad},
    {"C:\\a?b", kBad},
    {"C:\\a*b", kBad},
    {"C:\\a\tb", kBad},
    {"C:\\a\x1F", kBad},
    {"C:\\dir\\ trailing ", kBad},
    {"C:\\dir\\ trailing \\x", kBad},
    {"C:\\dir.\\x", kBad},
    {"C:\\a\\..\\b", kBad},
    {"C:\\.", kBad},
    {"C:\\a\\\\b", kBad},
    {"C:\\a\\", kBad},  // two backslashes at the end of the field
    {"   ", kBad},
    {"\\\\ser<ver\\share\\x", kBad},
    {"C:\\a=b", kEquals},
    {"\\\\server\\share\\x=1", kEquals},
    {"C:\\a=b\\c<d", kBad},  // what the platform refuses is said first
};

TEST(WizardPathRules, FolderIsOneThePlatformCreatesAndTheLogRecords) {
    for (const NameCase& c : kFolders) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(wizard::CheckFolder(c.name), c.verdict);
    }
}

constexpr char kPrograms[] = "C:\\ProgramData\\Start Menu\\Programs";  // 34 characters

const NameCase kGroups[] = {
    {"Zinkolar 5.0", kOk},
    {"Kelmo\\Zinkolar", kOk},
    {"Kelmo\\Zinkolar\\", kOk},  // one trailing backslash, dropped with the group's folder
    {"Accessories\\Zinkolar ", kBad},
    {" Lead\\Zinkolar", kOk},
    {"Zinkolar Server", kOk},
    {std::string(212, 'x'), kOk},  // the group's folder: 247 characters
    {std::string(213, 'x'), kBad},
    {"", kBad},
    {"\\", kBad},
    {"..\\..\\..", kBad},
    {".", kBad},
    {"a\\.\\b", kBad},
    {"a<b", kBad},
    {"a:b", kBad},
    {"a/b", kBad},
    {"\\Zinkolar", kBad},
    {"Kelmo\\\\Zinkolar", kBad},
    {"Kelmo\\Zinkolar\\\\", kBad},
    {"Zinkolar.", kBad},
    {"Zinkolar ", kBad},
    {"C:\\Zinkolar", kBad},
    {"a=b", kEquals},
    {"Kelmo\\x=y", kEquals},
};

TEST(WizardPathRules, GroupIsAFolderNameBelowThePrograms) {
    for (const NameCase& c : kGroups) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(wizard::CheckGroup(kPrograms, c.name), c.verdict);
    }
}

TEST(WizardPathRules, RootIsTheDriveOrTheShare) {
    EXPECT_EQ(wizard::RootOf("Q:\\x\\y"), "q:\\");
    EXPECT_EQ(wizard::RootOf("\\\\Server\\Share\\x"), "\\\\Server\\Share");
    EXPECT_EQ(wizard::RootOf("\\\\Server\\Share"), "\\\\Server\\Share");
}

}  // namespace
