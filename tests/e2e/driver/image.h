#pragma once
// Pictures as pixels: screenshots of the whole screen (the Wine virtual desktop), for checking
// colours and places and for people to look at afterwards, and bitmaps of a resource library,
// for comparing with what the screen shows.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wait.h"

namespace e2e {

class Image {
  public:
    // What the screen shows now.
    static Image CaptureScreen();
    // Captures until two pictures in a row are the same, so that painting has finished.
    static Image CaptureSettledScreen(Timeout timeout = 5s);
    // A bitmap resource of a library (a Linux or Windows path), or nothing when either is
    // missing.
    static std::optional<Image> LoadBitmapResource(std::string_view library, std::string_view name);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The colour at (x, y) in the platform's order 0x00BBGGRR (as a COLORREF).
    std::uint32_t Pixel(int x, int y) const;
    // Writes a PNG file (creating its folder); throws on failure.
    void SavePng(const std::wstring& path) const;

    bool operator==(const Image&) const = default;

  private:
    Image() = default;
    explicit Image(HBITMAP bitmap);

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> bgr_;  // rows top to bottom, 3 bytes a pixel, no padding
};

}  // namespace e2e
