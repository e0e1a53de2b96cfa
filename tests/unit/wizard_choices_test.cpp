// Pages 4 to 7 and the finish page: shortcuts, program group, file types, the summary, and the
// finish actions.
#include <algorithm>

#include "wizard_fixture.h"

namespace wizard_test {
namespace {

constexpr char kProgram[] = "C:\\Program Files\\Zinkolar\\zinkolar.exe";

struct GroupCase {
    const char* name;
    bool client_server;
    bool server;
    const char* version;  // nullptr: no VersionNumber key
    const char* proposed;
    const char* chosen;  // after clicking "Accessories"
};

class WizardGroupName : public WizardTest, public testing::WithParamInterface<GroupCase> {};

TEST_P(WizardGroupName, IsProposedAndFollowsTheChosenGroup) {
    const GroupCase& c = GetParam();
    if (c.client_server)
        MakeClientServer();
    if (c.version == nullptr) {
        main.erase("VersionNumber");
    } else {
        main["VersionNumber"] = c.version;
    }
    Start();
    WalkTo(c.client_server ? Page::Type : Page::Licence);
    if (c.server)
        C(kServerRadio).Click();
    WalkTo(Page::Group);
    EXPECT_EQ(C(kPathField).Text(), c.proposed);
    EXPECT_EQ(C(kPrompt).Text(), "Введите название группы программ:");
    ASSERT_EQ(C(kGroupList).Items(), (std::vector<std::string>{"Accessories", "Startup"}));
    C(kGroupList).Choose(0);
    EXPECT_EQ(C(kPathField).Text(), c.chosen);
    Next();
    EXPECT_EQ(CurrentPage(), Page::FileTypes) << "the wizard takes the group it proposed";
    EXPECT_TRUE(dialogs.Shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardGroupName,
    testing::Values(
        GroupCase{"SingleType", false, false, "5.0", "Zinkolar 5.0", "Accessories\\Zinkolar 5.0"},
        GroupCase{"Server", true, true, "5.0", "Zinkolar Server 5.0",
                  "Accessories\\Zinkolar Server 5.0"},
        GroupCase{"ClientWithoutVersion", true, false, nullptr, "Zinkolar Client",
                  "Accessories\\Zinkolar Client"},
        GroupCase{"EmptyVersion", false, false, "", "Zinkolar", "Accessories\\Zinkolar"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WizardTest, GroupFieldIsProposedAgainOnEveryEntry) {
    Start();
    WalkTo(Page::Group);
    C(kPathField).Type("Mine");
    Next();
    Back();
    EXPECT_EQ(C(kPathField).Text(), "Zinkolar 5.0");
}

// A group the platform cannot create, or the log cannot record, keeps the wizard on page 5.
struct GroupTextCase {
    const char* typed;
    const char* said;  // nullptr: taken
};

class WizardGroupText : public WizardTest, public testing::WithParamInterface<GroupTextCase> {};

TEST_P(WizardGroupText, MustBeAFolderName) {
    const GroupTextCase& c = GetParam();
    Start();
    WalkTo(Page::Group);
    C(kPathField).Type(c.typed);
    Next();
    if (c.said == nullptr) {
        EXPECT_TRUE(dialogs.Shown().empty());
        EXPECT_EQ(CurrentPage(), Page::FileTypes);
        return;
    }
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.said});
    EXPECT_EQ(dialogs.Shown().at(0).kind, DialogKind::Error);
    EXPECT_EQ(CurrentPage(), Page::Group);
    EXPECT_EQ(Title(), "Выбор группы программ в меню Пуск");
    EXPECT_TRUE(C(kGroupList).Showing());
    EXPECT_EQ(C(kPathField).Text(), c.typed);
}

constexpr char kBadDir[] = "Укажите полный путь к папке для установки.";

INSTANTIATE_TEST_SUITE_P(
    Table, WizardGroupText,
    testing::Values(GroupTextCase{"Kelmo\\Zinkolar", nullptr}, GroupTextCase{"", kBadDir},
                    GroupTextCase{"..\\..\\..", kBadDir}, GroupTextCase{"a<b", kBadDir},
                    GroupTextCase{"a=b", "Имя папки не может содержать знак \"=\"."}));

TEST_F(WizardTest, RefusedGroupDoesNotStopTheWayBack) {
    Start();
    WalkTo(Page::Group);
    C(kPathField).Type("a<b");
    Back();
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_EQ(CurrentPage(), Page::Shortcuts);
}

// The rows of the voice-message package (MIX) and the remote-control script (ZKA).
struct RowsCase {
    const char* name;
    const char* voice;
    bool client_server;
    const char* types;  // installation types chosen on page 1, in order: C client, S server
    bool mix;
    bool zka;
};

class WizardFileTypeRows : public WizardTest, public testing::WithParamInterface<RowsCase> {};

TEST_P(WizardFileTypeRows, ShowWhatTheDistributionAndTypeOffer) {
    const RowsCase& c = GetParam();
    main["VoiceVersion"] = c.voice;
    if (c.client_server)
        MakeClientServer();
    Start();
    for (const char* type = c.types; *type != '\0'; ++type) {
        if (CurrentPage() == Page::Licence)
            Back();
        WalkTo(Page::Type);
        C(*type == 'S' ? kServerRadio : kClientRadio).Click();
        Next();
    }
    WalkTo(Page::FileTypes);
    for (const ui::ControlName name : {kMixBox, kMixIcon, kMixText}) {
        EXPECT_EQ(C(name).Showing(), c.mix) << name;
    }
    for (const ui::ControlName name : {kScriptBox, kScriptIcon, kScriptText}) {
        EXPECT_EQ(C(name).Showing(), c.zka) << name;
    }
    for (const ui::ControlName name :
         {kFaxBox, kCoverPageBox, kLogBookBox, kPhoneBookBox, kScheduleBox}) {
        EXPECT_TRUE(C(name).Showing()) << name;
    }
    EXPECT_TRUE(C(kMixBox).Checked() && C(kScriptBox).Checked()) << "hidden rows keep their state";
}

INSTANTIATE_TEST_SUITE_P(Table, WizardFileTypeRows,
                         testing::Values(RowsCase{"Voice", "1", false, "", true, true},
                                         RowsCase{"NoVoice", "0", false, "", false, false},
                                         RowsCase{"Server", "1", true, "S", true, true},
                                         RowsCase{"Client", "1", true, "C", true, false},
                                         RowsCase{"ClientThenServer", "1", true, "CS", true, false},
                                         RowsCase{"NoVoiceServer", "0", true, "S", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Select all and Clear all act on the boxes of the page shown.
struct AllCase {
    const char* name;
    Page page;
    bool quick_launch;
    std::vector<ui::ControlName> clicks;
    std::vector<ui::ControlName> cleared;  // every other box stays checked
};

constexpr ui::ControlName kBoxes[] = {kStartMenuBox, kDesktopBox, kQuickLaunchBox, kFaxBox,
                                      kCoverPageBox, kLogBookBox, kPhoneBookBox,   kScheduleBox,
                                      kMixBox,       kScriptBox};

class WizardSelectAll : public WizardTest, public testing::WithParamInterface<AllCase> {};

TEST_P(WizardSelectAll, ActsOnThePageShown) {
    const AllCase& c = GetParam();
    if (!c.quick_launch)
        fake.files.Remove(kQuickLaunch);
    Start();
    WalkTo(c.page);
    for (const ui::ControlName button : c.clicks)
        C(button).Click();
    for (const ui::ControlName box : kBoxes) {
        const bool cleared =
            std::find_if(c.cleared.begin(), c.cleared.end(),
                         [&](ui::ControlName n) { return n == box; }) != c.cleared.end();
        EXPECT_EQ(C(box).Checked(), !cleared) << box;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardSelectAll,
    testing::Values(
        AllCase{"ShortcutsClear",
                Page::Shortcuts,
                true,
                {kNoneButton},
                {kStartMenuBox, kDesktopBox, kQuickLaunchBox}},
        AllCase{"ShortcutsClearSelect", Page::Shortcuts, true, {kNoneButton, kAllButton}, {}},
        AllCase{"HiddenQuickLaunchLeftAlone",
                Page::Shortcuts,
                false,
                {kNoneButton, kAllButton},
                {kQuickLaunchBox}},
        AllCase{"FileTypesClear",
                Page::FileTypes,
                true,
                {kNoneButton},
                {kFaxBox, kCoverPageBox, kLogBookBox, kPhoneBookBox, kScheduleBox, kMixBox,
                 kScriptBox}},
        AllCase{
            "FileTypesClearSelect", Page::FileTypes, true, {kFaxBox, kNoneButton, kAllButton}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WizardTest, ChoicesSurviveBackAndNext) {
    Start();
    WalkTo(Page::Shortcuts);
    C(kDesktopBox).Click();
    WalkTo(Page::FileTypes);
    C(kPhoneBookBox).Click();
    Back();
    Back();
    Back();
    WalkTo(Page::FileTypes);
    EXPECT_FALSE(C(kDesktopBox).Checked());
    EXPECT_FALSE(C(kPhoneBookBox).Checked());
}

struct SummaryCase {
    const char* name;
    bool start_cleared;
    std::string content;
};

class WizardSummary : public WizardTest, public testing::WithParamInterface<SummaryCase> {};

TEST_P(WizardSummary, ListsFolderAndGroup) {
    const SummaryCase& c = GetParam();
    Start();
    WalkTo(Page::Shortcuts);
    if (c.start_cleared)
        C(kStartMenuBox).Click();
    Next();
    if (CurrentPage() == Page::Group)
        C(kGroupList).Choose(0);
    WalkTo(Page::Summary);
    const ui::Control& summary = C(kTextViewer);
    EXPECT_EQ(summary.Content(), c.content);
    EXPECT_EQ(summary.Bounds(), (ui::Rect{178, 102, 305, 190}));
    EXPECT_EQ(C(kSettingsHeading).Text(), "Текущие установки:");
    EXPECT_EQ(C(kPrompt).Text(), "Готово");
    EXPECT_EQ(C(kNextButton).Text(), "Установить");

    Back();
    EXPECT_EQ(C(kNextButton).Text(), " Далее >>");
    WalkTo(Page::Summary);
    EXPECT_EQ(summary.Content(), c.content) << "written anew on each visit";
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardSummary,
    testing::Values(SummaryCase{"WithGroup", false,
                                "Папка для установки:\r\n        C:\\Program Files\\Zinkolar\r\n"
                                "\r\nГруппа в меню Пуск:\r\n        Accessories\\Zinkolar 5.0"},
                    SummaryCase{"WithoutGroup", true,
                                "Папка для установки:\r\n        C:\\Program Files\\Zinkolar"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WizardTest, InstallationRunsOnceFromTheSummary) {
    Start();
    int runs = 0;
    wizard->SetRunInstallation([&] {
        ++runs;
        wizard->ShowFinishPage();
    });
    WalkTo(Page::Summary);
    EXPECT_EQ(runs, 0);
    Next();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(CurrentPage(), Page::Installation);
    EXPECT_EQ(Title(), "Завершение установки");
}

// The finish page and what its Next opens.
struct FinishCase {
    const char* name;
    bool start_cleared;
    const char* group;  // typed on page 5; nullptr: the proposed one
    std::vector<ui::ControlName> cleared;
    bool group_offered;
    std::vector<std::string> opened;
};

class WizardFinish : public WizardTest, public testing::WithParamInterface<FinishCase> {};

TEST_P(WizardFinish, OpensTheChosenTargetsAndEnds) {
    const FinishCase& c = GetParam();
    Start();
    WalkTo(Page::Shortcuts);
    if (c.start_cleared)
        C(kStartMenuBox).Click();
    Next();
    if (c.group != nullptr)
        C(kPathField).Type(c.group);
    WalkTo(Page::Installation);
    EXPECT_TRUE(C(kFinishPanel).Showing());
    EXPECT_TRUE(C(kRunProgramBox).Showing());
    EXPECT_EQ(C(kOpenGroupBox).Showing(), c.group_offered);
    EXPECT_EQ(C(kOpenGroupBox).Checked(), c.group_offered);
    EXPECT_FALSE(C(kCancelButton).Showing());
    EXPECT_FALSE(C(kBackButton).Enabled());
    EXPECT_EQ(C(kNextButton).Text(), "Готово");
    EXPECT_EQ(C(kPrompt).Text(), "Установка Zinkolar 5.0 успешно завершена.");
    EXPECT_TRUE(Form().Visible());
    for (const ui::ControlName box : c.cleared)
        C(box).Click();
    EXPECT_TRUE(fake.shell.opened.empty());
    Next();
    EXPECT_EQ(fake.shell.opened, c.opened);
    EXPECT_TRUE(app.Terminating());
    EXPECT_EQ(app.exit_code, 0);
    EXPECT_TRUE(dialogs.Shown().empty());
}

const std::string kGroupFolder = std::string(kPrograms) + "\\Zinkolar 5.0";

INSTANTIATE_TEST_SUITE_P(
    Table, WizardFinish,
    testing::Values(
        FinishCase{"Both", false, nullptr, {}, true, {kGroupFolder, kProgram}},
        FinishCase{"DeepGroup",
                   false,
                   "Tools\\Fax\\Zinkolar",
                   {},
                   true,
                   {std::string(kPrograms) + "\\Tools\\Fax\\Zinkolar", kProgram}},
        FinishCase{"NoGroupChosen", true, nullptr, {}, false, {kProgram}},
        FinishCase{"ProgramOnlyCleared", false, nullptr, {kRunProgramBox}, true, {kGroupFolder}},
        FinishCase{"BothCleared", false, nullptr, {kRunProgramBox, kOpenGroupBox}, true, {}},
        FinishCase{"NothingLeft", true, nullptr, {kRunProgramBox}, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Escape does nothing (Cancel is hidden), the close box still asks, Enter presses Next.
struct FinishKeyCase {
    const char* name;
    const char* keys;  // X Escape, C close box, E Enter
    std::vector<DialogButton> answers;
    std::size_t asked;
    bool ends;
    bool opens;
};

class WizardFinishKeys : public WizardTest, public testing::WithParamInterface<FinishKeyCase> {};

TEST_P(WizardFinishKeys, ActAsOnThePage) {
    const FinishKeyCase& c = GetParam();
    Start();
    WalkTo(Page::Installation);
    for (DialogButton answer : c.answers)
        dialogs.Answer(answer);
    for (const char* key = c.keys; *key != '\0'; ++key) {
        if (*key == 'X')
            Form().PressEscape();
        if (*key == 'C')
            Form().RequestClose();
        if (*key == 'E')
            Form().PressEnter();
    }
    EXPECT_EQ(dialogs.Shown().size(), c.asked);
    EXPECT_EQ(app.Terminating(), c.ends);
    EXPECT_EQ(fake.shell.opened.empty(), !c.opens);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardFinishKeys,
    testing::Values(FinishKeyCase{"Escape", "X", {}, 0, false, false},
                    FinishKeyCase{"CloseNo", "C", {DialogButton::No}, 1, false, false},
                    FinishKeyCase{"CloseYes", "C", {DialogButton::Yes}, 1, true, false},
                    FinishKeyCase{"EscapeCloseNoEnter", "XCE", {DialogButton::No}, 1, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace wizard_test
