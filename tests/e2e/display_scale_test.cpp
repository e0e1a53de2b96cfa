// The wizard at the display scales people use (100 % to 200 %): its client area and every
// control grow with the density, nothing leaves its form, and no controls come to overlap that
// lie apart at 100 %. Runs in a prefix of its own (the scale is the prefix's), see CMakeLists.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "driver/distribution.h"
#include "driver/wizard.h"
#include "driver/wizard_walk.h"
#include "e2e_paths.h"
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

Page Look(int dpi, const char* step) {
    SetDisplayDpi(dpi);
    const Distribution distribution(kDistributions + "single");
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    walk.WaitPage(kRussian.welcome);
    Page page;
    RECT client{};
    GetClientRect(walk.Wizard().Handle(), &client);
    page.client = {client.right, client.bottom};
    Inspect(walk.Wizard(), page);
    walk.Shoot(std::string(step) + "-" + std::to_string(dpi) + "dpi");
    walk.Press(WizardId("NextBtn"), kRussian.licence);
    Inspect(walk.Wizard(), page);
    walk.Shoot("licence-" + std::to_string(dpi) + "dpi");
    return page;
}

int Scaled(int length, int dpi) {
    return (length * dpi + 48) / 96;
}

TEST(DisplayScaleTest, WizardGrowsWithTheDisplayAndKeepsItsLayout) {
    if (std::getenv("SETUP_DPI") == nullptr)
        GTEST_SKIP() << "needs a prefix of its own for the display scale (SETUP_DPI)";
    std::map<int, Page> pages;
    for (const int dpi : kDpis)
        pages[dpi] = Look(dpi, "welcome");
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
