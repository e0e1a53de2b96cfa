// The windows of the program at the display scales people use (100 % to 200 %): the wizard's
// pages, Cancel's question, the progress window of a real installation and the uninstaller's
// question, progress window and last message. Their client areas and controls grow with the
// density, nothing leaves its window, no controls come to overlap that lie apart at 100 %, every
// text fits its control and the pictures are drawn sharp at their new size. One installation
// and its removal per density; runs in a prefix of its own (the scale is the prefix's), see
// CMakeLists.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "driver/distribution.h"
#include "driver/image.h"
#include "driver/progress_window.h"
#include "driver/strings.h"
#include "driver/wizard.h"
#include "driver/wizard_walk.h"
#include "e2e_paths.h"
#include "single_installation.h"
#include "ui/scale.h"
#include "wizard_pages.h"

namespace {

using namespace e2e;
using Pairs = std::set<std::pair<int, int>>;

constexpr int kDpis[] = {96, 120, 144, 192};
// Files added to the installation, so that the copy step and the removal show their progress
// windows long enough to be looked at.
constexpr int kExtraFiles = 300;
constexpr int kExtraFileSize = 16 * 1024;

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

struct Window {
    SIZE client{};
    Pairs overlapping;  // visible sibling controls, by identifier
};
// The windows seen at one density, by name ("wizard", "progress", ...).
using Windows = std::map<std::string, Window>;

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

SIZE ClientSize(const RemoteWindow& window) {
    RECT client{};
    GetClientRect(window.Handle(), &client);
    return {client.right, client.bottom};
}

// Checks that every visible control lies inside its parent's client area, and notes which
// siblings overlap. Sends no messages: the progress window is looked at while its program works.
void Inspect(const RemoteWindow& parent, Window& window) {
    RECT outer{};
    GetClientRect(parent.Handle(), &outer);
    MapWindowPoints(parent.Handle(), nullptr, reinterpret_cast<POINT*>(&outer), 2);
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
        Inspect(child, window);
    }
    for (size_t i = 0; i < shown.size(); ++i) {
        for (size_t j = i + 1; j < shown.size(); ++j) {
            if (Overlap(shown[i].second, shown[j].second))
                window.overlapping.insert(std::minmax(shown[i].first, shown[j].first));
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
    const platform::UniqueFont font(
        CreateFontW(-font_height, 0, 0, 0, layout.style.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                    FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
    const platform::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const HGDIOBJ old = SelectObject(dc.get(), font.get());
    RECT rect{0, 0, width, 0};
    DrawTextW(dc.get(), text.c_str(), -1, &rect,
              DT_CALCRECT | DT_NOPREFIX | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc.get(), old);
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

// The platform's message font at that density, the font of the message dialogs.
platform::UniqueFont MessageFont(int dpi) {
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    const auto for_dpi = reinterpret_cast<ForDpi>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
    NONCLIENTMETRICSW metrics{sizeof(metrics)};
    EXPECT_TRUE(for_dpi != nullptr && for_dpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0,
                                              static_cast<UINT>(dpi)));
    return platform::UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

// The extent of a text in a font: in one line ("&" marking an access key), or broken into lines
// of the given width.
SIZE Extent(HFONT font, const std::wstring& text, int width) {
    const platform::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const HGDIOBJ old = SelectObject(dc.get(), font);
    RECT rect{0, 0, width, 0};
    DrawTextW(
        dc.get(), text.c_str(), -1, &rect,
        DT_CALCRECT | (width > 0 ? DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS : DT_SINGLELINE));
    SelectObject(dc.get(), old);
    return {rect.right, rect.bottom};
}

// Until the dialog shows that button: the program re-labels a dialog's buttons in the chosen
// language a moment after it comes up.
void WaitLabelled(const MessageDialog& dialog, std::string_view button) {
    WaitUntil(
        [&] {
            const std::vector<std::string> buttons = dialog.Buttons();
            return std::find(buttons.begin(), buttons.end(), button) != buttons.end();
        },
        kPageTimeout, "the button \"" + std::string(button) + "\"");
}

bool ClassIs(const RemoteWindow& window, const char* name) {
    return lstrcmpiA(window.ClassName().c_str(), name) == 0;
}

// A message dialog: its controls inside it, its icon at the density's size, its message and
// button captions whole in the message font of the density.
void CheckDialog(const MessageDialog& dialog, int dpi, Window& window, const std::string& name) {
    window.client = ClientSize(dialog.Window());
    Inspect(dialog.Window(), window);
    const platform::UniqueFont font = MessageFont(dpi);
    const std::string where = name + " at " + std::to_string(dpi) + " dpi";
    int buttons = 0;
    for (const RemoteWindow& child : dialog.Window().Children()) {
        const SIZE client = ClientSize(child);
        const LONG style = GetWindowLongW(child.Handle(), GWL_STYLE);
        if (ClassIs(child, "Static") && (style & SS_TYPEMASK) == SS_ICON) {
            EXPECT_NEAR(client.cx, Scaled(32, dpi), 1) << where << ": icon";
            EXPECT_NEAR(client.cy, Scaled(32, dpi), 1) << where << ": icon";
        } else if (ClassIs(child, "Static")) {
            const SIZE text = Extent(font.get(), Wide(child.Text()), client.cx);
            EXPECT_TRUE(text.cx <= client.cx && text.cy <= client.cy)
                << where << ": the message needs " << text.cx << " x " << text.cy << ", has "
                << client.cx << " x " << client.cy;
        } else if (ClassIs(child, "Button")) {
            ++buttons;
            EXPECT_NEAR(client.cy, Scaled(23, dpi), 1) << where << ": " << child.Text();
            const SIZE text = Extent(font.get(), Wide(child.Text()), 0);
            EXPECT_LE(text.cx, client.cx - Scaled(6, dpi)) << where << ": " << child.Text();
        }
    }
    EXPECT_GT(buttons, 0) << where;
}

// The progress window while its program works: its controls inside it, its bar and its step's
// picture at the density's size. Its texts are not read: they change while it is looked at.
void CheckProgressWindow(const RemoteWindow& progress, int dpi, Window& window,
                         const std::string& name) {
    window.client = ClientSize(progress);
    Inspect(progress, window);
    for (const RemoteWindow& child : progress.Children()) {
        if (!child.Visible())
            continue;
        const RECT r = child.ScreenRect();
        const LONG style = GetWindowLongW(child.Handle(), GWL_STYLE);
        if (ClassIs(child, "msctls_progress32")) {
            EXPECT_NEAR(r.right - r.left, Scaled(345, dpi), 1) << name << " at " << dpi;
            EXPECT_NEAR(r.bottom - r.top, Scaled(20, dpi), 1) << name << " at " << dpi;
        } else if (ClassIs(child, "Static") && (style & SS_TYPEMASK) == SS_BITMAP) {
            // The step's picture, shown between the copy steps.
            EXPECT_NEAR(r.right - r.left, Scaled(36, dpi), 1) << name << " at " << dpi;
            EXPECT_NEAR(r.bottom - r.top, Scaled(36, dpi), 1) << name << " at " << dpi;
        }
    }
}

// A picture of what shows now, for a window that does not stay.
void ShootAtOnce(const std::string& name) {
    Image::CaptureScreen().SavePng(HostPath(ShotsFolder() + "/" + name + ".png"));
}

// A visible message dialog of any process: the uninstaller's copy shows them.
std::optional<MessageDialog> AnyDialog() {
    const HWND window = FindWindowW(L"#32770", nullptr);
    return window != nullptr && IsWindowVisible(window)
               ? std::optional(MessageDialog(RemoteWindow(window)))
               : std::nullopt;
}

// Makes the copy step and the removal long enough to be seen: many more files to copy.
void AddExtraFiles(const Distribution& distribution) {
    std::string lines;
    for (int i = 0; i < kExtraFiles; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "x%03d.dat", i);
        distribution.Write(name, std::string(kExtraFileSize, static_cast<char>(i)));
        lines += std::string(name) + "=Extra\\" + name + "\r\n";
    }
    AddScriptLines(distribution, {{"[file list]", lines}, {"[directory list]", "extra=Extra\r\n"}});
}

// The uninstaller of the installation in dest, started from its folder as the group's shortcut
// starts it: its question, its progress window and its last message.
void LookAtUninstaller(const Destination& dest, int dpi, Windows& windows) {
    const std::string at = "-" + std::to_string(dpi) + "dpi";
    const SetupProcess uninstaller(Wide(dest.Path()), L"zkuninst.exe");
    const MessageDialog question = WaitFor(AnyDialog, kRunTimeout, "the uninstaller's question");
    WaitLabelled(question, kRussian.yes);
    CheckDialog(question, dpi, windows["uninstall-question"], "the uninstaller's question");
    ShootAtOnce("uninstall-question" + at);
    question.Press(kRussian.yes);
    WaitUntil([&] { return !question.Window().Visible(); }, kRunTimeout, "the question closed");
    bool progress_seen = false;
    const MessageDialog last = WaitFor(
        [&] {
            const HWND progress = FindWindowW(Wide(std::string(kProgressClass)).c_str(), nullptr);
            if (!progress_seen && progress != nullptr && IsWindowVisible(progress)) {
                CheckProgressWindow(RemoteWindow(progress), dpi, windows["uninstall-progress"],
                                    "the uninstaller's progress window");
                ShootAtOnce("uninstall-progress" + at);
                progress_seen = true;
            }
            return AnyDialog();
        },
        kRunTimeout, "the uninstaller's last message");
    EXPECT_TRUE(progress_seen) << "the uninstaller's progress window at " << dpi << " dpi";
    CheckDialog(last, dpi, windows["uninstall-last"], "the uninstaller's last message");
    ShootAtOnce("uninstall-last" + at);
    last.Press("OK");
    EXPECT_EQ(uninstaller.WaitExit(kRunTimeout), 0u);
}

// Every window of an installation and its removal, each checked and kept as a picture.
Windows Look(int dpi) {
    SetDisplayDpi(dpi);
    const Distribution distribution(kDistributions + "single");
    AddExtraFiles(distribution);
    const Destination dest;
    Windows windows;
    Window& wizard = windows["wizard"];
    {
        WizardWalk walk(distribution.Folder(), ShotsFolder());
        walk.WaitPage(kRussian.welcome);
        wizard.client = ClientSize(walk.Wizard());
        CheckSidePicture(walk, dpi);
        const std::string at = "-" + std::to_string(dpi) + "dpi";
        const auto look = [&](const char* name) {
            Inspect(walk.Wizard(), wizard);
            CheckTextsFit(walk.Wizard(), dpi, name);
            walk.Shoot(name + at);
        };
        look("welcome");
        const MessageDialog question = walk.PressForDialog(WizardId(kCancelButton));
        WaitLabelled(question, kRussian.no);
        CheckDialog(question, dpi, windows["question"], "Cancel's question");
        walk.Shoot("question" + at);
        WizardWalk::Answer(question, kRussian.no);
        AcceptLicence(walk, kRussian);
        look("licence");
        walk.Press(WizardId(kNextButton), kRussian.destination);
        walk.Control(WizardId(kPathField)).Type(dest.Path());
        look("destination");
        const std::pair<const char*, const char*> pages[] = {{"shortcuts", kRussian.shortcuts},
                                                             {"group", kRussian.group},
                                                             {"file-types", kRussian.file_types},
                                                             {"summary", kRussian.summary}};
        for (const auto& [name, title] : pages) {
            walk.Press(WizardId(kNextButton), title);
            look(name);
        }
        walk.Control(WizardId(kNextButton)).Click();
        const RemoteWindow progress = WaitFor(
            [&] {
                return ProgressCopying(walk.Setup()).value_or(false)
                           ? walk.Setup().FindTopLevel(kProgressClass)
                           : std::nullopt;
            },
            kRunTimeout, "the copy step");
        CheckProgressWindow(progress, dpi, windows["progress"], "the progress window");
        ShootAtOnce("progress" + at);
        walk.WaitPage(kRussian.finish, kRunTimeout);
        look("finish");
        EXPECT_EQ(LeaveFinishPage(walk), 0u);
    }
    LookAtUninstaller(dest, dpi, windows);
    return windows;
}

TEST(DisplayScaleTest, EveryWindowGrowsWithTheDisplayAndKeepsItsLayout) {
    if (std::getenv("SETUP_DPI") == nullptr)
        GTEST_SKIP() << "needs a prefix of its own for the display scale (SETUP_DPI)";
    std::map<int, Windows> seen;
    for (const int dpi : kDpis)
        seen[dpi] = Look(dpi);
    SetDisplayDpi(96);
    for (const int dpi : kDpis) {
        const SIZE wizard = seen[dpi]["wizard"].client;
        EXPECT_NEAR(wizard.cx, Scaled(494, dpi), 1) << dpi;
        EXPECT_NEAR(wizard.cy, Scaled(348, dpi), 1) << dpi;
        for (const char* fixed : {"progress", "uninstall-progress"}) {
            const SIZE at96 = seen[96][fixed].client;
            EXPECT_NEAR(seen[dpi][fixed].client.cx, Scaled(at96.cx, dpi), 1) << fixed << dpi;
            EXPECT_NEAR(seen[dpi][fixed].client.cy, Scaled(at96.cy, dpi), 1) << fixed << dpi;
        }
        for (const auto& [name, window] : seen[dpi]) {
            for (const auto& pair : window.overlapping) {
                EXPECT_TRUE(seen[96][name].overlapping.count(pair))
                    << name << ": " << pair.first << " and " << pair.second << " overlap at "
                    << dpi;
            }
        }
    }
}

}  // namespace
