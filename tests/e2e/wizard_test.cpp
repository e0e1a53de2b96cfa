// The whole wizard walked like a person would: every page from the welcome page to the finish
// page in each language of the single-type distribution, switching languages, the choices of the
// shortcut, group and file-type pages, and the installation type of the client/server
// distribution with what it changes on the later pages.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "driver/distribution.h"
#include "driver/strings.h"
#include "driver/wizard.h"
#include "driver/wizard_walk.h"
#include "single_installation.h"
#include "wizard_pages.h"

namespace {

using namespace e2e;
using Strings = std::vector<std::string>;

constexpr char kIndent[] = "        ";

// The bottom bar as a page should show it.
void ExpectButtons(const WizardWalk& walk, const LanguageTexts& texts, const char* next,
                   bool back_enabled, bool next_enabled) {
    const RemoteWindow back_button = walk.Control(WizardId(kBackButton));
    const RemoteWindow next_button = walk.Control(WizardId(kNextButton));
    const RemoteWindow cancel_button = walk.Control(WizardId(kCancelButton));
    EXPECT_EQ(back_button.Text(), texts.back);
    EXPECT_EQ(next_button.Text(), next);
    EXPECT_EQ(cancel_button.Text(), texts.cancel);
    EXPECT_TRUE(back_button.Visible() && next_button.Visible() && cancel_button.Visible());
    EXPECT_EQ(back_button.Enabled(), back_enabled);
    EXPECT_EQ(next_button.Enabled(), next_enabled);
}

// The summary: the destination and, when a Start-menu group is made, the group.
Strings SummaryLines(const LanguageTexts& texts, const std::string& destination,
                     const std::string& group) {
    return {texts.install_dir, kIndent + destination, "", texts.start_group, kIndent + group};
}

class WalkTest : public ::testing::TestWithParam<const LanguageTexts*> {};

TEST_P(WalkTest, EveryPageFromWelcomeToFinish) {
    const LanguageTexts& texts = *GetParam();
    const Distribution distribution(kDistributions + "single");
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    const std::string destination = ProposedDestination(distribution.Folder());

    // Welcome, in the language chosen there.
    const RemoteWindow languages = walk.Control(WizardId(kLanguageList));
    const Strings entries = languages.Items();
    ASSERT_EQ(entries, (Strings{"English", "Russian"}));
    EXPECT_EQ(languages.SelectedIndex(), 1) << "the configured language is not preselected";
    const auto chosen = std::find(entries.begin(), entries.end(), texts.name) - entries.begin();
    if (chosen != languages.SelectedIndex()) {
        languages.Choose(static_cast<int>(chosen));
        WaitUntil([&] { return walk.Text(WizardId(kNextButton)) == texts.next; }, kPageTimeout,
                  "the wizard to take the chosen language");
    }
    {
        SCOPED_TRACE("welcome page");
        EXPECT_EQ(walk.Title(), texts.welcome);
        EXPECT_EQ(walk.Text(WizardId(kPrompt)), texts.welcome_text);
        EXPECT_EQ(walk.Text(WizardId(kNote)), texts.welcome_note);
        EXPECT_EQ(walk.Text(WizardId(kLanguagePrompt)), texts.select_language);
        EXPECT_EQ(walk.Wizard().Text(), texts.caption);
        const auto background = walk.Setup().FindTopLevel(kBackgroundClass);
        ASSERT_TRUE(background.has_value());
        EXPECT_EQ(background->Text(), texts.caption) << "the application title";
        ExpectButtons(walk, texts, texts.next, false, true);
    }
    walk.Shoot("welcome");

    walk.Press(WizardId(kNextButton), texts.licence);
    {
        SCOPED_TRACE("licence page");
        EXPECT_EQ(walk.Text(WizardId(kPrompt)), texts.licence_text);
        EXPECT_EQ(walk.Text(WizardId(kNote)), texts.licence_note);
        const std::wstring licence = distribution.Folder() + L"\\" + Wide(texts.licence_file);
        EXPECT_EQ(Lines(walk.Text(WizardId(kTextViewer))), Lines(ReadAnsiFile(licence)));
        const RemoteWindow accept = walk.Control(WizardId(kAcceptButton));
        const RemoteWindow decline = walk.Control(WizardId(kDeclineButton));
        EXPECT_TRUE(accept.Visible() && decline.Visible());
        EXPECT_EQ(accept.Text(), texts.accept);
        EXPECT_EQ(decline.Text(), texts.decline);
        EXPECT_FALSE(walk.Control(WizardId(kLanguageList)).Visible());
        ExpectButtons(walk, texts, texts.next, true, false);
    }
    walk.Shoot("licence");
    walk.Control(WizardId(kAcceptButton)).Click();
    WaitUntil([&] { return walk.Control(WizardId(kNextButton)).Enabled(); }, kPageTimeout,
              "Next to be enabled by accepting the licence");

    walk.Press(WizardId(kNextButton), texts.destination);
    {
        SCOPED_TRACE("destination page");
        EXPECT_EQ(walk.Text(WizardId(kPrompt)), texts.destination_text);
        EXPECT_EQ(walk.Text(WizardId(kPathField)), destination);
        // The sample needs 52428800 bytes; the free space is the machine's.
        const std::string space = walk.Text(WizardId(kSpaceText));
        const std::string first_line = std::string(texts.need) + ": 50.0 " + texts.megabytes;
        EXPECT_TRUE(space.starts_with(first_line + "\n\r" + texts.available + ": ") &&
                    space.ends_with(std::string(" ") + texts.megabytes))
            << space;
        const RemoteWindow drives = walk.Control(WizardId(kDriveList));
        const Strings drive_list = drives.Items();
        ASSERT_GE(drives.SelectedIndex(), 0);
        EXPECT_EQ(drive_list[static_cast<size_t>(drives.SelectedIndex())], "c:");
        for (const char* floppy : {"a:", "b:"}) {
            EXPECT_EQ(std::count(drive_list.begin(), drive_list.end(), floppy), 0) << floppy;
        }
        EXPECT_TRUE(walk.Control(WizardId(kFolderList)).Visible());
        EXPECT_FALSE(walk.Control(WizardId(kTextViewer)).Visible());
        ExpectButtons(walk, texts, texts.next, true, true);
    }
    walk.Shoot("destination");
    // Installed into a folder of the test's own, removed at its end.
    const Destination dest;
    walk.Control(WizardId(kPathField)).Type(dest.Path());

    walk.Press(WizardId(kNextButton), texts.shortcuts);
    {
        SCOPED_TRACE("shortcuts page");
        EXPECT_EQ(walk.Text(WizardId(kPrompt)), texts.shortcuts_text);
        for (const auto& [id, caption] : {std::pair{WizardId(kStartMenuBox), texts.start_menu},
                                          std::pair{WizardId(kDesktopBox), texts.desktop}}) {
            const RemoteWindow box = walk.Control(id);
            EXPECT_EQ(box.Text(), caption);
            EXPECT_TRUE(box.Visible() && box.Checked()) << caption;
        }
        // Offered only where the machine has a Quick Launch folder.
        const RemoteWindow quick_launch = walk.Control(WizardId(kQuickLaunchBox));
        EXPECT_EQ(quick_launch.Text(), texts.quick_launch);
        EXPECT_EQ(quick_launch.Visible(), quick_launch.Checked());
        EXPECT_EQ(walk.Text(WizardId(kAllButton)), texts.select_all);
        EXPECT_EQ(walk.Text(WizardId(kNoneButton)), texts.clear_all);
        EXPECT_TRUE(walk.Control(WizardId(kAllButton)).Visible() &&
                    walk.Control(WizardId(kNoneButton)).Visible());
        EXPECT_FALSE(walk.Control(WizardId(kPathField)).Visible());
        ExpectButtons(walk, texts, texts.next, true, true);
    }
    walk.Shoot("shortcuts");

    walk.Press(WizardId(kNextButton), texts.group);
    {
        SCOPED_TRACE("group page");
        EXPECT_EQ(walk.Text(WizardId(kPrompt)), texts.group_text);
        EXPECT_EQ(walk.Text(WizardId(kPathField)), "Zinkolar 5.0");
        EXPECT_TRUE(walk.Control(WizardId(kGroupList)).Visible());
        EXPECT_FALSE(walk.Control(WizardId(kShortcutPanel)).Visible());
        ExpectButtons(walk, texts, texts.next, true, true);
    }
    walk.Shoot("group");

    walk.Press(WizardId(kNextButton), texts.file_types);
    {
        SCOPED_TRACE("file-type page");
        EXPECT_EQ(walk.Text(WizardId(kPrompt)), texts.file_types_text);
        EXPECT_EQ(walk.Text(WizardId(kExtensionHeading)), texts.extension);
        EXPECT_EQ(walk.Text(WizardId(kDescriptionHeading)), texts.description);
        for (size_t row = 0; row < kFileTypeRows.size(); ++row) {
            const FileTypeRow& type = kFileTypeRows[row];
            const RemoteWindow box = walk.Control(type.box);
            EXPECT_EQ(box.Text(), type.extension);
            EXPECT_TRUE(box.Visible() && box.Checked()) << type.extension;
            EXPECT_TRUE(walk.Control(type.icon).Visible()) << type.extension;
            EXPECT_EQ(walk.Text(type.label), texts.type_names[row]);
        }
        EXPECT_FALSE(walk.Control(WizardId(kGroupList)).Visible());
        ExpectButtons(walk, texts, texts.next, true, true);
    }
    walk.Shoot("file-types");

    walk.Press(WizardId(kNextButton), texts.summary);
    {
        SCOPED_TRACE("summary page");
        EXPECT_EQ(walk.Text(WizardId(kPrompt)), texts.summary_text);
        EXPECT_EQ(walk.Text(WizardId(kSettingsHeading)), texts.summary_heading);
        EXPECT_TRUE(walk.Control(WizardId(kSettingsHeading)).Visible());
        EXPECT_TRUE(walk.Control(WizardId(kTextViewer)).Visible());
        EXPECT_EQ(Lines(walk.Text(WizardId(kTextViewer))),
                  SummaryLines(texts, dest.Path(), "Zinkolar 5.0"));
        EXPECT_FALSE(walk.Control(WizardId(kFileTypePanel)).Visible());
        ExpectButtons(walk, texts, texts.install, true, true);
    }
    walk.Shoot("summary");

    walk.Press(WizardId(kNextButton), texts.finish, kRunTimeout);
    {
        SCOPED_TRACE("finish page");
        EXPECT_EQ(walk.Text(WizardId(kPrompt)), texts.finish_text);
        const RemoteWindow run = walk.Control(WizardId(kRunProgramBox));
        const RemoteWindow open_group = walk.Control(WizardId(kOpenGroupBox));
        EXPECT_EQ(run.Text(), texts.run_now);
        EXPECT_EQ(open_group.Text(), texts.open_group);
        EXPECT_TRUE(run.Visible() && run.Checked());
        EXPECT_TRUE(open_group.Visible() && open_group.Checked());
        EXPECT_EQ(walk.Text(WizardId(kNextButton)), texts.finish_next);
        EXPECT_TRUE(walk.Control(WizardId(kNextButton)).Enabled());
        EXPECT_FALSE(walk.Control(WizardId(kBackButton)).Enabled());
        EXPECT_FALSE(walk.Control(WizardId(kCancelButton)).Visible());
        EXPECT_FALSE(walk.Control(WizardId(kTextViewer)).Visible());
    }
    walk.Shoot("finish");
    EXPECT_EQ(LeaveFinishPage(walk), 0u);
}

INSTANTIATE_TEST_SUITE_P(Wizard, WalkTest, ::testing::Values(&kRussian, &kEnglish),
                         [](const auto& info) { return std::string(info.param->name); });

// The file-type page with the remote-control-script row (box, icon, label) shown or not; the
// other rows are always there.
void ExpectRemoteScriptRow(const WizardWalk& walk, bool shown) {
    for (size_t row = 0; row < kFileTypeRows.size(); ++row) {
        const FileTypeRow& type = kFileTypeRows[row];
        const bool expected = row != kRemoteScriptRow || shown;
        for (const int id : {type.box, type.icon, type.label}) {
            EXPECT_EQ(walk.Control(id).Visible(), expected) << type.extension << " row, id " << id;
        }
    }
}

// From the licence page of a client/server distribution to its summary, checking what depends
// on the edition.
void WalkOnToSummary(const WizardWalk& walk, const std::string& edition, const Destination& dest) {
    const LanguageTexts& texts = kRussian;
    walk.Press(WizardId(kNextButton), texts.destination);
    walk.Control(WizardId(kPathField)).Type(dest.Path());
    walk.Press(WizardId(kNextButton), texts.shortcuts);
    walk.Press(WizardId(kNextButton), texts.group);
    EXPECT_EQ(walk.Text(WizardId(kPathField)), edition + " 5.0");
    walk.Press(WizardId(kNextButton), texts.file_types);
    // The client installs no remote-control scripts, and a server chosen later does not bring
    // the row back.
    ExpectRemoteScriptRow(walk, false);
    walk.Press(WizardId(kNextButton), texts.summary);
    // The built-in summary text has no place for the edition; the group line shows it.
    EXPECT_EQ(walk.Text(WizardId(kPrompt)), texts.summary_text);
    const Strings summary = Lines(walk.Text(WizardId(kTextViewer)));
    ASSERT_FALSE(summary.empty());
    EXPECT_EQ(summary.back(), kIndent + edition + " 5.0");
}

TEST(WizardClientServerTest, InstallationTypeDecidesEditionAndRemoteScriptRow) {
    const LanguageTexts& texts = kRussian;
    const Distribution distribution(kDistributions + "clientserver");
    const Destination dest;
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    const RemoteWindow client = walk.Control(WizardId(kClientRadio));
    const RemoteWindow server = walk.Control(WizardId(kServerRadio));

    walk.Press(WizardId(kNextButton), texts.install_type);
    {
        SCOPED_TRACE("type page");
        EXPECT_EQ(walk.Text(WizardId(kPrompt)), texts.install_type_text);
        EXPECT_EQ(walk.Text(WizardId(kNote)), texts.install_type_note);
        EXPECT_EQ(client.Text(), texts.client);
        EXPECT_EQ(server.Text(), texts.server);
        EXPECT_TRUE(client.Visible() && server.Visible());
        EXPECT_TRUE(client.Checked());
        EXPECT_FALSE(server.Checked());
        EXPECT_FALSE(walk.Control(WizardId(kLanguageList)).Visible());
        ExpectButtons(walk, texts, texts.next, true, true);
    }
    walk.Shoot("type-client");

    AcceptLicence(walk, texts);
    WalkOnToSummary(walk, "Zinkolar Client", dest);
    walk.Shoot("summary-client");

    // Back to the type page; the licence page wants Accept again.
    walk.Press(WizardId(kBackButton), texts.file_types);
    EXPECT_EQ(walk.Text(WizardId(kNextButton)), texts.next);
    walk.Press(WizardId(kBackButton), texts.group);
    walk.Press(WizardId(kBackButton), texts.shortcuts);
    walk.Press(WizardId(kBackButton), texts.destination);
    walk.Press(WizardId(kBackButton), texts.licence);
    EXPECT_FALSE(walk.Control(WizardId(kNextButton)).Enabled());
    walk.Press(WizardId(kBackButton), texts.install_type);
    server.Click();
    WaitUntil([&] { return server.Checked() && !client.Checked(); }, kPageTimeout,
              "the server to be chosen");
    walk.Shoot("type-server");

    AcceptLicence(walk, texts);
    WalkOnToSummary(walk, "Zinkolar Server", dest);
    walk.Press(WizardId(kNextButton), texts.finish, kRunTimeout);
    EXPECT_EQ(walk.Text(WizardId(kPrompt)), "Установка Zinkolar Server 5.0 успешно завершена.");
    walk.Shoot("finish-server");
    EXPECT_EQ(LeaveFinishPage(walk), 0u);
}

// The controls that come and go with the pages.
constexpr ui::ControlName kPageControls[] = {
    kNote,          kLanguagePrompt, kSettingsHeading, kSpaceText,    kLanguageList,
    kBevel,         kTypePanel,      kTextViewer,      kAcceptButton, kDeclineButton,
    kPathField,     kFolderList,     kDriveList,       kGroupList,    kShortcutPanel,
    kFileTypePanel, kAllButton,      kNoneButton,      kFinishPanel};

struct PageControls {
    const char* title;
    std::vector<ui::ControlName> shown;  // of kPageControls; the others are hidden
};

// The single-type distribution's pages in the built-in language.
const PageControls kPages[] = {
    {kRussian.welcome, {kNote, kLanguagePrompt, kLanguageList, kBevel}},
    {kRussian.licence, {kNote, kTextViewer, kAcceptButton, kDeclineButton}},
    {kRussian.destination, {kPathField, kFolderList, kDriveList, kSpaceText}},
    {kRussian.shortcuts, {kShortcutPanel, kAllButton, kNoneButton}},
    {kRussian.group, {kPathField, kGroupList}},
    {kRussian.file_types, {kFileTypePanel, kAllButton, kNoneButton}},
    {kRussian.summary, {kTextViewer, kSettingsHeading}},
};

void ExpectShownControls(const WizardWalk& walk, const PageControls& page) {
    Strings shown;
    Strings expected;
    for (const ui::ControlName control : kPageControls) {
        if (walk.Control(WizardId(control)).Visible())
            shown.emplace_back(control.Text());
        if (std::find(page.shown.begin(), page.shown.end(), control) != page.shown.end())
            expected.emplace_back(control.Text());
    }
    EXPECT_EQ(shown, expected) << "on the page " << page.title;
}

TEST(WizardPagesTest, EveryPageShowsOnlyItsControlsGoingOnAndComingBack) {
    const Distribution distribution(kDistributions + "single");
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    const size_t count = std::size(kPages);
    ExpectShownControls(walk, kPages[0]);
    for (size_t i = 1; i < count; ++i) {
        if (std::string_view(kPages[i - 1].title) == kRussian.licence) {
            walk.Control(WizardId(kAcceptButton)).Click();
        }
        walk.Press(WizardId(kNextButton), kPages[i].title);
        ExpectShownControls(walk, kPages[i]);
    }
    for (size_t i = count - 1; i-- > 0;) {
        walk.Press(WizardId(kBackButton), kPages[i].title);
        ExpectShownControls(walk, kPages[i]);
    }
    EXPECT_FALSE(walk.Control(WizardId(kBackButton)).Enabled());
}

TEST(WizardConfigurationTest, WithoutVoiceFeaturesTheVoiceFileTypesAreNotOffered) {
    const Distribution distribution(kDistributions + "single");
    ChangeSetupIni(distribution, "VoiceVersion=1", "VoiceVersion=0");

    WizardWalk walk(distribution.Folder(), ShotsFolder());
    WalkToDestination(walk, kRussian);
    walk.Press(WizardId(kNextButton), kRussian.shortcuts);
    walk.Press(WizardId(kNextButton), kRussian.group);
    walk.Press(WizardId(kNextButton), kRussian.file_types);
    for (const FileTypeRow& type : kFileTypeRows) {
        const bool voice_type =
            type.extension == std::string_view("MIX") || type.extension == std::string_view("ZKA");
        for (const int id : {type.box, type.icon, type.label}) {
            EXPECT_EQ(walk.Control(id).Visible(), !voice_type) << type.extension << " row";
        }
    }
    walk.Shoot("file-types");
}

TEST(WizardLanguageTest, SwitchingBackRestoresTheBuiltInTextsAndQuestionsFollow) {
    const Distribution distribution(kDistributions + "single");
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    const RemoteWindow languages = walk.Control(WizardId(kLanguageList));
    for (const LanguageTexts* texts : {&kEnglish, &kRussian}) {
        SCOPED_TRACE(texts->name);
        languages.Choose(texts == &kEnglish ? 0 : 1);
        WaitUntil([&] { return walk.Text(WizardId(kNextButton)) == texts->next; }, kPageTimeout,
                  "the wizard to take the chosen language");
        EXPECT_EQ(walk.Title(), texts->welcome);
        EXPECT_EQ(walk.Text(WizardId(kNote)), texts->welcome_note);
        EXPECT_EQ(walk.Text(WizardId(kPrompt)), texts->welcome_text);
        EXPECT_EQ(walk.Wizard().Text(), texts->caption);
        ExpectButtons(walk, *texts, texts->next, false, true);

        const MessageDialog question = walk.PressForDialog(WizardId(kCancelButton));
        EXPECT_EQ(question.Title(), texts->confirm_title);
        EXPECT_EQ(question.Text(), texts->really_abort);
        EXPECT_EQ(question.Buttons(), (Strings{texts->yes, texts->no}));
        walk.Shoot(std::string("question-") + texts->name);
        WizardWalk::Answer(question, texts->no);
    }
}

// A folder of the Start-menu programs folder for the time of a test.
class ProgramGroupFolder {
  public:
    explicit ProgramGroupFolder(const std::wstring& name) {
        wchar_t programs[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, programs)) ||
            CreateDirectoryW((std::wstring(programs) + L"\\" + name).c_str(), nullptr) == 0) {
            throw std::runtime_error("cannot make a program group folder");
        }
        path_ = std::wstring(programs) + L"\\" + name;
    }
    ~ProgramGroupFolder() { RemoveDirectoryW(path_.c_str()); }
    ProgramGroupFolder(const ProgramGroupFolder&) = delete;
    ProgramGroupFolder& operator=(const ProgramGroupFolder&) = delete;

  private:
    std::wstring path_;
};

TEST(WizardChoicesTest, GroupChosenFromTheListIsReplacedByTheDefaultOnReentry) {
    const ProgramGroupFolder existing(L"Zinkolar E2E");
    const Distribution distribution(kDistributions + "single");
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    WalkToDestination(walk, kRussian);
    walk.Press(WizardId(kNextButton), kRussian.shortcuts);
    walk.Press(WizardId(kNextButton), kRussian.group);

    const RemoteWindow groups = walk.Control(WizardId(kGroupList));
    const Strings names = groups.Items();
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](const auto& a, const auto& b) {
        return lstrcmpiW(Wide(a).c_str(), Wide(b).c_str()) < 0;
    })) << "the group list is not sorted";
    const auto found = std::find(names.begin(), names.end(), "Zinkolar E2E");
    ASSERT_NE(found, names.end()) << "the existing group is not offered";
    groups.Choose(static_cast<int>(found - names.begin()));
    WaitUntil([&] { return walk.Text(WizardId(kPathField)) == "Zinkolar E2E\\Zinkolar 5.0"; },
              kPageTimeout, "the chosen group in the field");
    walk.Shoot("group-chosen");

    walk.Press(WizardId(kNextButton), kRussian.file_types);
    walk.Press(WizardId(kNextButton), kRussian.summary);
    EXPECT_EQ(Lines(walk.Text(WizardId(kTextViewer))).back(),
              std::string(kIndent) + "Zinkolar E2E\\Zinkolar 5.0");
    walk.Press(WizardId(kBackButton), kRussian.file_types);
    walk.Press(WizardId(kBackButton), kRussian.group);
    EXPECT_EQ(walk.Text(WizardId(kPathField)), "Zinkolar 5.0");
}

TEST(WizardChoicesTest, WithoutStartMenuGroupTheGroupPageAndItsLinesAreLeftOut) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    WalkToDestination(walk, kRussian);
    walk.Control(WizardId(kPathField)).Type(dest.Path());
    walk.Press(WizardId(kNextButton), kRussian.shortcuts);
    const RemoteWindow start_menu = walk.Control(WizardId(kStartMenuBox));
    start_menu.Click();
    WaitUntil([&] { return !start_menu.Checked(); }, kPageTimeout, "the Start-menu box to clear");

    // Both ways skip the group page.
    walk.Press(WizardId(kNextButton), kRussian.file_types);
    walk.Press(WizardId(kBackButton), kRussian.shortcuts);
    walk.Press(WizardId(kNextButton), kRussian.file_types);
    walk.Press(WizardId(kNextButton), kRussian.summary);
    EXPECT_EQ(Lines(walk.Text(WizardId(kTextViewer))),
              (Strings{kRussian.install_dir, kIndent + dest.Path()}));
    walk.Shoot("summary");

    walk.Press(WizardId(kNextButton), kRussian.finish, kRunTimeout);
    EXPECT_TRUE(walk.Control(WizardId(kRunProgramBox)).Visible());
    EXPECT_FALSE(walk.Control(WizardId(kOpenGroupBox)).Visible())
        << "a group to open that was never made";
    walk.Shoot("finish");
    EXPECT_EQ(LeaveFinishPage(walk), 0u);
}

// Select all and Clear all act on the boxes of the page shown, and only on those.
TEST(WizardChoicesTest, SelectAllAndClearAllActOnThePageShown) {
    const Distribution distribution(kDistributions + "single");
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    WalkToDestination(walk, kRussian);
    walk.Press(WizardId(kNextButton), kRussian.shortcuts);

    std::vector<RemoteWindow> shortcut_boxes;
    for (const int id :
         {WizardId(kStartMenuBox), WizardId(kDesktopBox), WizardId(kQuickLaunchBox)}) {
        if (walk.Control(id).Visible()) {
            shortcut_boxes.push_back(walk.Control(id));
        }
    }
    std::vector<RemoteWindow> type_boxes;
    type_boxes.reserve(kFileTypeRows.size());
    for (const FileTypeRow& row : kFileTypeRows) {
        type_boxes.push_back(walk.Control(row.box));
    }
    const auto all_are = [](const std::vector<RemoteWindow>& boxes, bool checked) {
        return std::all_of(boxes.begin(), boxes.end(),
                           [&](const RemoteWindow& box) { return box.Checked() == checked; });
    };
    const auto press = [&](int button, const std::vector<RemoteWindow>& boxes, bool checked) {
        walk.Control(button).Click();
        WaitUntil([&] { return all_are(boxes, checked); }, kPageTimeout,
                  checked ? "the boxes to be checked" : "the boxes to be cleared");
    };
    constexpr int kAll = WizardId(kAllButton);
    constexpr int kNone = WizardId(kNoneButton);

    press(kNone, shortcut_boxes, false);
    EXPECT_TRUE(all_are(type_boxes, true)) << "file types cleared from the shortcuts page";
    press(kAll, shortcut_boxes, true);
    press(kNone, shortcut_boxes, false);
    // With the Start-menu box cleared the group page is skipped.
    walk.Press(WizardId(kNextButton), kRussian.file_types);
    press(kNone, type_boxes, false);
    EXPECT_TRUE(all_are(shortcut_boxes, false)) << "shortcuts changed from the file-type page";
    walk.Shoot("cleared");
    press(kAll, type_boxes, true);
    walk.Press(WizardId(kBackButton), kRussian.shortcuts);
    EXPECT_TRUE(all_are(shortcut_boxes, false)) << "the shortcut boxes did not keep their state";
}

}  // namespace
