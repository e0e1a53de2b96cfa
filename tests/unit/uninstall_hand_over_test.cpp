// The removal's end handed to the uninstaller's copy: what the program leaves to it, what the
// last message says of the folders that will stay, and the text the operations cross to the
// copy in.
#include "uninstall_fixture.h"

namespace uninstall_test {
namespace {

using uninstall::Action;
using uninstall::LeftItem;
using uninstall::Operation;
using uninstall::Step;

constexpr char kRoot[] = "C:\\Program Files\\Kelmo";

struct HandOverCase {
    const char* name;
    std::vector<std::string> others;        // files the log does not name
    std::vector<std::string> user_content;  // the folders the last message names
    std::vector<std::string> account;       // the lines from the hand-over on
};

class HandOver : public UninstallTest, public ::testing::WithParamInterface<HandOverCase> {
  protected:
    HandOver() {
        Record("folder", In("Data"));
        Record("file", In("zinkolar.exe"));
        Record("file", In("zinkolar.ini"));
        Record("file", In("zkuninst.exe"));
        fake.files.AddFile(In("install.ini"), LogText());
    }
};

TEST_P(HandOver, LeavesTheRestToTheCopyAndTellsWhatWillStay) {
    const HandOverCase& c = GetParam();
    for (const std::string& file : c.others)
        fake.files.AddFile(file, "not the installation's");
    std::vector<std::string> handed;
    const auto outcome =
        uninstall::CarryOut(Plan(), platform, {.hand_over = [&](std::span<const Operation> rest) {
                                for (const Operation& operation : rest)
                                    handed.push_back(Describe(operation));
                                return true;
                            }});

    EXPECT_EQ(handed, (std::vector<std::string>{"delete file " + In("zkuninst.exe"),
                                                "remove folder " + std::string(kFolder),
                                                "remove folder " + std::string(kRoot)}));
    EXPECT_TRUE(fake.files.FileExists(In("zkuninst.exe")));  // the copy's to delete
    EXPECT_FALSE(fake.files.FileExists(In("install.ini")));
    std::vector<std::string> user_content;
    for (const LeftItem& item : outcome.left)
        user_content.push_back(item.what);
    EXPECT_EQ(user_content, c.user_content);
    EXPECT_FALSE(outcome.Incomplete());
    const auto& lines = fake.trace.lines;
    EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()), c.account);
}

INSTANTIATE_TEST_SUITE_P(
    Uninstall, HandOver,
    ::testing::Values(
        HandOverCase{"NothingElse",
                     {},
                     {},
                     {"Handed over: delete file " + In("zkuninst.exe"),
                      "Handed over: remove folder " + std::string(kFolder),
                      "Handed over: remove folder " + std::string(kRoot)}},
        HandOverCase{"AFileOfTheUsersBesideIt",
                     {In("notes.txt")},
                     {kFolder},
                     {"Handed over: delete file " + In("zkuninst.exe"),
                      "Stays, not empty: " + std::string(kFolder),
                      "Stays, not empty: " + std::string(kRoot)}},
        // The folder that holds the user's file is named, not the folders that hold it.
        HandOverCase{"AFileOfTheUsersBelowIt",
                     {In("Data\\phones.zkb")},
                     {In("Data")},
                     {"Handed over: delete file " + In("zkuninst.exe"),
                      "Stays, not empty: " + std::string(kFolder),
                      "Stays, not empty: " + std::string(kRoot)}},
        HandOverCase{"AnotherProgramBesideTheInstallation",
                     {std::string(kRoot) + "\\Other\\other.exe"},
                     {kRoot},
                     {"Handed over: delete file " + In("zkuninst.exe"),
                      "Handed over: remove folder " + std::string(kFolder),
                      "Stays, not empty: " + std::string(kRoot)}}),
    [](const auto& info) { return info.param.name; });

// Without a copy to take it, the program tries the rest itself.
TEST_F(HandOver, NotTakenTheRestIsDoneHere) {
    const auto outcome =
        uninstall::CarryOut(Plan(), platform, {.hand_over = [](auto) { return false; }});
    EXPECT_FALSE(fake.files.FileExists(In("zkuninst.exe")));
    EXPECT_FALSE(fake.files.DirectoryExists(kRoot));
    EXPECT_TRUE(outcome.left.empty());
}

TEST(HandedOver, ReadBackAsWritten) {
    const std::vector<Operation> rest = {
        {Step::Folders, Action::DeleteFile, In("zkuninst.exe")},
        {Step::Folders, Action::RemoveFolder, kFolder},
        {Step::Folders, Action::RemoveFolder, kRoot},
    };
    EXPECT_EQ(uninstall::ReadHandedOver(uninstall::WriteHandedOver(rest)).operations, rest);
}

// The copy follows nothing but the uninstaller's own file and folders to remove when empty,
// each by a plain full path on a whole line.
TEST(HandedOver, NothingElseIsReadBack) {
    for (const char* text : {
             "delete file C:\\Zinkolar\\zinkolar.exe\n",
             "delete key HKLM\\SOFTWARE\\Kelmo\n",
             "restore C:\\Zinkolar\\zkuninst.exe from C:\\x\\zkuninst.exe\n",
             "remove folder Zinkolar\n",
             "remove folder C:\\Zinkolar\\..\\Windows\n",
             "delete file zkuninst.exe\n",
             "remove folder C:\\Zinkolar",  // cut short
             "Remove folder C:\\Zinkolar\n",
         }) {
        EXPECT_TRUE(uninstall::ReadHandedOver(text).operations.empty()) << text;
    }
}

}  // namespace
}  // namespace uninstall_test
