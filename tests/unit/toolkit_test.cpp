#include <gtest/gtest.h>

#include "ui/form.h"

namespace {

using ui::Kind;

constexpr ui::ControlName kPanel{"Panel"};
constexpr ui::ControlName kA{"A"};
constexpr ui::ControlName kB{"B"};
constexpr ui::ControlName kBox{"Box"};
constexpr ui::ControlName kEdit{"Edit"};
constexpr ui::ControlName kList{"List"};
constexpr ui::ControlName kOk{"Ok"};
constexpr ui::ControlLayout kControls[] = {
    {kPanel, 1, Kind::Panel, nullptr, {0, 0, 100, 100}},
    {kA, 2, Kind::RadioButton, kPanel, {}},
    {kB, 3, Kind::RadioButton, kPanel, {}},
    {kBox, 4, Kind::CheckBox, kPanel, {}},
    {kEdit, 5, Kind::Edit, nullptr, {}},
    {kList, 6, Kind::ComboList, nullptr, {}, true, {.sorted = true}},
    {kOk, 7, Kind::Button, nullptr, {}},
};

struct Fixture : testing::Test {
    ui::Form form{{.class_name = "T"}};
    int clicks = 0;
    int changes = 0;
    void SetUp() override {
        form.AddAll(kControls);
        form[kOk].on_click = [this] { ++clicks; };
        form[kEdit].on_change = [this] { ++changes; };
        form[kList].on_change = [this] { ++changes; };
        form.SetDefaultButton(form[kOk]);
    }
};

TEST_F(Fixture, RadioButtonsOfOnePanelExcludeEachOther) {
    form[kA].Click();
    form[kB].Click();
    EXPECT_FALSE(form[kA].Checked());
    EXPECT_TRUE(form[kB].Checked());
    form[kA].UserChecked(true);
    EXPECT_FALSE(form[kB].Checked());
}

TEST_F(Fixture, HiddenOrDisabledControlsIgnoreThePerson) {
    form[kPanel].SetVisible(false);
    form[kBox].Click();
    EXPECT_FALSE(form[kBox].Checked()) << "a box in a hidden panel is not showing";
    form[kOk].SetEnabled(false);
    form.PressEnter();
    EXPECT_EQ(clicks, 0);
    form[kOk].SetEnabled(true);
    form.PressEnter();
    EXPECT_EQ(clicks, 1);
}

TEST_F(Fixture, EditReportsProgramChangesButOnlyRealOnes) {
    form[kEdit].SetText("x");
    form[kEdit].SetText("x");
    form[kEdit].Type("y");
    EXPECT_EQ(changes, 2);
}

TEST_F(Fixture, SortedListKeepsSelectionWhenItemsArrive) {
    auto& list = form[kList];
    list.AddItem("Russian");
    list.SetItemIndex(0);
    EXPECT_EQ(list.AddItem("english"), 0);
    EXPECT_EQ(list.AddItem("German"), 1);
    EXPECT_EQ(list.SelectedItem(), "Russian");
    EXPECT_EQ(changes, 0) << "only the person's choice reports a change";
    list.RemoveItem(0);
    EXPECT_EQ(list.ItemIndex(), 1);
    list.Choose(0);
    EXPECT_EQ(changes, 1);
}

}  // namespace
