#include <gtest/gtest.h>

#include "ui/form.h"

namespace {

using ui::Kind;

constexpr ui::ControlLayout kControls[] = {
    {"Panel", 1, Kind::Panel, nullptr, {0, 0, 100, 100}},
    {"A", 2, Kind::RadioButton, "Panel", {}},
    {"B", 3, Kind::RadioButton, "Panel", {}},
    {"Box", 4, Kind::CheckBox, "Panel", {}},
    {"Edit", 5, Kind::Edit, nullptr, {}},
    {"List", 6, Kind::ComboList, nullptr, {}, true, {.sorted = true}},
    {"Ok", 7, Kind::Button, nullptr, {}},
};

struct Fixture : testing::Test {
    ui::Form form{{.class_name = "T"}};
    int clicks = 0;
    int changes = 0;
    void SetUp() override {
        form.AddAll(kControls);
        form["Ok"].on_click = [this] { ++clicks; };
        form["Edit"].on_change = [this] { ++changes; };
        form["List"].on_change = [this] { ++changes; };
        form.SetDefaultButton(form["Ok"]);
    }
};

TEST_F(Fixture, RadioButtonsOfOnePanelExcludeEachOther) {
    form["A"].Click();
    form["B"].Click();
    EXPECT_FALSE(form["A"].Checked());
    EXPECT_TRUE(form["B"].Checked());
    form["A"].UserChecked(true);
    EXPECT_FALSE(form["B"].Checked());
}

TEST_F(Fixture, HiddenOrDisabledControlsIgnoreThePerson) {
    form["Panel"].SetVisible(false);
    form["Box"].Click();
    EXPECT_FALSE(form["Box"].Checked()) << "a box in a hidden panel is not showing";
    form["Ok"].SetEnabled(false);
    form.PressEnter();
    EXPECT_EQ(clicks, 0);
    form["Ok"].SetEnabled(true);
    form.PressEnter();
    EXPECT_EQ(clicks, 1);
}

TEST_F(Fixture, EditReportsProgramChangesButOnlyRealOnes) {
    form["Edit"].SetText("x");
    form["Edit"].SetText("x");
    form["Edit"].Type("y");
    EXPECT_EQ(changes, 2);
}

TEST_F(Fixture, SortedListKeepsSelectionWhenItemsArrive) {
    auto& list = form["List"];
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
