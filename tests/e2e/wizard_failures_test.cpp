// The wizard when something is wrong or the user wants out: broken distributions, cancelling
// and closing, declining the licence, a folder that is no full path, and an old version 4 in
// the chosen folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "driver/distribution.h"
#include "driver/image.h"
#include "driver/keyboard.h"
#include "driver/setup_process.h"
#include "driver/strings.h"
#include "driver/wizard.h"
#include "driver/wizard_walk.h"
#include "single_installation.h"
#include "ui/exit_codes.h"
#include "wizard_pages.h"

namespace {

using namespace e2e;
using Strings = std::vector<std::string>;

const std::string kErrorTitle = "Ошибка";
const Strings kOk{"OK"};
const Strings kYesNo{kRussian.yes, kRussian.no};

// --- Broken distributions: one error message, no window, a failed end.

struct BrokenCase {
    const char* name;
    void (*breaks)(const Distribution&);
    const char* title;
    const char* message;
};

// The language is applied before the checks, so their message is translated.
void MissingServiceLibraryInEnglish(const Distribution& d) {
    ChangeSetupIni(d, "Language=Russian", "Language=English");
    d.Remove("znklrf32.dll");
}

const BrokenCase kBrokenCases[] = {
    {"NoSetupIni", [](const Distribution& d) { d.Remove("setup.ini"); }, "Ошибка",
     "Ошибка при загрузке setup.ini"},
    {"NoServiceLibrary", [](const Distribution& d) { d.Remove("znklrf32.dll"); }, "Ошибка",
     "Ошибка при загрузке znklrf32.dll"},
    // The printer-setup library loads as well but exports no GetVer.
    {"ServiceLibraryWithoutGetVer",
     [](const Distribution& d) {
         d.Write("znklrf32.dll", ReadBytes(d.Folder() + L"\\zkprtstp.dll"));
     },
     "Ошибка", "Ошибка при загрузке GetVer"},
    {"NoServiceLibraryInEnglish", MissingServiceLibraryInEnglish, "Error",
     "Error loading znklrf32.dll"},
};

class BrokenDistributionTest : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenDistributionTest, OneErrorMessageNoWindowAndAFailedEnd) {
    const BrokenCase& row = GetParam();
    const Distribution distribution(kDistributions + "single");
    row.breaks(distribution);
    const SetupProcess setup(distribution.Folder());

    // Watched all along, not only at the end: a window shown for a moment counts too.
    Strings shown;
    const auto note_shown_windows = [&] {
        for (const std::string_view kind : {kBackgroundClass, kWizardClass}) {
            const auto window = setup.FindTopLevel(kind);
            if (window && window->Visible() &&
                std::find(shown.begin(), shown.end(), kind) == shown.end()) {
                shown.emplace_back(kind);
            }
        }
    };
    const MessageDialog dialog = WaitFor(
        [&] {
            note_shown_windows();
            return setup.FindDialog();
        },
        kDefaultTimeout, "the error message");
    EXPECT_EQ(dialog.Title(), row.title);
    EXPECT_EQ(dialog.Text(), row.message);
    EXPECT_EQ(dialog.Buttons(), kOk);
    Image::CaptureSettledScreen().SavePng(HostPath(ShotsFolder() + "/01-error.png"));

    WizardWalk::Answer(dialog, "OK");
    const DWORD code = WaitFor(
        [&]() -> std::optional<DWORD> {
            if (const auto other = setup.FindDialog()) {
                throw std::runtime_error("a second message: " + other->Text());
            }
            note_shown_windows();
            return setup.Running() ? std::nullopt : std::optional(setup.WaitExit());
        },
        kDefaultTimeout, "the end of setup.exe");
    EXPECT_NE(code, 0u);
    EXPECT_EQ(shown, Strings{}) << "windows shown although the distribution is broken";
}

INSTANTIATE_TEST_SUITE_P(Wizard, BrokenDistributionTest, ::testing::ValuesIn(kBrokenCases),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Cancelling: Cancel, the close message and the close command ask the same question on a
// middle page, the close box on the finish page too; No keeps everything, Yes ends the program.

struct CloseCase {
    const char* name;
    void (*request)(const WizardWalk&);
    bool finish_page;  // else the destination page
};

void PressCancel(const WizardWalk& walk) {
    walk.Control(WizardId(kCancelButton)).Click();
}
void PostClose(const WizardWalk& walk) {
    PostMessageW(walk.Wizard().Handle(), WM_CLOSE, 0, 0);
}
void PostCloseCommand(const WizardWalk& walk) {
    PostMessageW(walk.Wizard().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

const CloseCase kCloseCases[] = {
    {"CancelButton", PressCancel, false},
    {"CloseMessage", PostClose, false},
    {"CloseCommand", PostCloseCommand, false},
    {"CloseCommandOnFinishPage", PostCloseCommand, true},
};

class CloseRequestTest : public ::testing::TestWithParam<CloseCase> {};

// The cancel question as the built-in language puts it.
MessageDialog ExpectCancelQuestion(const WizardWalk& walk) {
    const MessageDialog dialog = walk.Setup().WaitDialog();
    EXPECT_EQ(dialog.Title(), kRussian.confirm_title);
    EXPECT_EQ(dialog.Text(), kRussian.really_abort);
    EXPECT_EQ(dialog.Buttons(), kYesNo);
    return dialog;
}

TEST_P(CloseRequestTest, NoKeepsEverythingAndYesEnds) {
    const CloseCase& row = GetParam();
    const Distribution distribution(kDistributions + "single");
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    WalkToDestination(walk, kRussian);
    const Destination dest;  // where the finish-page case installs, removed at the end
    if (row.finish_page) {
        walk.Control(WizardId(kPathField)).Type(dest.Path());
        for (const char* title :
             {kRussian.shortcuts, kRussian.group, kRussian.file_types, kRussian.summary}) {
            walk.Press(WizardId(kNextButton), title);
        }
        walk.Press(WizardId(kNextButton), kRussian.finish, kRunTimeout);
    }
    const std::string title = walk.Title();
    const std::string field = walk.Text(WizardId(kPathField));

    row.request(walk);
    const MessageDialog question = ExpectCancelQuestion(walk);
    walk.Shoot("question");
    WizardWalk::Answer(question, kRussian.no);
    EXPECT_TRUE(walk.Setup().Running());
    EXPECT_TRUE(walk.Wizard().Visible());
    EXPECT_EQ(walk.Title(), title);
    EXPECT_EQ(walk.Text(WizardId(kPathField)), field);
    EXPECT_TRUE(walk.Control(WizardId(kNextButton)).Enabled());

    row.request(walk);
    WizardWalk::Answer(ExpectCancelQuestion(walk), kRussian.yes);
    EXPECT_EQ(walk.Setup().WaitExit(), static_cast<DWORD>(ui::kExitCancelled));
}

INSTANTIATE_TEST_SUITE_P(Wizard, CloseRequestTest, ::testing::ValuesIn(kCloseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WizardLicenceTest, DecliningAsksToCancelAndNoLeavesNextDisabledUntilAccepted) {
    const Distribution distribution(kDistributions + "single");
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    walk.Press(WizardId(kNextButton), kRussian.licence);
    const RemoteWindow next = walk.Control(WizardId(kNextButton));

    walk.Control(WizardId(kDeclineButton)).Click();
    WizardWalk::Answer(ExpectCancelQuestion(walk), kRussian.no);
    EXPECT_EQ(walk.Title(), kRussian.licence);
    EXPECT_FALSE(next.Enabled());

    walk.Control(WizardId(kAcceptButton)).Click();
    WaitUntil([&] { return next.Enabled(); }, kPageTimeout, "Next to be enabled by accepting");
    walk.Control(WizardId(kDeclineButton)).Click();
    WizardWalk::Answer(ExpectCancelQuestion(walk), kRussian.yes);
    EXPECT_EQ(walk.Setup().WaitExit(), static_cast<DWORD>(ui::kExitCancelled));
}

// --- The keyboard: Enter presses the push button that has the focus, the default button only
// when no other push button has it.

// The frame of the button that Enter presses.
bool ShowsAsDefault(const RemoteWindow& button) {
    return (GetWindowLongW(button.Handle(), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

TEST(WizardKeyboardTest, EnterOnCancelAsksToCancelInsteadOfInstalling) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    WalkToSummary(walk, dest.Path());
    const RemoteWindow cancel = walk.Control(WizardId(kCancelButton));
    const RemoteWindow next = walk.Control(WizardId(kNextButton));
    EXPECT_TRUE(ShowsAsDefault(next));

    TabTo(walk.Wizard(), cancel);
    WaitUntil([&] { return ShowsAsDefault(cancel) && !ShowsAsDefault(next); }, kPageTimeout,
              "Cancel to show itself as the button Enter presses");
    walk.Shoot("cancel-focused");

    PressKey(VK_RETURN);
    WizardWalk::Answer(ExpectCancelQuestion(walk), kRussian.no);
    EXPECT_EQ(walk.Title(), kRussian.summary) << "Enter on Cancel must not install";

    // With the focus on the summary, no push button has it: Enter presses Next again.
    TabTo(walk.Wizard(), walk.Control(WizardId(kTextViewer)));
    WaitUntil([&] { return ShowsAsDefault(next) && !ShowsAsDefault(cancel); }, kPageTimeout,
              "Next to be the default button again");
    PressKey(VK_RETURN);
    walk.WaitPage(kRussian.finish, kRunTimeout);
    EXPECT_EQ(LeaveFinishPage(walk), 0u);
}

// --- The folder field.

const std::string kBadFolderText = "Укажите полный путь к папке для установки.";

struct FolderCase {
    const char* name;
    const char* typed;
};

// None of them starts with the letter of a drive other than C:, so the field keeps the text.
const FolderCase kBadFolders[] = {
    {"Relative", "Program Files\\Zinkolar"},
    {"WithoutDrive", "\\Zinkolar"},
    {"DriveWithoutRoot", "C:Zinkolar"},
    {"Empty", ""},
    // Outside the code page: the installation log would record "Zinkolar u", another folder.
    {"OutsideTheCodePage", "C:\\Kelmo\\Zinkolar ü"},
};

class FolderFieldTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(FolderFieldTest, RefusedFolderKeepsTheDestinationPage) {
    const Distribution distribution(kDistributions + "single");
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    WalkToDestination(walk, kRussian);
    const RemoteWindow field = walk.Control(WizardId(kPathField));
    const std::string typed = GetParam().typed;
    field.Type(typed);
    ASSERT_EQ(field.Text(), typed) << "the field was rebuilt for another drive";

    const MessageDialog error = walk.PressForDialog(WizardId(kNextButton));
    EXPECT_EQ(error.Title(), kErrorTitle);
    EXPECT_EQ(error.Text(), kBadFolderText);
    EXPECT_EQ(error.Buttons(), kOk);
    walk.Shoot("refused");
    WizardWalk::Answer(error, "OK");
    EXPECT_EQ(walk.Title(), kRussian.destination);
    EXPECT_EQ(field.Text(), typed);
    EXPECT_TRUE(walk.Control(WizardId(kFolderList)).Visible());

    // A full path goes on.
    field.Type("C:\\Zinkolar");
    walk.Press(WizardId(kNextButton), kRussian.shortcuts);
}

INSTANTIATE_TEST_SUITE_P(Wizard, FolderFieldTest, ::testing::ValuesIn(kBadFolders),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WizardFolderFieldTest, TrailingBackslashIsDroppedFromTheDestination) {
    const Distribution distribution(kDistributions + "single");
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    WalkToDestination(walk, kRussian);
    walk.Control(WizardId(kPathField)).Type("C:\\Zinkolar\\");
    walk.Press(WizardId(kNextButton), kRussian.shortcuts);
    walk.Press(WizardId(kNextButton), kRussian.group);
    walk.Press(WizardId(kNextButton), kRussian.file_types);
    walk.Press(WizardId(kNextButton), kRussian.summary);
    const Strings summary = Lines(walk.Text(WizardId(kTextViewer)));
    ASSERT_GE(summary.size(), 2u);
    EXPECT_EQ(summary[1], "        C:\\Zinkolar");

    for (const char* title :
         {kRussian.file_types, kRussian.group, kRussian.shortcuts, kRussian.destination}) {
        walk.Press(WizardId(kBackButton), title);
    }
    EXPECT_EQ(walk.Text(WizardId(kPathField)), "C:\\Zinkolar");
}

TEST(WizardFolderFieldTest, TypingTheLetterOfAnotherDriveSwitchesToIt) {
    const Distribution distribution(kDistributions + "single");
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    WalkToDestination(walk, kRussian);
    const RemoteWindow drives = walk.Control(WizardId(kDriveList));
    const Strings drive_list = drives.Items();
    ASSERT_EQ(std::count(drive_list.begin(), drive_list.end(), "z:"), 1);

    walk.Control(WizardId(kPathField)).Type("z");
    const auto z = std::find(drive_list.begin(), drive_list.end(), "z:") - drive_list.begin();
    WaitUntil([&] { return drives.SelectedIndex() == z; }, kPageTimeout, "drive z: to be chosen");
    // The drive's current folder joined with the product's folder; the space of that drive
    // first, in whole megabytes.
    const std::string folder = walk.Text(WizardId(kPathField));
    EXPECT_TRUE(folder.size() > 3 &&
                CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, folder.c_str(), 3, "z:\\", 3) ==
                    CSTR_EQUAL &&
                folder.ends_with("\\Zinkolar\\Zinkolar 5"))
        << folder;
    const std::string space = walk.Text(WizardId(kSpaceText));
    EXPECT_TRUE(space.starts_with("Имеется на диске: ") &&
                space.ends_with("\n\rТребуется: 50 Мбайт"))
        << space;
    walk.Shoot("drive-z");
}

// --- An earlier version 4 recorded in win.ini.

// Keys of win.ini [Kelmo] as an earlier version leaves them; what was there before comes back
// when the object goes, also when the test fails.
class OldVersionEntries {
  public:
    OldVersionEntries(const std::string& path, const std::string& version) {
        wchar_t section[2] = {};
        section_existed_ = GetProfileSectionW(kSection, section, 2) > 0;
        try {
            Set(L"Path", path);
            Set(L"Version", version);
        } catch (...) {
            Restore();
            throw;
        }
    }
    ~OldVersionEntries() { Restore(); }
    OldVersionEntries(const OldVersionEntries&) = delete;
    OldVersionEntries& operator=(const OldVersionEntries&) = delete;

  private:
    static constexpr const wchar_t* kSection = L"Kelmo";

    void Restore() const {
        for (const auto& [key, value] : saved_) {
            WriteProfileStringW(kSection, key.c_str(), value ? value->c_str() : nullptr);
        }
        if (!section_existed_) {
            WriteProfileStringW(kSection, nullptr, nullptr);
        }
        WriteProfileStringW(nullptr, nullptr, nullptr);  // to the file now
    }

    void Set(const std::wstring& key, const std::string& value) {
        constexpr const wchar_t* kAbsent = L"\x1absent\x1";
        wchar_t before[MAX_PATH] = {};
        GetProfileStringW(kSection, key.c_str(), kAbsent, before, MAX_PATH);
        saved_.emplace_back(key, lstrcmpW(before, kAbsent) == 0
                                     ? std::nullopt
                                     : std::optional<std::wstring>(before));
        if (WriteProfileStringW(kSection, key.c_str(), Wide(value).c_str()) == 0) {
            throw std::runtime_error("cannot write win.ini");
        }
        WriteProfileStringW(nullptr, nullptr, nullptr);
    }

    bool section_existed_ = false;
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved_;
};

struct OldVersionCase {
    const char* name;
    const char* version;
    bool upper_case;           // the recorded folder in capitals
    const char* other_folder;  // appended to the recorded folder
    bool refused;
};

const OldVersionCase kOldVersionCases[] = {
    {"Version4SameFolder", "4.0", false, "", true},
    {"Version4SameFolderInCapitals", "4.10", true, "", true},
    {"Version4OtherFolder", "4.0", false, "\\Old", false},
    {"Version5SameFolder", "5.0", false, "", false},
};

class OldVersionTest : public ::testing::TestWithParam<OldVersionCase> {};

TEST_P(OldVersionTest, Version4InTheChosenFolderKeepsTheWizardOnTheShortcutsPage) {
    const OldVersionCase& row = GetParam();
    const Distribution distribution(kDistributions + "single");
    std::wstring recorded = Wide(ProposedDestination(distribution.Folder()) + row.other_folder);
    if (row.upper_case) {
        CharUpperW(recorded.data());
    }
    const OldVersionEntries old_version(Utf8(recorded), row.version);
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    WalkToDestination(walk, kRussian);
    walk.Press(WizardId(kNextButton), kRussian.shortcuts);
    if (!row.refused) {
        walk.Press(WizardId(kNextButton), kRussian.group);
        return;
    }

    // Asked twice: the wizard stays on the shortcuts page and does not move on behind it.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const MessageDialog message = walk.PressForDialog(WizardId(kNextButton));
        EXPECT_EQ(message.Title(), kRussian.confirm_title);
        EXPECT_EQ(message.Text(),
                  "Вы не можете поставить 5-ю версию поверх 4-й. Измените папку для установки "
                  "или удалите старую версию.");
        EXPECT_EQ(message.Buttons(), kOk);
        if (attempt == 0) {
            walk.Shoot("version-message");
        }
        WizardWalk::Answer(message, "OK");
        EXPECT_EQ(walk.Title(), kRussian.shortcuts);
        EXPECT_TRUE(walk.Control(WizardId(kShortcutPanel)).Visible());
        EXPECT_FALSE(walk.Control(WizardId(kGroupList)).Visible());
    }

    // Another folder lets the wizard on.
    walk.Press(WizardId(kBackButton), kRussian.destination);
    walk.Control(WizardId(kPathField)).Type("C:\\Zinkolar 5");
    walk.Press(WizardId(kNextButton), kRussian.shortcuts);
    walk.Press(WizardId(kNextButton), kRussian.group);
}

INSTANTIATE_TEST_SUITE_P(Wizard, OldVersionTest, ::testing::ValuesIn(kOldVersionCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
