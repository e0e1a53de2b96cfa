// The names the wizard takes for the destination folder and the program group: what the
// platform can create and the installation log can record.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

#include "platform/profile.h"
#include "wizard/path_rules.h"

namespace {

using wizard::NameVerdict;
constexpr NameVerdict kOk = NameVerdict::Accepted;
constexpr NameVerdict kBad = NameVerdict::Malformed;
constexpr NameVerdict kEquals = NameVerdict::HoldsEquals;
const platform::Cp1251Codec kCodec;

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
    // The log would record another folder ("Zinkolar u", "?").
    {"C:\\Program Files (x86)\\Kelmo\\Zinkolar ü", kBad},
    {"C:\\Fax\\日本", kBad},
    {"C:\\Fax\\€ №", kOk},  // in the code page, outside ASCII
};

TEST(WizardPathRules, FolderIsOneThePlatformCreatesAndTheLogRecords) {
    for (const NameCase& c : kFolders) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(wizard::CheckFolder(c.name, kCodec), c.verdict);
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
    {"Kelmo\\Zinkolar ü", kBad},
    {"Факс\\Zinkolar", kOk},
};

TEST(WizardPathRules, GroupIsAFolderNameBelowThePrograms) {
    for (const NameCase& c : kGroups) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(wizard::CheckGroup(kPrograms, c.name, kCodec), c.verdict);
    }
}

// What the script makes below the folder: folders from "directory list", files from the copy
// sections into the installation folder (the platform's section of code 3 among them); lines
// into the system and printer-driver folders do not count; nor does the printer section of
// another platform. The run's own "zinkolar.ini" is the shortest file.
using Sizes = std::pair<std::size_t, std::size_t>;

TEST(WizardPathRules, ScriptMeasuresWhatItMakesBelowTheFolder) {
    const auto measure = [](const std::string& text) {
        const wizard::PathsBelow below =
            wizard::MeasureScript(script::Script(platform::Profile::Parse(text)), 3);
        return std::pair(below.folder, below.file);
    };
    EXPECT_EQ(measure(""), Sizes(0, 12));
    EXPECT_EQ(measure("[directory list]\r\nin=Data\\In\r\n"
                      "[file list]\r\na=Data\\a.exe\r\nf=%f_in_the_driver_folder.dll\r\n"
                      "[if not exist]\r\nb=Data\\In\\Ящик.txt\r\n"
                      "[backup]\r\nc=$c_longer_than_the_others.dll\r\n"
                      "[Win2K]\r\nd=Drivers\\2k\\d.sys\r\n"
                      "[WinNT]\r\ne=Drivers\\nt4\\longer_name.sys\r\n"),
              Sizes(7, 16));
}

struct RoomCase {
    const char* name;
    std::size_t folder_length;  // of the destination
    wizard::PathsBelow below;
    NameVerdict verdict;
};

// The platform's limits: 247 characters for a folder it makes, 259 for a file's path.
TEST(WizardPathRules, FolderLeavesRoomForWhatTheScriptMakes) {
    const RoomCase cases[] = {
        {"FileAtTheLimit", 200, {0, 58}, kOk},
        {"FileOverTheLimit", 200, {0, 59}, kBad},
        {"SubfolderAtTheLimit", 200, {46, 12}, kOk},
        {"SubfolderOverTheLimit", 200, {47, 12}, kBad},
        {"OwnFileInTheLongestFolder", 247, {0, 12}, kBad},
        {"OwnFileInAShorterOne", 246, {0, 12}, kOk},
    };
    for (const RoomCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = "C:\\" + std::string(c.folder_length - 3, 'x');
        EXPECT_EQ(wizard::CheckFolder(folder, kCodec, c.below), c.verdict);
    }
}

TEST(WizardPathRules, RootIsTheDriveOrTheShare) {
    EXPECT_EQ(wizard::RootOf("Q:\\x\\y"), "q:\\");
    EXPECT_EQ(wizard::RootOf("\\\\Server\\Share\\x"), "\\\\Server\\Share");
    EXPECT_EQ(wizard::RootOf("\\\\Server\\Share"), "\\\\Server\\Share");
}

}  // namespace
