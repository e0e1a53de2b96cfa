// Start-up as a person sees it: the coloured full-screen background with its pictures, the
// wizard in front of it, and cancelling with the confirmation in the built-in language.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "driver/distribution.h"
#include "driver/image.h"
#include "driver/setup_process.h"
#include "driver/strings.h"
#include "driver/wizard.h"
#include "e2e_paths.h"
#include "ui/exit_codes.h"

namespace {

using namespace e2e;

// The colour the background window is created with, kept when res.dll gives none.
constexpr std::uint32_t kDefaultColour = 0x663300;

// Saves what the screen shows for people to look at, beside the other tests' pictures.
void SaveForReview(const Image& shot, const std::string& step) {
    shot.SavePng(HostPath(ShotsFolder() + "/" + step + ".png"));
}

bool Inside(const RECT& rect, int x, int y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

TEST(StartupTest, WizardStandsInFrontOfTheFullScreenBackground) {
    const Distribution distribution(kDistributions + "single");
    const SetupProcess setup(distribution.Folder());
    const RemoteWindow wizard = setup.WaitWindow(kWizardClass);
    const auto background = setup.FindTopLevel(kBackgroundClass);
    ASSERT_TRUE(background.has_value());
    EXPECT_TRUE(background->Visible());

    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const RECT covered = background->ScreenRect();
    EXPECT_TRUE(EqualRect(&covered, &screen) != FALSE)
        << "background at " << covered.left << "," << covered.top << " to " << covered.right << ","
        << covered.bottom;

    WaitUntil([&] { return GetForegroundWindow() == wizard.Handle(); }, 5s,
              "the wizard to become the foreground window");
    const auto windows = setup.Windows();
    const auto above = [&](HWND handle) {
        return std::find_if(windows.begin(), windows.end(),
                            [&](const RemoteWindow& w) { return w.Handle() == handle; });
    };
    EXPECT_LT(above(wizard.Handle()), above(background->Handle()))
        << "the wizard is behind the background";
    SaveForReview(Image::CaptureSettledScreen(), "start");
}

TEST(StartupTest, ClickOnTheBackgroundHandsTheFocusBackToTheWizard) {
    const Distribution distribution(kDistributions + "single");
    const SetupProcess setup(distribution.Folder());
    const RemoteWindow wizard = setup.WaitWindow(kWizardClass);
    const RemoteWindow background = setup.WaitWindow(kBackgroundClass);
    WaitUntil([&] { return GetForegroundWindow() == wizard.Handle(); }, 5s,
              "the wizard to become the foreground window");

    // The background is activated, as a click on it would; the program hands the focus on.
    ASSERT_TRUE(SetForegroundWindow(background.Handle()));
    // The activation reaches the program through its message queue; without the hand-over the
    // background would still be in front after this pause.
    Sleep(500);
    WaitUntil([&] { return GetForegroundWindow() == wizard.Handle(); }, 5s,
              "the wizard to take the focus back");
    EXPECT_NE(GetForegroundWindow(), background.Handle());
}

enum class Pictures { None, BottomRight, BottomLeft };

struct Background {
    const char* variant;
    bool remove_res_dll;
    std::uint32_t colour;
    Pictures pictures;
};

// Where a picture of res.dll stands on the screen.
struct Placed {
    Image picture;
    int left;
    int top;
    RECT Bounds() const { return {left, top, left + picture.Width(), top + picture.Height()}; }
};

std::vector<Placed> ExpectedPictures(const std::string& res_dll, Pictures pictures) {
    if (pictures == Pictures::None) {
        return {};
    }
    auto logo = Image::LoadBitmapResource(res_dll, "LEFTUP");
    auto bottom = Image::LoadBitmapResource(res_dll, "DOWNRIGHT");
    if (!logo || !bottom) {
        throw std::runtime_error("res.dll lacks its pictures");
    }
    const int left =
        pictures == Pictures::BottomLeft ? 0 : GetSystemMetrics(SM_CXSCREEN) - bottom->Width();
    const int top = GetSystemMetrics(SM_CYSCREEN) - bottom->Height() - 8;
    return {{*logo, 0, 12}, {*bottom, left, top}};
}

// Starts setup.exe and compares the screen with what the background should show: the
// pictures where they belong, keyed to the colour, and the colour everywhere else outside the
// wizard.
void ExpectBackground(const Background& expected) {
    const Distribution distribution(kDistributions + expected.variant);
    const std::vector<Placed> placed =
        ExpectedPictures(Utf8(distribution.Folder()) + "\\res.dll", expected.pictures);
    if (expected.remove_res_dll) {
        distribution.Remove("res.dll");
    }

    const SetupProcess setup(distribution.Folder());
    const RECT wizard = setup.WaitWindow(kWizardClass).ScreenRect();
    const Image shot = Image::CaptureSettledScreen();
    SaveForReview(shot, "background");

    // Every pixel that the colour key leaves alone shows unchanged, and the picture's own
    // background (the area joined to its corner) takes the window colour.
    for (const Placed& picture : placed) {
        int differing = 0;
        for (int y = 0; y < picture.picture.Height(); ++y) {
            for (int x = 0; x < picture.picture.Width(); ++x) {
                const std::uint32_t colour = picture.picture.Pixel(x, y);
                const int sx = picture.left + x;
                const int sy = picture.top + y;
                if (colour != picture.picture.Pixel(0, 0) && !Inside(wizard, sx, sy) &&
                    shot.Pixel(sx, sy) != colour) {
                    ++differing;
                }
            }
        }
        EXPECT_EQ(differing, 0) << "pixels of the picture at " << picture.left << "," << picture.top
                                << " differ on the screen";
        EXPECT_EQ(shot.Pixel(picture.left, picture.top), expected.colour)
            << "the picture's corner is not keyed to the background";
    }

    int off_colour = 0;
    std::optional<std::pair<int, int>> first;
    for (int y = 0; y < shot.Height(); ++y) {
        for (int x = 0; x < shot.Width(); ++x) {
            const bool on_picture = std::any_of(placed.begin(), placed.end(), [&](const Placed& p) {
                return Inside(p.Bounds(), x, y);
            });
            if (!on_picture && !Inside(wizard, x, y) && shot.Pixel(x, y) != expected.colour) {
                ++off_colour;
                if (!first) {
                    first = {x, y};
                }
            }
        }
    }
    EXPECT_EQ(off_colour, 0) << "pixels off the background colour, the first at " << first->first
                             << "," << first->second << ": " << std::hex
                             << shot.Pixel(first->first, first->second);
}

// The sample distributions' res.dll give the colour as "$602C10" (single) and as 4212736
// (clientserver): both spellings of string 110.
TEST(BackgroundTest, SingleShowsItsColourWithTheBottomPictureAtTheRight) {
    ExpectBackground({"single", false, 0x602C10, Pictures::BottomRight});
}

TEST(BackgroundTest, ClientServerPutsTheBottomPictureAtTheLeft) {
    ExpectBackground({"clientserver", false, 4212736, Pictures::BottomLeft});
}

TEST(BackgroundTest, WithoutResDllShowsTheDefaultColourAndNoPictures) {
    ExpectBackground({"single", true, kDefaultColour, Pictures::None});
}

const std::string kConfirmTitle = "Подтверждение";
const std::string kConfirmText = "Вы действительно хотите прервать установку?";
const std::vector<std::string> kConfirmButtons{"&Да", "&Нет"};

MessageDialog PressCancel(const SetupProcess& setup, const RemoteWindow& wizard) {
    wizard.Control(WizardId(kCancelButton)).Click();
    return setup.WaitDialog();
}

TEST(CancelTest, AsksInTheBuiltInLanguageAndNoKeepsTheWizard) {
    const Distribution distribution(kDistributions + "single");
    const SetupProcess setup(distribution.Folder());
    const RemoteWindow wizard = setup.WaitWindow(kWizardClass);

    const MessageDialog dialog = PressCancel(setup, wizard);
    // The dialog has its texts from its first paint: nothing re-labels it afterwards.
    EXPECT_EQ(dialog.Title(), kConfirmTitle);
    EXPECT_EQ(dialog.Buttons(), kConfirmButtons);
    EXPECT_EQ(dialog.Text(), kConfirmText);
    SaveForReview(Image::CaptureSettledScreen(), "confirmation");

    dialog.Press("&Нет");
    WaitUntil([&] { return !dialog.Window().Exists(); }, 5s, "the dialog to close");
    EXPECT_TRUE(setup.Running());
    EXPECT_TRUE(wizard.Visible());
    EXPECT_TRUE(wizard.Control(WizardId(kNextButton)).Enabled());
}

TEST(CancelTest, YesEndsTheProgram) {
    const Distribution distribution(kDistributions + "single");
    const SetupProcess setup(distribution.Folder());
    const RemoteWindow wizard = setup.WaitWindow(kWizardClass);

    const MessageDialog dialog = PressCancel(setup, wizard);
    dialog.Press("&Да");
    EXPECT_EQ(setup.WaitExit(), static_cast<DWORD>(ui::kExitCancelled));
}

}  // namespace
