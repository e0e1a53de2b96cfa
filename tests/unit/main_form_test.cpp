#include <gtest/gtest.h>

#include "app/main_form.h"
#include "install/branding.h"
#include "platform/fake/fake_libraries.h"

namespace {

using app::ParseBackgroundColor;

struct ColorCase {
    std::optional<std::string> text;
    std::uint32_t expected;
};

class BackgroundColor : public testing::TestWithParam<ColorCase> {};

TEST_P(BackgroundColor, ParsesDecimalAndDollarHex) {
    EXPECT_EQ(ParseBackgroundColor(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, BackgroundColor,
                         testing::Values(ColorCase{std::nullopt, 0x663300},
                                         ColorCase{"6697728", 0x663300},
                                         ColorCase{"$800000", 0x800000}, ColorCase{"$ff", 0xFF},
                                         ColorCase{" 255 ", 0xFF}, ColorCase{"", 0x663300},
                                         ColorCase{"blue", 0x663300}, ColorCase{"$", 0x663300},
                                         ColorCase{"12ab", 0x663300}, ColorCase{"0x10", 0x663300},
                                         ColorCase{"-1", 0x663300},
                                         ColorCase{"99999999999", 0x663300}));

TEST(ClientServer, MatchesAnyLetterCaseOnly) {
    EXPECT_TRUE(install::IsClientServer("ClientServer"));
    EXPECT_TRUE(install::IsClientServer("CLIENTSERVER"));
    EXPECT_FALSE(install::IsClientServer("client"));
    EXPECT_FALSE(install::IsClientServer(std::nullopt));
}

TEST(BottomPicture, SitsEightPixelsAboveTheBottomAtEitherEdge) {
    EXPECT_EQ(app::BottomPicturePlace({1024, 768}, 151, 247, false),
              (ui::Rect{873, 513, 151, 247}));
    EXPECT_EQ(app::BottomPicturePlace({1024, 768}, 151, 247, true), (ui::Rect{0, 513, 151, 247}));
}

platform::Bitmap Picture(const std::vector<std::string>& rows) {
    platform::Bitmap b{static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), {}};
    for (const auto& row : rows) {
        for (char c : row)
            b.pixels.push_back(c == '.' ? 0xFFFFFF : 0x000000);
    }
    return b;
}

TEST(FloodFill, ReplacesOnlyTheAreaConnectedToTheCorner) {
    platform::Bitmap b = Picture({
        "..#..",
        "..#.#",
        "###..",
        "#.#..",
    });
    app::FloodFillCorner(b, 0x123456);
    EXPECT_EQ(b.At(0, 0), 0x123456u);
    EXPECT_EQ(b.At(1, 1), 0x123456u);
    EXPECT_EQ(b.At(3, 0), 0xFFFFFFu) << "same colour behind a wall stays";
    EXPECT_EQ(b.At(1, 3), 0xFFFFFFu) << "an enclosed hole stays";
    EXPECT_EQ(b.At(2, 0), 0x000000u);
    EXPECT_EQ(b.At(1, 2), 0x000000u) << "diagonal neighbours are not connected";
}

TEST(MainForm, WithoutResourceLibraryKeepsDefaultColourAndNoPictures) {
    platform::FakeLibraries libraries;
    app::MainForm main(libraries, {1024, 768});
    EXPECT_EQ(main.GetForm().Color(), 0x663300u);
    EXPECT_FALSE(main.GetForm()[app::MainForm::kLogo].Picture());
    EXPECT_FALSE(main.GetForm()[app::MainForm::kBottomPicture].Picture());
}

TEST(MainForm, TakesColourAndPicturesFromTheLibraryAndReleasesIt) {
    platform::FakeLibraries libraries;
    auto& res = libraries.Add("RES.DLL");
    res.strings = {{110, "$800000"}, {103, "clientserver"}};
    res.pictures["LEFTUP"] = Picture({"..", ".#"});
    res.pictures["DOWNRIGHT"] = Picture(std::vector<std::string>(247, std::string(151, '.')));
    app::MainForm main(libraries, {1024, 768});
    auto& form = main.GetForm();
    EXPECT_EQ(form.Color(), 0x800000u);
    EXPECT_EQ(form[app::MainForm::kLogo].Bounds(), (ui::Rect{0, 12, 2, 2}));
    EXPECT_EQ(form[app::MainForm::kLogo].Picture()->At(0, 0), 0x800000u)
        << "colour-keyed to the window";
    EXPECT_EQ(form[app::MainForm::kBottomPicture].Bounds(), (ui::Rect{0, 513, 151, 247}))
        << "client/server: left";
    EXPECT_EQ(libraries.LoadedCount(), 0);
}

TEST(MainForm, MissingBitmapLeavesThatPictureEmpty) {
    platform::FakeLibraries libraries;
    libraries.Add("res.dll").strings = {{110, "not a number"}};
    app::MainForm main(libraries, {1024, 768});
    EXPECT_EQ(main.GetForm().Color(), 0x663300u);
    EXPECT_FALSE(main.GetForm()[app::MainForm::kBottomPicture].Picture());
}

}  // namespace
