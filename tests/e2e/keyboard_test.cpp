// The wizard without a mouse: every page is gone through with Tab, Space, Enter, Escape and the
// arrow keys alone, typed as on the keyboard, and Tab visits the page's controls in the order
// of their places.
#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "driver/keyboard.h"
#include "driver/strings.h"
#include "ui/exit_codes.h"
#include "ui/form.h"
#include "wizard_pages.h"

namespace {

using namespace e2e;

constexpr int kMaxStops = 20;

int FocusedId(const WizardWalk& walk) {
    const HWND focus = FocusOf(walk.Wizard());
    return focus != nullptr ? GetDlgCtrlID(focus) : 0;
}

void TabTo(const WizardWalk& walk, int id) {
    TabTo(walk.Wizard(), walk.Control(id));
}

// The controls Tab visits from the focused one round to it again.
std::vector<int> TabRound(const WizardWalk& walk) {
    const int start = FocusedId(walk);
    std::vector<int> stops;
    for (int i = 0; i < kMaxStops; ++i) {
        stops.push_back(GetDlgCtrlID(Tab(walk.Wizard())));
        if (stops.back() == start)
            break;
    }
    return stops;
}

// The shown ones of these controls, as identifiers.
std::vector<int> Shown(const WizardWalk& walk, std::initializer_list<int> ids) {
    std::vector<int> shown;
    for (const int id : ids) {
        if (walk.Control(id).Visible() && walk.Control(id).Enabled())
            shown.push_back(id);
    }
    return shown;
}

void EnterFor(const WizardWalk& walk, std::string_view title, Timeout timeout = kPageTimeout) {
    PressKey(VK_RETURN);
    walk.WaitPage(title, timeout);
}

void SpaceToggles(const WizardWalk& walk, int box) {
    TabTo(walk, box);
    const bool was = walk.Control(box).Checked();
    PressKey(VK_SPACE);
    WaitUntil([&] { return walk.Control(box).Checked() != was; }, kPageTimeout,
              "Space to toggle a box");
}

const std::vector<int> kBar = {WizardId(kCancelButton), WizardId(kBackButton),
                               WizardId(kNextButton)};

std::vector<int> Then(std::vector<int> stops, const std::vector<int>& more) {
    stops.insert(stops.end(), more.begin(), more.end());
    return stops;
}

TEST(KeyboardTest, TheWholeWizardByKeyboardAlone) {
    const Distribution distribution(kDistributions + "single");
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    walk.WaitPage(kRussian.welcome);
    // The focus is shown from the start, not only once the keyboard has been used.
    EXPECT_EQ(SendMessageW(walk.Wizard().Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, 0);
    TabTo(walk, WizardId(kNextButton));
    EXPECT_EQ(TabRound(walk), (std::vector<int>{WizardId(kLanguageList), WizardId(kCancelButton),
                                                WizardId(kNextButton)}));
    EnterFor(walk, kRussian.licence);

    // The licence: read, accepted with Space, on with Enter once Next takes it.
    EXPECT_EQ(FocusedId(walk), WizardId(kTextViewer));
    EXPECT_EQ(TabRound(walk), (std::vector<int>{WizardId(kDeclineButton), WizardId(kAcceptButton),
                                                WizardId(kCancelButton), WizardId(kBackButton),
                                                WizardId(kTextViewer)}));
    PressKey(VK_TAB, VK_SHIFT);
    WaitUntil([&] { return FocusedId(walk) == WizardId(kBackButton); }, kPageTimeout,
              "Shift+Tab to go back round to Back");
    TabTo(walk, WizardId(kAcceptButton));
    PressKey(VK_SPACE);
    WaitUntil([&] { return walk.Control(WizardId(kNextButton)).Enabled(); }, kPageTimeout,
              "Space on the accepting button to enable Next");
    TabTo(walk, WizardId(kNextButton));
    walk.Shoot("licence-accepted-by-keyboard");
    EnterFor(walk, kRussian.destination);

    // Escape is Cancel with its question; No (Tab, Space) stays on the page.
    EXPECT_EQ(TabRound(walk),
              Then({WizardId(kPathField), WizardId(kFolderList), WizardId(kDriveList)}, kBar));
    PressKey(VK_ESCAPE);
    const MessageDialog question = walk.Setup().WaitDialog(kPageTimeout);
    EXPECT_EQ(question.Text(), kRussian.really_abort);
    PressKey(VK_TAB);
    WaitUntil([&] { return FocusedId(walk) == IDNO; }, kPageTimeout, "Tab to reach No");
    PressKey(VK_SPACE);
    WaitUntil([&] { return !question.Window().Exists(); }, kPageTimeout, "the question to go");
    EXPECT_TRUE(walk.Setup().Running());
    EXPECT_EQ(walk.Title(), kRussian.destination);
    WaitUntil([&] { return FocusedId(walk) == WizardId(kNextButton); }, kPageTimeout,
              "the focus to come back to Next after the question");
    // Tab into the folder's field selects its text, so that typing replaces it.
    TabTo(walk, WizardId(kPathField));
    const auto selection = static_cast<DWORD>(
        SendMessageW(walk.Control(WizardId(kPathField)).Handle(), EM_GETSEL, 0, 0));
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), Wide(walk.Text(WizardId(kPathField))).size());
    EnterFor(walk, kRussian.shortcuts);

    const std::vector<int> links =
        Shown(walk, {WizardId(kStartMenuBox), WizardId(kDesktopBox), WizardId(kQuickLaunchBox)});
    EXPECT_EQ(TabRound(walk),
              Then(Then(links, {WizardId(kAllButton), WizardId(kNoneButton)}), kBar));
    // The arrow keys move among the boxes, as among radio buttons, and tick none.
    if (links.size() > 1) {
        TabTo(walk, links[0]);
        const bool ticked = walk.Control(links[1]).Checked();
        PressKey(VK_DOWN);
        WaitUntil([&] { return FocusedId(walk) == links[1]; }, kPageTimeout,
                  "Down to move to the next box");
        PressKey(VK_UP);
        WaitUntil([&] { return FocusedId(walk) == links[0]; }, kPageTimeout,
                  "Up to move back to the first box");
        EXPECT_EQ(walk.Control(links[1]).Checked(), ticked);
    }
    SpaceToggles(walk, WizardId(kDesktopBox));
    EnterFor(walk, kRussian.group);

    // The group: an arrow key in the list picks a group for the field.
    EXPECT_EQ(TabRound(walk), Then({WizardId(kPathField), WizardId(kGroupList)}, kBar));
    if (!walk.Control(WizardId(kGroupList)).Items().empty()) {
        TabTo(walk, WizardId(kGroupList));
        const std::string proposed = walk.Text(WizardId(kPathField));
        PressKey(VK_DOWN);
        WaitUntil([&] { return walk.Text(WizardId(kPathField)) != proposed; }, kPageTimeout,
                  "the arrow key to pick a group");
    }
    EnterFor(walk, kRussian.file_types);

    std::vector<int> boxes;
    for (const auto& row : kFileTypeRows)
        boxes.push_back(row.box);
    std::vector<int> shown_boxes;
    for (const int box : boxes) {
        if (walk.Control(box).Visible())
            shown_boxes.push_back(box);
    }
    EXPECT_EQ(TabRound(walk),
              Then(Then(shown_boxes, {WizardId(kAllButton), WizardId(kNoneButton)}), kBar));
    SpaceToggles(walk, shown_boxes.front());
    EnterFor(walk, kRussian.summary);

    EXPECT_EQ(TabRound(walk), Then({WizardId(kTextViewer)}, kBar));
    EnterFor(walk, kRussian.finish, kRunTimeout);

    for (const int box : {WizardId(kRunProgramBox), WizardId(kOpenGroupBox)}) {
        if (walk.Control(box).Visible() && walk.Control(box).Checked())
            SpaceToggles(walk, box);
    }
    TabTo(walk, WizardId(kNextButton));
    walk.Shoot("finish-by-keyboard");
    PressKey(VK_RETURN);
    EXPECT_EQ(walk.Setup().WaitExit(), 0u);
}

TEST(KeyboardTest, ArrowKeysChooseTheInstallationType) {
    const Distribution distribution(kDistributions + "clientserver");
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    walk.WaitPage(kRussian.welcome);
    EnterFor(walk, kRussian.install_type);
    const int checked = walk.Control(WizardId(kClientRadio)).Checked() ? WizardId(kClientRadio)
                                                                       : WizardId(kServerRadio);
    const int other =
        checked == WizardId(kClientRadio) ? WizardId(kServerRadio) : WizardId(kClientRadio);
    TabTo(walk, WizardId(kNextButton));
    EXPECT_EQ(TabRound(walk), Then({checked}, kBar)) << "one stop for the radio buttons";
    TabTo(walk, checked);
    PressKey(checked == WizardId(kClientRadio) ? VK_DOWN : VK_UP);
    WaitUntil([&] { return walk.Control(other).Checked() && FocusedId(walk) == other; },
              kPageTimeout, "the arrow key to choose the other type");
    EXPECT_FALSE(walk.Control(checked).Checked());
    PressKey(VK_ESCAPE);
    const MessageDialog question = walk.Setup().WaitDialog(kPageTimeout);
    EXPECT_EQ(question.Text(), kRussian.really_abort);
    PressKey(VK_RETURN);  // Yes, the dialog's first button
    EXPECT_EQ(walk.Setup().WaitExit(), static_cast<DWORD>(ui::kExitCancelled));
}

// The wizard's captions carry no access keys; the questions' buttons do ("&Yes", "&No"), and Alt
// with the letter answers. In English, whose letters a keyboard of the test types.
TEST(KeyboardTest, AltAndTheUnderlinedLetterAnswerAQuestion) {
    const Distribution distribution(kDistributions + "single");
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    walk.WaitPage(kRussian.welcome);
    walk.Control(WizardId(kLanguageList)).Choose(0);
    WaitUntil([&] { return walk.Text(WizardId(kNextButton)) == kEnglish.next; }, kPageTimeout,
              "the wizard to take English");
    const auto ask = [&] {
        PressKey(VK_ESCAPE);
        const MessageDialog question = walk.Setup().WaitDialog(kPageTimeout);
        WaitUntil(
            [&] {
                return question.Buttons() == std::vector<std::string>{kEnglish.yes, kEnglish.no};
            },
            kPageTimeout, "the question's buttons in English");
        return question;
    };
    const MessageDialog question = ask();
    PressKey('N', VK_MENU);
    WaitUntil([&] { return !question.Window().Exists(); }, kPageTimeout, "Alt+N to answer No");
    EXPECT_TRUE(walk.Setup().Running());
    EXPECT_EQ(walk.Title(), kEnglish.welcome);
    ask();
    PressKey('Y', VK_MENU);
    EXPECT_EQ(walk.Setup().WaitExit(), static_cast<DWORD>(ui::kExitCancelled));
}

}  // namespace
