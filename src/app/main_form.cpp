#include "app/main_form.h"

#include <vector>

#include "install/branding.h"

#include "platform/text.h"

namespace app {
namespace {

constexpr ui::ControlLayout kControls[] = {
    {MainForm::kLogo, kLogoImgId, ui::Kind::Picture, nullptr, {0, 12, 0, 0}},
    {MainForm::kBottomPicture, kFaxImgId, ui::Kind::Picture, nullptr, {0, 0, 0, 0}},
};

void Place(ui::Control& image, std::optional<platform::Bitmap> picture, std::uint32_t color,
           ui::Rect place) {
    if (!picture || picture->width <= 0 || picture->height <= 0)
        return;
    FloodFillCorner(*picture, color);
    place.width = picture->width;
    place.height = picture->height;
    image.SetBounds(place);
    image.SetPicture(std::move(picture));
}

}  // namespace

std::uint32_t ParseBackgroundColor(const std::optional<std::string>& text) {
    const auto value = text ? platform::ParseInteger(*text) : std::nullopt;
    // A negative number names no colour this window can paint; it gets the default too.
    if (!value || *value < 0)
        return kDefaultBackgroundColor;
    return static_cast<std::uint32_t>(*value) & 0xFFFFFF;
}

void FloodFillCorner(platform::Bitmap& picture, std::uint32_t color) {
    if (picture.width <= 0 || picture.height <= 0)
        return;
    const std::uint32_t target = picture.At(0, 0);
    if (target == color)
        return;
    std::vector<std::pair<int, int>> pending{{0, 0}};
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        if (x < 0 || y < 0 || x >= picture.width || y >= picture.height ||
            picture.At(x, y) != target) {
            continue;
        }
        picture.At(x, y) = color;
        pending.insert(pending.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
}

ui::Rect BottomPicturePlace(ScreenSize screen, int width, int height, bool at_left) {
    return {at_left ? 0 : screen.width - width, screen.height - height - 8, width, height};
}

MainForm::MainForm(platform::Libraries& libraries, ScreenSize screen)
    : form_({.class_name = "TMainForm", .color = kDefaultBackgroundColor, .full_screen = true}) {
    form_.AddAll(kControls);
    const auto loaded = libraries.Load(install::kBrandingLibrary);
    if (!loaded)
        return;  // the plain default colour, without pictures
    const auto& library = *loaded;
    const std::uint32_t color = ParseBackgroundColor(library->String(install::kColorString));
    form_.SetColor(color);
    const bool at_left = install::IsClientServer(library->String(install::kKindString));
    Place(form_[kLogo], library->Picture("LEFTUP"), color, {0, 12, 0, 0});
    if (auto picture = library->Picture("DOWNRIGHT")) {
        const ui::Rect place = BottomPicturePlace(screen, picture->width, picture->height, at_left);
        Place(form_[kBottomPicture], std::move(picture), color, place);
    }
}

}  // namespace app
