#include <gtest/gtest.h>

#include "ui/form.h"
#include "ui/scale.h"
#include "wizard/wizard_controls.h"

namespace {

struct ScaleCase {
    int length;
    int dpi;
    int pixels;
};

TEST(UiScale, LengthsGrowWithTheDisplayDensity) {
    const ScaleCase cases[] = {
        {11, 96, 11},    {11, 120, 14},   {11, 144, 17},   {11, 192, 22},  // the form's font
        {15, 144, 23},   {494, 120, 618}, {348, 120, 435}, {494, 144, 741}, {348, 144, 522},
        {494, 192, 988}, {348, 192, 696}, {-3, 144, -5},   {0, 144, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ui::Scale(c.length, c.dpi), c.pixels) << c.length << " at " << c.dpi;
}

TEST(UiScale, FontsGrowWithTheDensityButNeverPastIt) {
    const ScaleCase cases[] = {
        {11, 96, 11},  {11, 120, 13}, {11, 144, 16}, {11, 192, 22},
        {15, 120, 18}, {15, 144, 22}, {9, 120, 11},  {9, 144, 13},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ui::ScaleFont(c.length, c.dpi), c.pixels) << c.length << " at " << c.dpi;
}

// What lies inside a panel of the wizard at 96 dpi stays inside it at every density, also where
// rounding the panel's own edges makes it narrower than its content's scaled width.
TEST(UiScale, ControlsInsidePanelsStayInside) {
    ui::Form form{{.class_name = "T"}};
    form.AddAll(wizard::kWizardControls);
    for (const int dpi : {96, 120, 144, 168, 192, 240}) {
        for (const auto& control : form.Controls()) {
            const ui::Control* panel = control->Parent();
            if (panel == nullptr)
                continue;
            const ui::Rect inner = ui::ScaledBounds(*control, dpi);
            const ui::Rect outer = ui::ScaledBounds(*panel, dpi);
            EXPECT_TRUE(inner.left >= 0 && inner.top >= 0 &&
                        inner.left + inner.width <= outer.width &&
                        inner.top + inner.height <= outer.height)
                << control->Name() << " at " << dpi;
        }
    }
}

TEST(UiScale, PixelsBackToTheLayoutStayInside) {
    for (const int dpi : {96, 120, 144, 168, 192}) {
        for (const int screen : {640, 768, 1024, 1080, 1366}) {
            const int layout = ui::Unscale(screen, dpi);
            EXPECT_LE(ui::Scale(layout, dpi), screen) << screen << " at " << dpi;
            EXPECT_GE(ui::Scale(layout + 1, dpi), screen) << screen << " at " << dpi;
        }
    }
}

struct RectCase {
    ui::Rect layout;
    int dpi;
    ui::Rect pixels;
};

TEST(UiScale, RectanglesScaleByTheirEdges) {
    const RectCase cases[] = {
        {{0, 0, 10, 10}, 120, {0, 0, 13, 13}},
        {{10, 0, 10, 10}, 120, {13, 0, 12, 13}},  // touches the one before
        {{8, 12, 0, 0}, 144, {12, 18, 0, 0}},
        {{164, 0, 330, 314}, 144, {246, 0, 495, 471}},
        {{413, 324, 75, 23}, 192, {826, 648, 150, 46}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ui::Scale(c.layout, c.dpi), c.pixels) << c.dpi;
}

TEST(UiScale, NeighboursAtEveryDensityNeitherOverlapNorPartUnlessTheyDid) {
    for (const int dpi : {96, 120, 144, 168, 192, 240}) {
        for (int left = 0; left < 40; ++left) {
            const ui::Rect a = ui::Scale(ui::Rect{left, 0, 7, 5}, dpi);
            const ui::Rect b = ui::Scale(ui::Rect{left + 7, 0, 9, 5}, dpi);
            EXPECT_EQ(a.left + a.width, b.left) << left << " at " << dpi;
        }
    }
}

platform::Bitmap Picture(int width, int height, std::vector<std::uint32_t> pixels) {
    return {width, height, std::move(pixels)};
}

TEST(UiScale, ResamplingKeepsFlatAreasExactAndBlendsEdges) {
    const platform::Bitmap flat = Picture(2, 2, {0x123456, 0x123456, 0x123456, 0x123456});
    const platform::Bitmap scaled = ui::Resample(flat, 5, 3);
    EXPECT_EQ(scaled.width, 5);
    EXPECT_EQ(scaled.height, 3);
    for (const auto pixel : scaled.pixels)
        EXPECT_EQ(pixel, 0x123456u);  // a flood-filled background stays the background colour

    const platform::Bitmap edge = Picture(2, 1, {0x000000, 0xFFFFFF});
    const platform::Bitmap wide = ui::Resample(edge, 4, 1);
    EXPECT_EQ(wide.pixels.front(), 0x000000u);
    EXPECT_EQ(wide.pixels.back(), 0xFFFFFFu);
    EXPECT_EQ(wide.pixels[1], 0x404040u);  // a step between, not a copy of either side
    EXPECT_EQ(wide.pixels[2], 0xBFBFBFu);

    EXPECT_EQ(ui::Resample(edge, 2, 1).pixels, edge.pixels);
    EXPECT_TRUE(ui::Resample(edge, 0, 0).pixels.empty());
}

}  // namespace
