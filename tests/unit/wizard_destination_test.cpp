// The destination page: space texts, the linked folder field, folder list and drive list, the
// folder taken on the way on, and the version and space checks that guard it.
#include <algorithm>

#include "wizard/disk_space.h"
#include "wizard/path_rules.h"
#include "wizard_fixture.h"

namespace wizard_test {
namespace {

constexpr char kDefaultFolder[] = "C:\\Program Files\\Zinkolar";
constexpr char kVersionMessage[] =
    "Вы не можете поставить 5-ю версию поверх 4-й. Измените папку для установки или удалите "
    "старую версию.";
constexpr char kSpaceMessage[] =
    "На выбранном диске недостаточно свободного места. Вы уверены, что хотите продолжить "
    "установку?";
constexpr char kBadFolderMessage[] = "Укажите полный путь к папке для установки.";
constexpr char kEqualsMessage[] = "Имя папки не может содержать знак \"=\".";

struct MegabyteCase {
    std::int64_t bytes;
    const char* shown;
};

class WizardMegabytes : public testing::TestWithParam<MegabyteCase> {};

TEST_P(WizardMegabytes, ShowOneTruncatedDecimal) {
    EXPECT_EQ(wizard::MegabyteForm(GetParam().bytes), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardMegabytes,
    testing::Values(MegabyteCase{0, "0.0"}, MegabyteCase{1000000, "0.9"},
                    MegabyteCase{1048575, "0.9"}, MegabyteCase{1048576, "1.0"},
                    MegabyteCase{1572864, "1.5"}, MegabyteCase{5000000, "4.7"},
                    MegabyteCase{52428800, "50.0"}, MegabyteCase{1073741824, "1024.0"},
                    MegabyteCase{-5000000, "-4.7"}, MegabyteCase{-1000000, "-0.9"},
                    MegabyteCase{5497558138880, "5242880.0"}, MegabyteCase{-1, "0.0"}));

// The space text on entering page 3: needed first, then free, with a decimal.
struct EntryCase {
    const char* name;
    const char* need;
    std::optional<std::int64_t> free;  // of C:; nullopt: drive not ready
    const char* text;
};

class WizardSpaceOnEntry : public WizardTest, public testing::WithParamInterface<EntryCase> {};

TEST_P(WizardSpaceOnEntry, ShowsNeededThenFree) {
    const EntryCase& c = GetParam();
    main["NeedDiskSpace"] = c.need;
    if (c.free) {
        fake.system.free_space["c:\\"] = *c.free;
    } else {
        fake.system.free_space.erase("c:\\");
    }
    Start();
    WalkTo(Page::Destination);
    EXPECT_EQ(C(kSpaceText).Text(), c.text);
    EXPECT_EQ(C(kPathField).Text(), kDefaultFolder);
    EXPECT_EQ(C(kPrompt).Text(), "Выберите папку для установки:");
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardSpaceOnEntry,
    testing::Values(EntryCase{"Typical", "52428800", 1073741824,
                              "Требуется: 50.0 Мбайт\n\rИмеется на диске: 1024.0 Мбайт"},
                    EntryCase{"UnderOneMegabyte", "1000000", 1000000,
                              "Требуется: 0.9 Мбайт\n\rИмеется на диске: 0.9 Мбайт"},
                    EntryCase{"DriveNotReady", "0", std::nullopt,
                              "Требуется: 0.0 Мбайт\n\rИмеется на диске: 0.0 Мбайт"},
                    EntryCase{"BeyondFourGigabytes", "52428800", 5497558138880,
                              "Требуется: 50.0 Мбайт\n\rИмеется на диске: 5242880.0 Мбайт"}),
    [](const auto& info) { return std::string(info.param.name); });

// Picking a drive, or typing its letter into the folder field: free space first, in whole
// megabytes, and the folder field rebuilt from the drive's current folder.
struct DriveCase {
    const char* name;
    bool typed;          // typed into the folder field, else picked in the drive list
    const char* choice;  // the text typed or the drive picked
    const char* drive;   // selected afterwards
    const char* folder;  // folder field afterwards
    const char* space;   // nullptr: the text of the page entry stays
};

class WizardDriveChange : public WizardTest, public testing::WithParamInterface<DriveCase> {};

TEST_P(WizardDriveChange, RebuildsFolderAndSpaceText) {
    const DriveCase& c = GetParam();
    fake.system.drives = {"a:\\", "c:\\", "d:\\", "e:\\", "f:\\"};
    fake.system.free_space["f:\\"] = 1572864;  // e: is not ready
    Start();
    WalkTo(Page::Destination);
    const std::string entry_text = C(kSpaceText).Text();
    if (c.typed) {
        C(kPathField).Type(c.choice);
    } else {
        const auto& items = C(kDriveList).Items();
        C(kDriveList)
            .Choose(static_cast<int>(std::find(items.begin(), items.end(), std::string(c.choice)) -
                                     items.begin()));
    }
    EXPECT_EQ(C(kDriveList).SelectedItem(), c.drive);
    EXPECT_EQ(C(kPathField).Text(), c.folder);
    EXPECT_EQ(C(kSpaceText).Text(), c.space != nullptr ? c.space : entry_text);
    EXPECT_EQ(C(kFolderList).Items().at(0), std::string(c.drive) + "\\");
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardDriveChange,
    testing::Values(DriveCase{"PickOther", false, "d:", "d:", "D:\\Apps\\Zinkolar",
                              "Имеется на диске: 2048 Мбайт\n\rТребуется: 50 Мбайт"},
                    DriveCase{"PickSame", false, "c:", "c:", kDefaultFolder, nullptr},
                    DriveCase{"PickNotReady", false, "e:", "e:", "e:\\Zinkolar",
                              "Имеется на диске: 0 Мбайт\n\rТребуется: 50 Мбайт"},
                    DriveCase{"PickWholeMegabytes", false, "f:", "f:", "f:\\Zinkolar",
                              "Имеется на диске: 1 Мбайт\n\rТребуется: 50 Мбайт"},
                    DriveCase{"TypeOtherLetter", true, "D", "d:", "D:\\Apps\\Zinkolar",
                              "Имеется на диске: 2048 Мбайт\n\rТребуется: 50 Мбайт"},
                    DriveCase{"TypeSameLetter", true, "c", "c:", "c", nullptr},
                    DriveCase{"TypeUnknownLetter", true, "z:\\x", "c:", "z:\\x", nullptr},
                    DriveCase{"TypeFloppyLetter", true, "a", "c:", "a", nullptr},
                    DriveCase{"TypeDigit", true, "1", "c:", "1", nullptr},
                    DriveCase{"TypeCyrillic", true, "Д:\\Папка", "c:", "Д:\\Папка", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WizardTest, OpeningAFolderPutsItIntoTheFieldWithoutInstallPath) {
    Start();
    WalkTo(Page::Destination);
    ui::Control& folders = C(kFolderList);
    const auto item = [&](std::string_view name) {
        const auto& items = folders.Items();
        const auto found = std::find_if(items.begin(), items.end(), [&](const std::string& line) {
            return line.substr(line.find_first_not_of(' ')) == name;
        });
        return static_cast<int>(found - items.begin());
    };
    folders.Choose(item("Common Files"));
    EXPECT_EQ(C(kPathField).Text(), "C:\\Program Files\\Common Files");
    folders.Choose(item("c:\\"));
    EXPECT_EQ(C(kPathField).Text(), "C:\\");
    folders.Choose(item("Users"));
    EXPECT_EQ(C(kPathField).Text(), "C:\\Users");
    EXPECT_EQ(C(kDriveList).SelectedItem(), "c:");
}

TEST_F(WizardTest, DestinationOnAnotherDriveIsKeptOnEntry) {
    fake.registry.Set(RegistryRoot::LocalMachine, kAppPathsKey, "Path", "D:\\Old\\Zinkolar");
    Start();
    WalkTo(Page::Destination);
    EXPECT_EQ(C(kDriveList).SelectedItem(), "d:");
    EXPECT_EQ(C(kPathField).Text(), "D:\\Old\\Zinkolar");
    EXPECT_EQ(C(kSpaceText).Text(), "Требуется: 50.0 Мбайт\n\rИмеется на диске: 2048.0 Мбайт");
}

TEST_F(WizardTest, FullFolderOnAnotherDriveStaysAsTyped) {
    Start();
    WalkTo(Page::Destination);
    C(kPathField).Type("D:\\Games\\Fax");
    EXPECT_EQ(C(kDriveList).SelectedItem(), "d:");
    EXPECT_EQ(C(kPathField).Text(), "D:\\Games\\Fax");
    Next();
    EXPECT_EQ(wizard->Destination(), "D:\\Games\\Fax");
}

TEST_F(WizardTest, FolderIsTakenOnlyOnTheWayFromPageThree) {
    Start();
    WalkTo(Page::Destination);
    C(kPathField).Type("C:\\Apps\\ZK\\");
    Next();
    EXPECT_EQ(wizard->Destination(), "C:\\Apps\\ZK") << "one trailing backslash removed";
    Next();
    Back();
    Back();
    EXPECT_EQ(C(kPathField).Text(), "C:\\Apps\\ZK");

    C(kPathField).Type("C:\\Other");
    Back();
    WalkTo(Page::Destination);
    EXPECT_EQ(C(kPathField).Text(), "C:\\Apps\\ZK") << "typing alone changes nothing";
}

// A folder the platform cannot create, or the log cannot record, is refused with a message; the
// page stays.
struct FolderCase {
    const char* name;
    std::string typed;
    const char* taken;  // nullptr: refused
    const char* said = kBadFolderMessage;
};

class WizardFolderText : public WizardTest, public testing::WithParamInterface<FolderCase> {};

TEST_P(WizardFolderText, MustBeOneThePlatformCreates) {
    const FolderCase& c = GetParam();
    fake.files.AddDirectory("\\\\server\\share");
    Start();
    WalkTo(Page::Destination);
    C(kPathField).Type(c.typed);
    Next();
    if (c.taken == nullptr) {
        EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.said});
        EXPECT_EQ(dialogs.Shown().at(0).kind, DialogKind::Error);
        EXPECT_EQ(dialogs.Shown().at(0).buttons, std::vector{DialogButton::Ok});
        EXPECT_EQ(CurrentPage(), Page::Destination);
        EXPECT_EQ(Title(), kTitles[3]);
        EXPECT_TRUE(C(kFolderList).Showing());
        EXPECT_EQ(C(kPathField).Text(), c.typed);
        EXPECT_EQ(wizard->Destination(), kDefaultFolder);
    } else {
        EXPECT_TRUE(dialogs.Shown().empty());
        EXPECT_EQ(CurrentPage(), Page::Shortcuts);
        EXPECT_EQ(wizard->Destination(), c.taken);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardFolderText,
    testing::Values(
        FolderCase{"Empty", "", nullptr}, FolderCase{"Relative", "Zinkolar", nullptr},
        FolderCase{"DriveOnly", "C:", nullptr}, FolderCase{"DriveRelative", "C:Zinkolar", nullptr},
        FolderCase{"RootRelative", "\\Zinkolar", nullptr},
        FolderCase{"ServerOnly", "\\\\server", nullptr},
        FolderCase{"ServerWithoutShare", "\\\\server\\", nullptr},
        FolderCase{"EmptyServer", "\\\\\\share\\x", nullptr}, FolderCase{"Blanks", "   ", nullptr},
        FolderCase{"DriveRoot", "C:\\", nullptr}, FolderCase{"MissingDrive", "q:\\x", nullptr},
        FolderCase{"ReservedCharacters", "C:\\a<b>\\c", nullptr},
        FolderCase{"ShareNotReachable", "\\\\server\\other\\x", nullptr},
        FolderCase{"EqualsSign", "C:\\a=b", nullptr, kEqualsMessage},
        FolderCase{"Network", "\\\\server\\share\\x", "\\\\server\\share\\x"},
        FolderCase{"NetworkShare", "\\\\server\\share\\", "\\\\server\\share"},
        FolderCase{"OtherDrive", "d:\\x", "d:\\x"},
        FolderCase{"LowerCase", "c:\\apps\\zk", "c:\\apps\\zk"},
        FolderCase{"ForwardSlashes", "C:/Apps/Zinkolar/", "C:\\Apps\\Zinkolar"},
        FolderCase{"ForwardSlashesToAShare", "//server/share/x", "\\\\server\\share\\x"},
        FolderCase{"OutsideTheCodePage", "C:\\Kelmo\\Zinkolar ü", nullptr},
        FolderCase{"CyrillicInTheCodePage", "C:\\Программы\\Факс", "C:\\Программы\\Факс"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every file the script copies into the folder must stay within the platform's path limit, or
// the copies would fail half-way through the run.
TEST_F(WizardTest, FolderLeavesRoomForTheLongestFileOfTheScript) {
    const std::string file = "Data\\" + std::string(200, 'f') + ".txt";  // 209 characters
    setup_ini_sections = "[file list]\r\nsource.txt=" + file + "\r\n";
    Start();
    WalkTo(Page::Destination);
    const std::string over = "C:\\" + std::string(47, 'x');  // 50 + 1 + 209 = 260
    C(kPathField).Type(over);
    Next();
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{kBadFolderMessage});
    EXPECT_EQ(CurrentPage(), Page::Destination);
    C(kPathField).Type(over.substr(0, over.size() - 1));
    Next();
    EXPECT_EQ(CurrentPage(), Page::Shortcuts);
}

TEST_F(WizardTest, DriveRootPickedInTheListIsRefused) {
    Start();
    WalkTo(Page::Destination);
    C(kFolderList).Choose(0);
    ASSERT_EQ(C(kPathField).Text(), "C:\\");
    Next();
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{kBadFolderMessage});
    EXPECT_EQ(CurrentPage(), Page::Destination);
    EXPECT_EQ(wizard->Destination(), kDefaultFolder);
}

TEST_F(WizardTest, OpeningAFolderKeepsTheBlankThatBeginsItsName) {
    fake.files.AddDirectory(std::string(kProgramFiles) + "\\ Lead");
    Start();
    WalkTo(Page::Destination);
    const auto& items = C(kFolderList).Items();
    const auto lead = std::find(items.begin(), items.end(), "     Lead");
    ASSERT_NE(lead, items.end());
    C(kFolderList).Choose(static_cast<int>(lead - items.begin()));
    EXPECT_EQ(C(kPathField).Text(), "C:\\Program Files\\ Lead");
    Next();
    EXPECT_EQ(wizard->Destination(), "C:\\Program Files\\ Lead");
}

TEST_F(WizardTest, RefusedFolderCanBeCorrected) {
    Start();
    WalkTo(Page::Destination);
    C(kPathField).Type("C:");
    Next();
    C(kPathField).Type("C:\\ZK");
    Next();
    EXPECT_EQ(CurrentPage(), Page::Shortcuts);
    EXPECT_EQ(wizard->Destination(), "C:\\ZK");
}

// The checks on the way on from the shortcut page, whether the group page comes next or is skipped.
enum class Outcome { GoesOn, Stays, Ends };

struct CheckCase {
    const char* name;
    const char* old_version;
    const char* old_path;
    const char* typed;  // nullptr: the proposed folder
    std::optional<std::int64_t> free;
    std::vector<DialogButton> answers;
    std::vector<std::string> asked;
    Outcome outcome;
};

class WizardDestinationChecks : public WizardTest,
                                public testing::WithParamInterface<std::tuple<CheckCase, bool>> {};

TEST_P(WizardDestinationChecks, GuardTheWayOn) {
    const auto& [c, start_cleared] = GetParam();
    fake.system.SetWinIni("Kelmo", "Version", c.old_version);
    fake.system.SetWinIni("Kelmo", "Path", c.old_path);
    if (c.free) {
        fake.system.free_space["c:\\"] = *c.free;
    } else {
        fake.system.free_space.erase("c:\\");
    }
    Start();
    WalkTo(Page::Destination);
    if (c.typed != nullptr)
        C(kPathField).Type(c.typed);
    Next();
    ASSERT_EQ(CurrentPage(), Page::Shortcuts);
    if (start_cleared)
        C(kStartMenuBox).Click();
    for (DialogButton answer : c.answers)
        dialogs.Answer(answer);
    Next();
    EXPECT_EQ(dialogs.Texts(), c.asked);
    for (const auto& asked : dialogs.Shown()) {
        if (asked.text == kVersionMessage) {
            EXPECT_EQ(asked.kind, DialogKind::Confirmation);
            EXPECT_EQ(asked.buttons, std::vector{DialogButton::Ok});
        } else if (asked.text == kSpaceMessage) {
            EXPECT_EQ(asked.kind, DialogKind::Confirmation);
            EXPECT_EQ(asked.buttons, (std::vector{DialogButton::Yes, DialogButton::No}));
        }
    }
    const Page expected = c.outcome != Outcome::GoesOn ? Page::Shortcuts
                          : start_cleared              ? Page::FileTypes
                                                       : Page::Group;
    EXPECT_EQ(CurrentPage(), expected);
    EXPECT_EQ(Title(), kTitles[static_cast<int>(expected)]);
    EXPECT_EQ(app.Terminating(), c.outcome == Outcome::Ends);
}

constexpr std::int64_t kNeed = 52428800;
constexpr std::int64_t kPlenty = 1024 * kMegabyte;
constexpr char kOtherCase[] = "c:\\program files\\ZINKOLAR";
constexpr char kWithBackslash[] = "C:\\Program Files\\Zinkolar\\";
constexpr DialogButton kYes = DialogButton::Yes;
constexpr DialogButton kNo = DialogButton::No;
constexpr Outcome kOn = Outcome::GoesOn;
constexpr Outcome kStay = Outcome::Stays;
constexpr Outcome kEnd = Outcome::Ends;

const CheckCase kChecks[] = {
    {"OldVersion4OtherCase", "4.1", kOtherCase, nullptr, kPlenty, {}, {kVersionMessage}, kStay},
    {"Version4Slash", "4", kDefaultFolder, kWithBackslash, kPlenty, {}, {kVersionMessage}, kStay},
    {"OldVersion5", "5.0", kDefaultFolder, nullptr, kPlenty, {}, {}, kOn},
    {"OldVersionLetterFirst", "V4", kDefaultFolder, nullptr, kPlenty, {}, {}, kOn},
    {"OldVersion4OtherFolder", "4.1", "C:\\ZK4", nullptr, kPlenty, {}, {}, kOn},
    {"NoOldVersion", "", kDefaultFolder, nullptr, kPlenty, {}, {}, kOn},
    {"VersionBeforeSpace", "4", kDefaultFolder, nullptr, kMegabyte, {}, {kVersionMessage}, kStay},
    {"LowSpaceYes", "", "", nullptr, kNeed - 1, {kYes}, {kSpaceMessage}, kOn},
    {"LowSpaceNoNo", "", "", nullptr, kMegabyte, {kNo, kNo}, {kSpaceMessage, kRealyAbort}, kStay},
    {"LowSpaceNoYes", "", "", nullptr, kMegabyte, {kNo, kYes}, {kSpaceMessage, kRealyAbort}, kEnd},
    {"EqualSpace", "", "", nullptr, kNeed, {}, {}, kOn},
    {"DriveNotReady", "", "", nullptr, std::nullopt, {kYes}, {kSpaceMessage}, kOn},
};

INSTANTIATE_TEST_SUITE_P(Table, WizardDestinationChecks,
                         testing::Combine(testing::ValuesIn(kChecks), testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "StartCleared" : "");
                         });

TEST_F(WizardTest, DriveNotReadyWarnsEvenWhenNothingIsNeeded) {
    main["NeedDiskSpace"] = "0";
    fake.system.free_space.erase("c:\\");
    Start();
    WalkTo(Page::Shortcuts);
    dialogs.Answer(DialogButton::Yes);
    Next();
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{kSpaceMessage});
    EXPECT_EQ(CurrentPage(), Page::Group);
}

TEST_F(WizardTest, SpaceOfTheSelectedDriveCounts) {
    fake.system.free_space["c:\\"] = kMegabyte;
    Start();
    WalkTo(Page::Destination);
    C(kDriveList).Choose(1);  // d:, 2048 MB free
    Next();
    Next();
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_EQ(CurrentPage(), Page::Group);
}

// Back from the file-type page runs the checks again; a failing one keeps that page on screen.
struct BackCase {
    const char* name;
    std::vector<DialogButton> answers;
    Page page;
};

class WizardChecksOnTheWayBack : public WizardTest, public testing::WithParamInterface<BackCase> {};

TEST_P(WizardChecksOnTheWayBack, KeepThePageThatWasShown) {
    const BackCase& c = GetParam();
    Start();
    WalkTo(Page::FileTypes);
    C(kFaxBox).Click();
    fake.system.free_space["c:\\"] = kMegabyte;
    for (DialogButton answer : c.answers)
        dialogs.Answer(answer);
    Back();
    EXPECT_EQ(dialogs.Shown().at(0).text, kSpaceMessage);
    EXPECT_EQ(CurrentPage(), c.page);
    EXPECT_EQ(Title(), kTitles[static_cast<int>(c.page)]);
    EXPECT_EQ(C(kFileTypePanel).Showing(), c.page == Page::FileTypes);
    EXPECT_FALSE(C(kFaxBox).Checked());
    EXPECT_FALSE(app.Terminating());
    if (c.page == Page::FileTypes) {
        Next();
        EXPECT_EQ(CurrentPage(), Page::Summary) << "the page machine goes on from the page shown";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardChecksOnTheWayBack,
    testing::Values(BackCase{"GoOn", {DialogButton::Yes}, Page::Group},
                    BackCase{"StayOnSix", {DialogButton::No, DialogButton::No}, Page::FileTypes}),
    [](const auto& info) { return std::string(info.param.name); });

// Going back, a group page left out is jumped over, and its checks with it.
TEST_F(WizardTest, BackPastTheLeftOutGroupPageChecksNothing) {
    Start();
    WalkTo(Page::Shortcuts);
    C(kStartMenuBox).Click();
    Next();
    ASSERT_EQ(CurrentPage(), Page::FileTypes);
    fake.system.free_space["c:\\"] = kMegabyte;
    Back();
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_EQ(CurrentPage(), Page::Shortcuts);
}

}  // namespace
}  // namespace wizard_test
