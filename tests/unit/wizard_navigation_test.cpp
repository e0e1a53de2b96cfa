// The page machine: Next and Back with their skip rules, what each page shows, cancelling, and
// the licence page.
#include <algorithm>

#include "ui/exit_codes.h"
#include "wizard_fixture.h"

namespace wizard_test {
namespace {

// Steps: N Next, B Back, Y accept the licence, S click the Start-menu box, E Enter, X Escape.
struct NavCase {
    const char* name;
    bool client_server;
    const char* steps;
    std::vector<int> pages;  // after each step
};

class WizardNavigation : public WizardTest, public testing::WithParamInterface<NavCase> {};

TEST_P(WizardNavigation, FollowsTheSkipRules) {
    const NavCase& c = GetParam();
    if (c.client_server)
        MakeClientServer();
    Start();
    std::vector<int> pages;
    for (const char* step = c.steps; *step != '\0'; ++step) {
        switch (*step) {
            case 'N':
                Next();
                break;
            case 'B':
                Back();
                break;
            case 'Y':
                C("YesBtn").Click();
                break;
            case 'S':
                C("AddLinkToStartCBx").Click();
                break;
            case 'E':
                Form().PressEnter();
                break;
            default:
                FAIL() << "unknown step " << *step;
        }
        pages.push_back(Page());
        EXPECT_EQ(Title(), kTitles[std::min(Page(), 8)]) << "after step " << pages.size();
    }
    EXPECT_EQ(pages, c.pages);
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_FALSE(app.Terminating());
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardNavigation,
    testing::Values(
        NavCase{"SingleTypeSkipsTypePage", false, "NB", {2, 0}},
        NavCase{"ClientServerShowsTypePage", true, "NNBB", {1, 2, 1, 0}},
        NavCase{"ForwardToFinish", false, "NYNNNNNN", {2, 2, 3, 4, 5, 6, 7, 8}},
        NavCase{"BackFromSummary", false, "NYNNNNNBBBBBB", {2, 2, 3, 4, 5, 6, 7, 6, 5, 4, 3, 2, 0}},
        NavCase{"StartClearedSkipsGroupBothWays", false, "NYNNSNBN", {2, 2, 3, 4, 4, 6, 4, 6}},
        NavCase{"StartClearedFromSummary", false, "NYNNSNNBB", {2, 2, 3, 4, 4, 6, 7, 6, 4}},
        NavCase{"StartCheckedAgain", false, "NYNNSNBSN", {2, 2, 3, 4, 4, 6, 4, 4, 5}},
        NavCase{"EnterNeedsAcceptOnLicence", false, "NEEYE", {2, 2, 2, 2, 3}},
        NavCase{"LicenceAcceptedAgainAfterBack", false, "NYNBE", {2, 2, 3, 2, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

// What a page shows, whichever way it was reached.
struct Look {
    int page;
    std::vector<const char*> showing;
    std::vector<const char*> hidden;
};

const Look kLooks[] = {
    {0,
     {"Label1", "Label2", "Label3", "Label6", "SelectLangCmb", "Bevel", "Image1", "NextBtn",
      "CancelBtn", "BackBtn"},
     {"Panel5", "LicenceRe", "YesBtn", "NoBtn", "PathEdit", "DirectoryLbx", "DriveCmb", "Label5",
      "GroupLbx", "Panel2", "Panel3", "Panel4", "AllBtn", "NoneBtn", "Label4"}},
    {1,
     {"Panel5", "ClientRb", "ServerRb", "Label2", "Label6"},
     {"Label3", "SelectLangCmb", "Bevel", "LicenceRe", "YesBtn", "NoBtn"}},
    {2,
     {"LicenceRe", "YesBtn", "NoBtn", "Label2"},
     {"Label3", "Panel5", "SelectLangCmb", "Bevel", "PathEdit", "DriveCmb", "DirectoryLbx",
      "Label5"}},
    {3,
     {"PathEdit", "DirectoryLbx", "DriveCmb", "Label5", "Image1", "NextBtn", "CancelBtn"},
     {"LicenceRe", "YesBtn", "NoBtn", "Label2", "Panel3", "GroupLbx", "AllBtn", "NoneBtn"}},
    {4,
     {"AddLinkToStartCBx", "AddLinkToDeskTopCBx", "AddLinkToQuickLaunchCBx", "AllBtn", "NoneBtn"},
     {"PathEdit", "DirectoryLbx", "DriveCmb", "Label5", "GroupLbx", "Panel2", "Label2", "Label3",
      "Label4"}},
    {5,
     {"PathEdit", "GroupLbx"},
     {"Panel2", "Panel3", "LicenceRe", "DirectoryLbx", "DriveCmb", "AllBtn", "NoneBtn", "Label2"}},
    {6,
     {"ZKXCBx", "ZKCCBx", "ZKLCBx", "BZKCBx", "ZKSCBx", "MIXCBx", "ZKACBx", "Label7", "Label8",
      "AllBtn", "NoneBtn"},
     {"Panel3", "PathEdit", "GroupLbx", "LicenceRe", "Label2", "Label4"}},
    {7,
     {"LicenceRe", "Label4"},
     {"AllBtn", "NoneBtn", "Panel2", "Panel3", "PathEdit", "GroupLbx", "Label2", "Label3"}},
};

TEST_F(WizardTest, EachPageLooksTheSameForwardAndBack) {
    MakeClientServer();
    fake.files.AddFile(std::string(kSourceDir) + "\\license.txt", "text");
    Start();
    const auto check = [&](const char* way) {
        const Look& look = kLooks[Page()];
        for (const char* name : look.showing) {
            EXPECT_TRUE(C(name).Showing()) << way << name;
        }
        for (const char* name : look.hidden) {
            EXPECT_FALSE(C(name).Showing()) << way << name;
        }
        EXPECT_EQ(C("BackBtn").Enabled(), Page() != 0) << way << Page();
        EXPECT_EQ(C("NextBtn").Enabled(), Page() != 2) << way << Page();
        EXPECT_EQ(C("NextBtn").Text(), Page() == 7 ? "Установить" : " Далее >>") << way << Page();
        if (Page() == 0 || Page() == 2) {
            EXPECT_EQ(C("Label2").Bounds().top, Page() == 0 ? 234 : 228) << way;
        }
        if (Page() == 2 || Page() == 7) {
            EXPECT_EQ(C("LicenceRe").Bounds(),
                      Page() == 2 ? (ui::Rect{178, 65, 305, 150}) : (ui::Rect{178, 102, 305, 190}))
                << way;
        }
    };
    for (int page = 0; page < 7; ++page) {
        check("forward ");
        if (Page() == 1)
            C("ServerRb").Click();  // keeps every file-type row
        if (Page() == 2)
            C("YesBtn").Click();
        Next();
        ASSERT_EQ(Page(), page + 1);
    }
    for (int page = 7; page > 0; --page) {
        check("back ");
        Back();
        ASSERT_EQ(Page(), page - 1);
        if (Page() == 2) {
            EXPECT_FALSE(C("NextBtn").Enabled()) << "the licence is asked again";
        }
    }
    check("back ");
}

// Ways to ask for the end of the setup, and the answer to the confirmation.
enum class Way { CancelButton, CloseBox, Escape, NotAccept, EnterOnCancel };

struct CancelCase {
    const char* name;
    int page;
    Way way;
    DialogButton answer;
};

class WizardCancelling : public WizardTest, public testing::WithParamInterface<CancelCase> {};

TEST_P(WizardCancelling, AsksOnceAndEndsOnlyOnYes) {
    const CancelCase& c = GetParam();
    Start();
    WalkTo(c.page);
    const std::string title = Title();
    const std::string folder = C("PathEdit").Text();
    dialogs.Answer(c.answer);
    switch (c.way) {
        case Way::CancelButton:
            C("CancelBtn").Click();
            break;
        case Way::CloseBox:
            Form().RequestClose();
            break;
        case Way::Escape:
            Form().PressEscape();
            break;
        case Way::NotAccept:
            C("NoBtn").Click();
            break;
        case Way::EnterOnCancel:
            Form().UserFocused(&C("CancelBtn"));
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
    EXPECT_EQ(Page(), c.page);
    EXPECT_EQ(Title(), title);
    EXPECT_EQ(C("PathEdit").Text(), folder);
    if (c.way == Way::NotAccept) {
        EXPECT_FALSE(C("NextBtn").Enabled());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardCancelling,
    testing::Values(CancelCase{"CancelNo", 0, Way::CancelButton, DialogButton::No},
                    CancelCase{"CancelYes", 4, Way::CancelButton, DialogButton::Yes},
                    CancelCase{"CloseBoxNo", 3, Way::CloseBox, DialogButton::No},
                    CancelCase{"CloseBoxYes", 7, Way::CloseBox, DialogButton::Yes},
                    CancelCase{"EscapeNo", 0, Way::Escape, DialogButton::No},
                    CancelCase{"EscapeYes", 6, Way::Escape, DialogButton::Yes},
                    CancelCase{"NotAcceptNo", 2, Way::NotAccept, DialogButton::No},
                    CancelCase{"NotAcceptYes", 2, Way::NotAccept, DialogButton::Yes},
                    CancelCase{"EnterOnCancelNo", 7, Way::EnterOnCancel, DialogButton::No},
                    CancelCase{"EnterOnCancelYes", 3, Way::EnterOnCancel, DialogButton::Yes}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WizardTest, NoteAtTheBottomIsInSmallerTypeThanTheOtherLabels) {
    Start();
    const auto height = [](const ui::Control& c) {
        return c.GetStyle().font_height != 0 ? c.GetStyle().font_height : ui::kFormFontHeight;
    };
    const int note = height(C("Label2"));
    EXPECT_LT(note, ui::kFormFontHeight);
    for (const auto& control : Form().Controls()) {
        if (control->GetKind() == ui::Kind::Label && control->Name() != "Label2")
            EXPECT_GT(height(*control), note) << control->Name();
    }
}

// Enter presses the push button that has the focus; Next only when no push button has it.
struct EnterCase {
    const char* name;
    int page;
    const char* focus;
    int page_after;
    bool next_enabled;
};

class WizardEnter : public WizardTest, public testing::WithParamInterface<EnterCase> {};

TEST_P(WizardEnter, PressesTheFocusedButton) {
    const EnterCase& c = GetParam();
    Start();
    WalkTo(c.page);
    Form().UserFocused(&C(c.focus));
    Form().PressEnter();
    EXPECT_EQ(Page(), c.page_after);
    EXPECT_EQ(C("NextBtn").Enabled(), c.next_enabled);
    EXPECT_TRUE(dialogs.Shown().empty());
}

INSTANTIATE_TEST_SUITE_P(Table, WizardEnter,
                         testing::Values(EnterCase{"OnAccept", 2, "YesBtn", 2, true},
                                         EnterCase{"OnBack", 7, "BackBtn", 6, true},
                                         EnterCase{"OnSelectAll", 6, "AllBtn", 6, true},
                                         EnterCase{"OnTheFolderField", 3, "PathEdit", 4, true},
                                         EnterCase{"OnTheLicence", 2, "LicenceRe", 2, false},
                                         EnterCase{"OnAHiddenButton", 3, "YesBtn", 4, true}),
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
        C("CancelBtn").Click();
        Form().RequestClose();
        EXPECT_EQ(Page(), 8);
        wizard->ShowFinishPage();
    });
    WalkTo(8);
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
    WalkTo(2);
    C("YesBtn").Click();
    dialogs.Answer(DialogButton::No);
    C("NoBtn").Click();
    Form().PressEnter();
    EXPECT_EQ(Page(), 2);
    C("YesBtn").Click();
    Form().PressEnter();
    EXPECT_EQ(Page(), 3);
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
    WalkTo(c.client_server ? 1 : 2);
    if (c.server)
        C("ServerRb").Click();
    WalkTo(2);
    EXPECT_EQ(wizard->Config().script_file_name, c.script);
    EXPECT_EQ(wizard->Config().edition_suffix, c.suffix);
    WalkTo(5);
    EXPECT_EQ(C("PathEdit").Text(), std::string("Zinkolar") + c.suffix + " 5.0");
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
    WalkTo(2);
    EXPECT_EQ(C("LicenceRe").Content(), c.shown);
    EXPECT_EQ(C("LicenceRe").Bounds(), (ui::Rect{178, 65, 305, 150}));
    EXPECT_FALSE(C("NextBtn").Enabled()) << "accepting is asked with or without a text";
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
