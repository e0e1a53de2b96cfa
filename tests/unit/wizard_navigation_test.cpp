// The page machine: Next and Back with their skip rules, what each page shows, cancelling, and
// the licence page.
#include <algorithm>

#include "ui/exit_codes.h"
#include "wizard_fixture.h"

namespace wizard_test {
namespace {

using enum wizard::Page;

// Steps: N Next, B Back, Y accept the licence, S click the Start-menu box, E Enter, X Escape.
struct NavCase {
    const char* name;
    bool client_server;
    const char* steps;
    std::vector<Page> pages;  // after each step
};

class WizardNavigation : public WizardTest, public testing::WithParamInterface<NavCase> {};

TEST_P(WizardNavigation, FollowsTheSkipRules) {
    const NavCase& c = GetParam();
    if (c.client_server)
        MakeClientServer();
    Start();
    std::vector<Page> pages;
    for (const char* step = c.steps; *step != '\0'; ++step) {
        switch (*step) {
            case 'N':
                Next();
                break;
            case 'B':
                Back();
                break;
            case 'Y':
                C(kAcceptButton).Click();
                break;
            case 'S':
                C(kStartMenuBox).Click();
                break;
            case 'E':
                Form().PressEnter();
                break;
            default:
                FAIL() << "unknown step " << *step;
        }
        pages.push_back(CurrentPage());
        EXPECT_EQ(Title(), kTitles[std::min(static_cast<int>(CurrentPage()), 8)])
            << "after step " << pages.size();
    }
    EXPECT_EQ(pages, c.pages);
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_FALSE(app.Terminating());
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardNavigation,
    testing::Values(NavCase{"SingleTypeSkipsTypePage", false, "NB", {Licence, Welcome}},
                    NavCase{
                        "ClientServerShowsTypePage", true, "NNBB", {Type, Licence, Type, Welcome}},
                    NavCase{"ForwardToFinish",
                            false,
                            "NYNNNNNN",
                            {Licence, Licence, Destination, Shortcuts, Group, FileTypes, Summary,
                             Installation}},
                    NavCase{"BackFromSummary",
                            false,
                            "NYNNNNNBBBBBB",
                            {Licence, Licence, Destination, Shortcuts, Group, FileTypes, Summary,
                             FileTypes, Group, Shortcuts, Destination, Licence, Welcome}},
                    NavCase{"StartClearedSkipsGroupBothWays",
                            false,
                            "NYNNSNBN",
                            {Licence, Licence, Destination, Shortcuts, Shortcuts, FileTypes,
                             Shortcuts, FileTypes}},
                    NavCase{"StartClearedFromSummary",
                            false,
                            "NYNNSNNBB",
                            {Licence, Licence, Destination, Shortcuts, Shortcuts, FileTypes,
                             Summary, FileTypes, Shortcuts}},
                    NavCase{"StartCheckedAgain",
                            false,
                            "NYNNSNBSN",
                            {Licence, Licence, Destination, Shortcuts, Shortcuts, FileTypes,
                             Shortcuts, Shortcuts, Group}},
                    NavCase{"EnterNeedsAcceptOnLicence",
                            false,
                            "NEEYE",
                            {Licence, Licence, Licence, Licence, Destination}},
                    NavCase{"LicenceAcceptedAgainAfterBack",
                            false,
                            "NYNBE",
                            {Licence, Licence, Destination, Licence, Licence}}),
    [](const auto& info) { return std::string(info.param.name); });

// What a page shows, whichever way it was reached.
struct Look {
    Page page;
    std::vector<ui::ControlName> showing;
    std::vector<ui::ControlName> hidden;
};

const Look kLooks[] = {
    {Page::Welcome,
     {kTitle, kNote, kLanguagePrompt, kPrompt, kLanguageList, kBevel, kSidePicture, kNextButton,
      kCancelButton, kBackButton},
     {kTypePanel, kTextViewer, kAcceptButton, kDeclineButton, kPathField, kFolderList, kDriveList,
      kSpaceText, kGroupList, kFileTypePanel, kShortcutPanel, kFinishPanel, kAllButton, kNoneButton,
      kSettingsHeading}},
    {Page::Type,
     {kTypePanel, kClientRadio, kServerRadio, kNote, kPrompt},
     {kLanguagePrompt, kLanguageList, kBevel, kTextViewer, kAcceptButton, kDeclineButton}},
    {Page::Licence,
     {kTextViewer, kAcceptButton, kDeclineButton, kNote},
     {kLanguagePrompt, kTypePanel, kLanguageList, kBevel, kPathField, kDriveList, kFolderList,
      kSpaceText}},
    {Page::Destination,
     {kPathField, kFolderList, kDriveList, kSpaceText, kSidePicture, kNextButton, kCancelButton},
     {kTextViewer, kAcceptButton, kDeclineButton, kNote, kShortcutPanel, kGroupList, kAllButton,
      kNoneButton}},
    {Page::Shortcuts,
     {kStartMenuBox, kDesktopBox, kQuickLaunchBox, kAllButton, kNoneButton},
     {kPathField, kFolderList, kDriveList, kSpaceText, kGroupList, kFileTypePanel, kNote,
      kLanguagePrompt, kSettingsHeading}},
    {Page::Group,
     {kPathField, kGroupList},
     {kFileTypePanel, kShortcutPanel, kTextViewer, kFolderList, kDriveList, kAllButton, kNoneButton,
      kNote}},
    {Page::FileTypes,
     {kFaxBox, kCoverPageBox, kLogBookBox, kPhoneBookBox, kScheduleBox, kMixBox, kScriptBox,
      kExtensionHeading, kDescriptionHeading, kAllButton, kNoneButton},
     {kShortcutPanel, kPathField, kGroupList, kTextViewer, kNote, kSettingsHeading}},
    {Page::Summary,
     {kTextViewer, kSettingsHeading},
     {kAllButton, kNoneButton, kFileTypePanel, kShortcutPanel, kPathField, kGroupList, kNote,
      kLanguagePrompt}},
};

TEST_F(WizardTest, EachPageLooksTheSameForwardAndBack) {
    MakeClientServer();
    fake.files.AddFile(std::string(kSourceDir) + "\\license.txt", "text");
    Start();
    const auto check = [&](const char* way) {
        const Look& look = kLooks[static_cast<int>(CurrentPage())];
        for (const ui::ControlName name : look.showing) {
            EXPECT_TRUE(C(name).Showing()) << way << name.Text();
        }
        for (const ui::ControlName name : look.hidden) {
            EXPECT_FALSE(C(name).Showing()) << way << name.Text();
        }
        EXPECT_EQ(C(kBackButton).Enabled(), CurrentPage() != Page::Welcome)
            << way << testing::PrintToString(CurrentPage());
        EXPECT_EQ(C(kNextButton).Enabled(), CurrentPage() != Page::Licence)
            << way << testing::PrintToString(CurrentPage());
        EXPECT_EQ(C(kNextButton).Text(),
                  CurrentPage() == Page::Summary ? "Установить" : " Далее >>")
            << way << testing::PrintToString(CurrentPage());
        if (CurrentPage() == Page::Welcome || CurrentPage() == Page::Licence) {
            EXPECT_EQ(C(kNote).Bounds().top, CurrentPage() == Page::Welcome ? 234 : 228) << way;
        }
        if (CurrentPage() == Page::Licence || CurrentPage() == Page::Summary) {
            EXPECT_EQ(C(kTextViewer).Bounds(), CurrentPage() == Page::Licence
                                                   ? (ui::Rect{178, 65, 305, 150})
                                                   : (ui::Rect{178, 102, 305, 190}))
                << way;
        }
    };
    for (int page = 0; page < 7; ++page) {
        check("forward ");
        if (CurrentPage() == Page::Type)
            C(kServerRadio).Click();  // keeps every file-type row
        if (CurrentPage() == Page::Licence)
            C(kAcceptButton).Click();
        Next();
        ASSERT_EQ(static_cast<int>(CurrentPage()), page + 1);
    }
    for (int page = 7; page > 0; --page) {
        check("back ");
        Back();
        ASSERT_EQ(static_cast<int>(CurrentPage()), page - 1);
        if (CurrentPage() == Page::Licence) {
            EXPECT_FALSE(C(kNextButton).Enabled()) << "the licence is asked again";
        }
    }
    check("back ");
}

// Ways to ask for the end of the setup, and the answer to the confirmation.
enum class Way { CancelButton, CloseBox, Escape, NotAccept, EnterOnCancel };

struct CancelCase {
    const char* name;
    Page page;
    Way way;
    DialogButton answer;
};

class WizardCancelling : public WizardTest, public testing::WithParamInterface<CancelCase> {};

TEST_P(WizardCancelling, AsksOnceAndEndsOnlyOnYes) {
    const CancelCase& c = GetParam();
    Start();
    WalkTo(c.page);
    const std::string title = Title();
    const std::string folder = C(kPathField).Text();
    dialogs.Answer(c.answer);
    switch (c.way) {
        case Way::CancelButton:
            C(kCancelButton).Click();
            break;
        case Way::CloseBox:
            Form().RequestClose();
            break;
        case Way::Escape:
            Form().PressEscape();
            break;
        case Way::NotAccept:
            C(kDeclineButton).Click();
            break;
        case Way::EnterOnCancel:
            Form().UserFocused(&C(kCancelButton));
            Form().PressEnter();
            break;
    }
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    const ui::DialogRequest& asked = dialogs.Shown()[0];
    EXPECT_EQ(asked.text, kRealyAbort);
    EXPECT_EQ(asked.kind, DialogKind::Confirmation);
    EXPECT_EQ(asked.title, "Подтверждение");
    EXPECT_EQ(asked.buttons, (std::vector{DialogButton::Yes, DialogButton::No}));
    EXPECT_EQ(asked.captions, (std::vector<std::string>{"&Да", "&Нет"}));
    EXPECT_EQ(app.Terminating(), c.answer == DialogButton::Yes);
    if (app.Terminating())
        EXPECT_EQ(app.exit_code, ui::kExitCancelled);
    EXPECT_EQ(CurrentPage(), c.page);
    EXPECT_EQ(Title(), title);
    EXPECT_EQ(C(kPathField).Text(), folder);
    if (c.way == Way::NotAccept) {
        EXPECT_FALSE(C(kNextButton).Enabled());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardCancelling,
    testing::Values(
        CancelCase{"CancelNo", Page::Welcome, Way::CancelButton, DialogButton::No},
        CancelCase{"CancelYes", Page::Shortcuts, Way::CancelButton, DialogButton::Yes},
        CancelCase{"CloseBoxNo", Page::Destination, Way::CloseBox, DialogButton::No},
        CancelCase{"CloseBoxYes", Page::Summary, Way::CloseBox, DialogButton::Yes},
        CancelCase{"EscapeNo", Page::Welcome, Way::Escape, DialogButton::No},
        CancelCase{"EscapeYes", Page::FileTypes, Way::Escape, DialogButton::Yes},
        CancelCase{"NotAcceptNo", Page::Licence, Way::NotAccept, DialogButton::No},
        CancelCase{"NotAcceptYes", Page::Licence, Way::NotAccept, DialogButton::Yes},
        CancelCase{"EnterOnCancelNo", Page::Summary, Way::EnterOnCancel, DialogButton::No},
        CancelCase{"EnterOnCancelYes", Page::Destination, Way::EnterOnCancel, DialogButton::Yes}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WizardTest, NoteAtTheBottomIsInSmallerTypeThanTheOtherLabels) {
    Start();
    const auto height = [](const ui::Control& c) {
        return c.GetStyle().font_height != 0 ? c.GetStyle().font_height : ui::kFormFontHeight;
    };
    const int note = height(C(kNote));
    EXPECT_LT(note, ui::kFormFontHeight);
    for (const auto& control : Form().Controls()) {
        if (control->GetKind() == ui::Kind::Label && control->Name() != kNote.Text())
            EXPECT_GT(height(*control), note) << control->Name();
    }
}

// Enter presses the push button that has the focus; Next only when no push button has it.
struct EnterCase {
    const char* name;
    Page page;
    ui::ControlName focus;
    Page page_after;
    bool next_enabled;
};

class WizardEnter : public WizardTest, public testing::WithParamInterface<EnterCase> {};

TEST_P(WizardEnter, PressesTheFocusedButton) {
    const EnterCase& c = GetParam();
    Start();
    WalkTo(c.page);
    Form().UserFocused(&C(c.focus));
    Form().PressEnter();
    EXPECT_EQ(CurrentPage(), c.page_after);
    EXPECT_EQ(C(kNextButton).Enabled(), c.next_enabled);
    EXPECT_TRUE(dialogs.Shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardEnter,
    testing::Values(
        EnterCase{"OnAccept", Page::Licence, kAcceptButton, Page::Licence, true},
        EnterCase{"OnBack", Page::Summary, kBackButton, Page::FileTypes, true},
        EnterCase{"OnSelectAll", Page::FileTypes, kAllButton, Page::FileTypes, true},
        EnterCase{"OnTheFolderField", Page::Destination, kPathField, Page::Shortcuts, true},
        EnterCase{"OnTheLicence", Page::Licence, kTextViewer, Page::Licence, false},
        EnterCase{"OnAHiddenButton", Page::Destination, kAcceptButton, Page::Shortcuts, true}),
    [](const auto& info) { return std::string(info.param.name); });

// While the run is in progress the hidden wizard ignores what reaches it: a second click on
// the summary page's Next, Back, Cancel or a close request.
TEST_F(WizardTest, InputDuringTheRunIsIgnored) {
    Start();
    int runs = 0;
    wizard->SetRunInstallation([this, &runs] {
        ++runs;
        Next();
        Back();
        C(kCancelButton).Click();
        Form().RequestClose();
        EXPECT_EQ(CurrentPage(), Page::Installation);
        wizard->ShowFinishPage();
    });
    WalkTo(Page::Installation);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_FALSE(app.Terminating());
    // Once the finish page is shown, it takes input again.
    dialogs.Answer(DialogButton::No);
    Form().RequestClose();
    EXPECT_EQ(dialogs.Shown().size(), 1U);
}

TEST_F(WizardTest, DecliningAndStayingNeedsAcceptAgain) {
    Start();
    WalkTo(Page::Licence);
    C(kAcceptButton).Click();
    dialogs.Answer(DialogButton::No);
    C(kDeclineButton).Click();
    Form().PressEnter();
    EXPECT_EQ(CurrentPage(), Page::Licence);
    C(kAcceptButton).Click();
    Form().PressEnter();
    EXPECT_EQ(CurrentPage(), Page::Destination);
}

// The installation type decides the script and the edition, and with it the names shown.
struct TypeCase {
    const char* name;
    bool client_server;
    bool server;
    const char* script;
    const char* suffix;
};

class WizardInstallationType : public WizardTest, public testing::WithParamInterface<TypeCase> {};

TEST_P(WizardInstallationType, SetsScriptAndEdition) {
    const TypeCase& c = GetParam();
    if (c.client_server)
        MakeClientServer();
    Start();
    WalkTo(c.client_server ? Page::Type : Page::Licence);
    if (c.server)
        C(kServerRadio).Click();
    WalkTo(Page::Licence);
    EXPECT_EQ(wizard->Config().script_file_name, c.script);
    EXPECT_EQ(wizard->Config().edition_suffix, c.suffix);
    WalkTo(Page::Group);
    EXPECT_EQ(C(kPathField).Text(), std::string("Zinkolar") + c.suffix + " 5.0");
}

INSTANTIATE_TEST_SUITE_P(Table, WizardInstallationType,
                         testing::Values(TypeCase{"SingleType", false, false, "setup.ini", ""},
                                         TypeCase{"Client", true, false, "client.ini", " Client"},
                                         TypeCase{"Server", true, true, "server.ini", " Server"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct LicenceCase {
    const char* name;
    std::optional<std::string> file;  // bytes of license.txt; nullopt: none
    std::string shown;
};

class WizardLicence : public WizardTest, public testing::WithParamInterface<LicenceCase> {};

TEST_P(WizardLicence, IsShownAsTextOrRichText) {
    const LicenceCase& c = GetParam();
    if (c.file)
        fake.files.AddFile(std::string(kSourceDir) + "\\license.txt", *c.file);
    Start();
    WalkTo(Page::Licence);
    EXPECT_EQ(C(kTextViewer).Content(), c.shown);
    EXPECT_EQ(C(kTextViewer).Bounds(), (ui::Rect{178, 65, 305, 150}));
    EXPECT_FALSE(C(kNextButton).Enabled()) << "accepting is asked with or without a text";
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardLicence,
    testing::Values(LicenceCase{"Missing", std::nullopt, ""},
                    LicenceCase{"Windows1251", "\xD1\xEE\xE3\xEB\xE0\xF8\xE5\xED\xE8\xE5",
                                "Соглашение"},
                    LicenceCase{"RichText", "{\\rtf1 \\'d1}", "{\\rtf1 \\'d1}"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace wizard_test
