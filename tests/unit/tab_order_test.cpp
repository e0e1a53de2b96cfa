#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/form.h"
#include "wizard/wizard_controls.h"

namespace {

using ui::Kind;

// Laid out in another order than the places: Tab follows the places.
constexpr ui::ControlName kOk{"Ok"};
constexpr ui::ControlName kCancel{"Cancel"};
constexpr ui::ControlName kBox{"Box"};
constexpr ui::ControlName kNote{"Note"};
constexpr ui::ControlName kRight{"Right"};
constexpr ui::ControlName kEdit{"Edit"};
constexpr ui::ControlName kPanel{"Panel"};
constexpr ui::ControlName kA{"A"};
constexpr ui::ControlName kB{"B"};
constexpr ui::ControlName kPicture{"Picture"};
constexpr ui::ControlLayout kControls[] = {
    {kOk, 1, Kind::Button, nullptr, {200, 200, 80, 20}},
    {kCancel, 2, Kind::Button, nullptr, {100, 200, 80, 20}},
    {kBox, 3, Kind::CheckBox, nullptr, {10, 150, 100, 20}},
    {kNote, 4, Kind::Label, nullptr, {0, 0, 300, 30}},
    {kRight, 5, Kind::Button, nullptr, {200, 40, 80, 20}},
    {kEdit, 6, Kind::Edit, nullptr, {10, 40, 150, 20}, true, {}, kNote},
    {kPanel, 7, Kind::Panel, nullptr, {10, 60, 200, 60}},
    {kA, 8, Kind::RadioButton, kPanel, {0, 0, 100, 20}},
    {kB, 9, Kind::RadioButton, kPanel, {0, 20, 100, 20}},
    {kPicture, 10, Kind::Picture, nullptr, {0, 300, 10, 10}},
};

std::vector<std::string> Names(const std::vector<ui::Control*>& controls) {
    std::vector<std::string> names;
    for (const ui::Control* control : controls)
        names.push_back(control->Name());
    return names;
}

struct OrderCase {
    const char* what;
    std::function<void(ui::Form&)> change;
    std::vector<std::string> order;
};

TEST(TabOrderTest, FollowsThePlacesOfWhatCanTakeTheFocus) {
    const OrderCase cases[] = {
        {"as laid out", [](ui::Form&) {}, {"Edit", "Right", "A", "Box", "Cancel", "Ok"}},
        {"the checked radio button stands for its panel",
         [](ui::Form& f) { f[kB].Click(); },
         {"Edit", "Right", "B", "Box", "Cancel", "Ok"}},
        {"a hidden panel takes its buttons along",
         [](ui::Form& f) { f[kPanel].SetVisible(false); },
         {"Edit", "Right", "Box", "Cancel", "Ok"}},
        {"disabled and hidden controls are passed over",
         [](ui::Form& f) {
             f[kBox].SetEnabled(false);
             f[kRight].SetVisible(false);
         },
         {"Edit", "A", "Cancel", "Ok"}},
        {"a moved panel takes its place with its buttons",
         [](ui::Form& f) { f[kPanel].SetTop(170); },
         {"Edit", "Right", "Box", "A", "Cancel", "Ok"}},
    };
    for (const auto& c : cases) {
        ui::Form form{{.class_name = "T"}};
        form.AddAll(kControls);
        c.change(form);
        EXPECT_EQ(Names(form.TabOrder()), c.order) << c.what;
    }
}

TEST(TabOrderTest, TabAndShiftTabGoRound) {
    ui::Form form{{.class_name = "T"}};
    form.AddAll(kControls);
    std::vector<std::string> forwards;
    for (int i = 0; i < 7; ++i) {
        form.PressTab();
        forwards.push_back(form.Focused()->Name());
    }
    EXPECT_EQ(forwards,
              (std::vector<std::string>{"Edit", "Right", "A", "Box", "Cancel", "Ok", "Edit"}));
    form.PressTab(true);
    EXPECT_EQ(form.Focused()->Name(), "Ok");
    // From a control Tab does not stop at, on from its place.
    form.SetFocus(form[kB]);
    form.PressTab();
    EXPECT_EQ(form.Focused()->Name(), "Box");
    form.SetFocus(form[kB]);
    form.PressTab(true);
    EXPECT_EQ(form.Focused()->Name(), "A");
}

// The arrow keys move within a group: the radio buttons of a panel, and check boxes that follow
// each other in a panel, as the platform's dialogs group them.
TEST(TabOrderTest, ArrowKeyGroups) {
    constexpr ui::ControlName kBoxes{"Boxes"}, kFirst{"First"}, kIcon{"Icon"}, kSecond{"Second"},
        kAll{"All"}, kAfterButton{"AfterButton"}, kOutside{"Outside"}, kYes{"Yes"}, kNo{"No"},
        kField{"Field"}, kFieldNote{"Note"};
    constexpr ui::ControlLayout kGrouped[] = {
        {kBoxes, 1, Kind::Panel, nullptr, {0, 0, 200, 200}},
        {kFirst, 2, Kind::CheckBox, kBoxes, {0, 0, 100, 20}},
        {kIcon, 3, Kind::Picture, kBoxes, {100, 0, 20, 20}},
        {kSecond, 4, Kind::CheckBox, kBoxes, {0, 20, 100, 20}},
        {kAll, 5, Kind::Button, kBoxes, {0, 40, 80, 20}},
        {kAfterButton, 6, Kind::CheckBox, kBoxes, {0, 60, 100, 20}},
        {kOutside, 7, Kind::CheckBox, nullptr, {0, 220, 100, 20}},
        {kYes, 8, Kind::RadioButton, kBoxes, {0, 80, 100, 20}},
        {kNo, 9, Kind::RadioButton, kBoxes, {0, 100, 100, 20}},
        {kField, 10, Kind::Edit, kBoxes, {0, 120, 100, 20}},
        {kFieldNote, 11, Kind::Label, kBoxes, {0, 140, 100, 20}},
    };
    const std::vector<std::string> starts = {"First",   "All", "AfterButton",
                                             "Outside", "Yes", "Field"};
    ui::Form form{{.class_name = "T"}};
    form.AddAll(kGrouped);
    std::vector<std::string> seen;
    for (const auto& control : form.Controls()) {
        if (form.StartsGroup(*control))
            seen.push_back(control->Name());
    }
    EXPECT_EQ(seen, starts);
    // The wizard's boxes: one group per panel, whatever lies between them.
    ui::Form wizard{{.class_name = "T"}};
    wizard.AddAll(wizard::kWizardControls);
    for (const ui::ControlName joins :
         {wizard::kServerRadio, wizard::kDesktopBox, wizard::kQuickLaunchBox, wizard::kCoverPageBox,
          wizard::kScriptBox, wizard::kOpenGroupBox}) {
        EXPECT_FALSE(wizard.StartsGroup(wizard[joins])) << joins.Text();
    }
    for (const ui::ControlName starts_group :
         {wizard::kClientRadio, wizard::kStartMenuBox, wizard::kFaxBox, wizard::kRunProgramBox})
        EXPECT_TRUE(wizard.StartsGroup(wizard[starts_group])) << starts_group.Text();
}

// Screen readers read a field's label as its name: every field of the wizard names one, a
// label of its own panel laid out above it or on its left.
TEST(TabOrderTest, EveryWizardFieldHasALabelBeforeIt) {
    ui::Form form{{.class_name = "T"}};
    form.AddAll(wizard::kWizardControls);
    for (const auto& field : form.Controls()) {
        const Kind kind = field->GetKind();
        if (kind != Kind::Edit && kind != Kind::RichText && kind != Kind::ListBox &&
            kind != Kind::ComboList) {
            continue;
        }
        const ui::Control* label = field->LabelledBy();
        ASSERT_NE(label, nullptr) << field->Name();
        EXPECT_EQ(label->GetKind(), Kind::Label) << field->Name();
        EXPECT_EQ(label->Parent(), field->Parent()) << field->Name();
        const ui::Rect l = label->Bounds();
        const ui::Rect f = field->Bounds();
        EXPECT_TRUE(l.top < f.top || (l.top <= f.top + f.height && l.left < f.left))
            << field->Name() << " lies before its label " << label->Name();
    }
}

}  // namespace
