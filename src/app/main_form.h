#pragma once
// The background window: a full-screen surface in the distribution's colour with the logo at the
// top left and a picture at the bottom, taken from the branding library res.dll.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "ui/form.h"

namespace app {

inline constexpr std::uint32_t kDefaultBackgroundColor = 0x663300;  // $663300, a dark blue
inline constexpr int kLogoImgId = 101;
inline constexpr int kFaxImgId = 102;

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// The colour of string 110: decimal, or hexadecimal after "$", in the order 0x00BBGGRR.
std::uint32_t ParseBackgroundColor(const std::optional<std::string>& text);
// Replaces the area connected to pixel (0, 0) that has its colour with the given colour.
void FloodFillCorner(platform::Bitmap& picture, std::uint32_t color);
// Where the bottom picture goes: flush left or right, 8 pixels above the bottom edge.
ui::Rect BottomPicturePlace(ScreenSize screen, int width, int height, bool at_left);

class MainForm {
  public:
    // The logo at the top left and the picture at the bottom.
    static constexpr ui::ControlName kLogo{"LogoImg"};
    static constexpr ui::ControlName kBottomPicture{"FaxImg"};

    MainForm(platform::Libraries& libraries, ScreenSize screen);
    ui::Form& GetForm() { return form_; }
    // Hands the focus on whenever the background window is activated.
    void SetActivationHandler(std::function<void()> handler) {
        form_.on_activate = std::move(handler);
    }

  private:
    ui::Form form_;
};

}  // namespace app
