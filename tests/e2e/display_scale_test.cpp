// The wizard at the display scales people use (100 % to 200 %): its client area and every
// control grow with the density, nothing leaves its form, no controls come to overlap that lie
// apart at 100 %, every text fits its control and the side picture is drawn sharp at its new
// size. Runs in a prefix of its own (the scale is the prefix's), see CMakeLists.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "driver/distribution.h"
#include "driver/image.h"
#include "driver/strings.h"
#include "driver/wizard.h"
#include "driver/wizard_walk.h"
#include "e2e_paths.h"
#include "ui/scale.h"
#include "wizard_pages.h"

namespace {

using namespace e2e;
using Pairs = std::set<std::pair<int, int>>;

constexpr int kDpis[] = {96, 120, 144, 192};

void SetDisplayDpi(int dpi) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD value = static_cast<DWORD>(dpi);
    RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof(value));
    RegCloseKey(key);
}

struct Page {
    SIZE client{};
    Pairs overlapping;  // visible sibling controls, by identifier
};

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Checks that every visible control lies inside its parent, and notes which siblings overlap.
void Inspect(const RemoteWindow& parent, Page& page) {
    const RECT outer = parent.ScreenRect();
    std::vector<std::pair<int, RECT>> shown;
    for (const RemoteWindow& child : parent.Children()) {
        if (!child.Visible())
            continue;
        const RECT r = child.ScreenRect();
        EXPECT_TRUE(r.left >= outer.left && r.top >= outer.top && r.right <= outer.right &&
                    r.bottom <= outer.bottom)
            << "control " << child.Id() << " leaves its parent";
        // A drop-down list's window reaches below its field for the list it opens.
        if (child.ClassName() != "ComboBox")
            shown.emplace_back(child.Id(), r);
        Inspect(child, page);
    }
    for (size_t i = 0; i < shown.size(); ++i) {
        for (size_t j = i + 1; j < shown.size(); ++j) {
            if (Overlap(shown[i].second, shown[j].second))
                page.overlapping.insert(std::minmax(shown[i].first, shown[j].first));
        }
    }
}

int Scaled(int length, int dpi) {
    return (length * dpi + 48) / 96;
}

const ui::ControlLayout* LayoutOf(int id) {
    for (const ui::ControlLayout& layout : wizard::kWizardControls) {
        if (layout.id == id)
            return &layout;
    }
    return nullptr;
}

// The extent of a text in the layout's font at that density, a pixel smaller at a time as the
// program takes it for a text too long (glyphs grow a little faster than their height): in one
// line, or broken into lines of the given width.
SIZE TextExtent(const ui::ControlLayout& layout, const std::wstring& text, int font_height,
                int width) {
    HFONT font = CreateFontW(-font_height, 0, 0, 0, layout.style.bold ? FW_BOLD : FW_NORMAL, FALSE,
                             FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT rect{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &rect,
              DT_CALCRECT | DT_NOPREFIX | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return {rect.right, rect.bottom};
}

// Whether the text fits the room in the layout's font at that density, or, away from 96 dpi, in
// one at most the program's allowance smaller.
bool Fits(const ui::ControlLayout& layout, const std::wstring& text, int dpi, bool wraps,
          SIZE room) {
    const int full = ui::ScaleFont(
        layout.style.font_height != 0 ? layout.style.font_height : ui::kFormFontHeight, dpi);
    const int smallest = dpi == ui::kLayoutDpi ? full : ui::SmallestFittingFont(full);
    for (int height = full; height >= smallest; --height) {
        const SIZE extent = TextExtent(layout, text, height, wraps ? room.cx : 0);
        if (extent.cx <= room.cx && extent.cy <= room.cy)
            return true;
    }
    return false;
}

// Every shown label, button, check box and radio button of the page holds its whole text.
void CheckTextsFit(const RemoteWindow& parent, int dpi, const std::string& page) {
    for (const RemoteWindow& child : parent.Children()) {
        if (!child.Visible())
            continue;
        CheckTextsFit(child, dpi, page);
        const ui::ControlLayout* layout = LayoutOf(child.Id());
        const std::wstring text = Wide(child.Text());
        if (layout == nullptr || text.empty())
            continue;
        RECT client{};
        GetClientRect(child.Handle(), &client);
        const std::string where =
            page + " at " + std::to_string(dpi) + " dpi: " + std::string(layout->name.Text());
        switch (layout->kind) {
            case ui::Kind::Label:
                // A vertically centred label shows one line.
                EXPECT_TRUE(Fits(*layout, text, dpi,
                                 layout->style.word_wrap && !layout->style.vertical_center,
                                 {client.right, client.bottom}))
                    << where;
                break;
            case ui::Kind::Button:
            case ui::Kind::CheckBox:
            case ui::Kind::RadioButton: {
                // A push button's edges; a box's or a circle's square and its gap.
                const int beside = Scaled(layout->kind == ui::Kind::Button ? 6 : 17, dpi);
                EXPECT_TRUE(Fits(*layout, text, dpi, false, {client.right - beside, client.bottom}))
                    << where;
                break;
            }
            default:
                break;
        }
    }
}

// How much the colours change from pixel to pixel: what blurring takes away.
double EdgeSharpness(const std::vector<std::uint32_t>& pixels, int width, int height) {
    double sum = 0;
    const auto step = [](std::uint32_t a, std::uint32_t b) {
        int d = 0;
        for (int shift = 0; shift < 24; shift += 8)
            d += std::abs(static_cast<int>((a >> shift) & 0xFF) -
                          static_cast<int>((b >> shift) & 0xFF));
        return d;
    };
    for (int y = 0; y + 1 < height; ++y) {
        for (int x = 0; x + 1 < width; ++x) {
            const std::uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            sum += step(p, pixels[static_cast<size_t>(y) * width + x + 1]) +
                   step(p, pixels[static_cast<size_t>(y + 1) * width + x]);
        }
    }
    return sum / (static_cast<double>(width) * height);
}

// The side picture on screen has its place's size at this density, and is as sharp as the
// 96-dpi picture resampled to that size with the program's own filter.
void CheckSidePicture(const WizardWalk& walk, int dpi) {
    const auto original = Image::LoadBitmapResource(kDistributions + "single/res.dll", "WIZARD");
    ASSERT_TRUE(original.has_value()) << "res.dll lacks the wizard's picture";
    const RECT place = walk.Control(WizardId(kSidePicture)).ScreenRect();
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    EXPECT_NEAR(width, Scaled(164, dpi), 1) << dpi;
    EXPECT_NEAR(height, Scaled(314, dpi), 1) << dpi;
    platform::Bitmap source{original->Width(), original->Height(), {}};
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < source.width; ++x)
            source.pixels.push_back(original->Pixel(x, y));
    }
    const platform::Bitmap reference = ui::Resample(source, width, height);
    const Image screen = Image::CaptureSettledScreen();
    std::vector<std::uint32_t> shown;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            shown.push_back(screen.Pixel(place.left + x, place.top + y));
    }
    const double expected = EdgeSharpness(reference.pixels, width, height);
    const double seen = EdgeSharpness(shown, width, height);
    EXPECT_NEAR(seen / expected, 1.0, 0.1)
        << "side picture at " << dpi << " dpi: sharpness " << seen << ", resampled " << expected;
}

// Every page before the installation, each checked and kept as a picture.
Page Look(int dpi) {
    SetDisplayDpi(dpi);
    const Distribution distribution(kDistributions + "single");
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    walk.WaitPage(kRussian.welcome);
    Page page;
    RECT client{};
    GetClientRect(walk.Wizard().Handle(), &client);
    page.client = {client.right, client.bottom};
    CheckSidePicture(walk, dpi);
    const auto look = [&](const char* name) {
        Inspect(walk.Wizard(), page);
        CheckTextsFit(walk.Wizard(), dpi, name);
        walk.Shoot(std::string(name) + "-" + std::to_string(dpi) + "dpi");
    };
    look("welcome");
    AcceptLicence(walk, kRussian);
    look("licence");
    const std::pair<const char*, const char*> pages[] = {{"destination", kRussian.destination},
                                                         {"shortcuts", kRussian.shortcuts},
                                                         {"group", kRussian.group},
                                                         {"file-types", kRussian.file_types},
                                                         {"summary", kRussian.summary}};
    for (const auto& [name, title] : pages) {
        walk.Press(WizardId(kNextButton), title);
        look(name);
    }
    return page;
}

TEST(DisplayScaleTest, WizardGrowsWithTheDisplayAndKeepsItsLayout) {
    if (std::getenv("SETUP_DPI") == nullptr)
        GTEST_SKIP() << "needs a prefix of its own for the display scale (SETUP_DPI)";
    std::map<int, Page> pages;
    for (const int dpi : kDpis)
        pages[dpi] = Look(dpi);
    SetDisplayDpi(96);
    for (const int dpi : kDpis) {
        const Page& page = pages[dpi];
        EXPECT_NEAR(page.client.cx, Scaled(494, dpi), 1) << dpi;
        EXPECT_NEAR(page.client.cy, Scaled(348, dpi), 1) << dpi;
        for (const auto& pair : page.overlapping) {
            EXPECT_TRUE(pages[96].overlapping.count(pair))
                << pair.first << " and " << pair.second << " overlap at " << dpi;
        }
    }
}

}  // namespace
