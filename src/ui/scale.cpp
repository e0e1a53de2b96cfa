#include "ui/scale.h"

#include <algorithm>
#include <cstdint>

namespace ui {
namespace {

// Rounds half away from zero, so negative places mirror positive ones.
int RoundedDivide(long long numerator, long long denominator) {
    const long long half = denominator / 2;
    return static_cast<int>(numerator >= 0 ? (numerator + half) / denominator
                                           : -((-numerator + half) / denominator));
}

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, int weight, int scale) {
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF);
        const int cb = static_cast<int>((b >> shift) & 0xFF);
        const int c = RoundedDivide(
            static_cast<long long>(ca) * (scale - weight) + static_cast<long long>(cb) * weight,
            scale);
        result |= static_cast<std::uint32_t>(c) << shift;
    }
    return result;
}

}  // namespace

int Scale(int length, int dpi) {
    return RoundedDivide(static_cast<long long>(length) * dpi, kLayoutDpi);
}

int ScaleFont(int height, int dpi) {
    return static_cast<int>(static_cast<long long>(height) * dpi / kLayoutDpi);
}

int SmallestFittingFont(int height) {
    return (height * 85 + 99) / 100;
}

Rect ScaledBounds(const Control& control, int dpi) {
    Rect place = Scale(control.FormBounds(), dpi);
    if (const Control* parent = control.Parent()) {
        const Rect outer = Scale(parent->FormBounds(), dpi);
        place.left -= outer.left;
        place.top -= outer.top;
    }
    return place;
}

int Unscale(int pixels, int dpi) {
    return dpi <= 0 ? pixels : static_cast<int>(static_cast<long long>(pixels) * kLayoutDpi / dpi);
}

Rect Scale(Rect bounds, int dpi) {
    const int left = Scale(bounds.left, dpi);
    const int top = Scale(bounds.top, dpi);
    return {left, top, Scale(bounds.left + bounds.width, dpi) - left,
            Scale(bounds.top + bounds.height, dpi) - top};
}

platform::Bitmap Resample(const platform::Bitmap& picture, int width, int height) {
    platform::Bitmap out{std::max(width, 0), std::max(height, 0), {}};
    out.pixels.resize(static_cast<size_t>(out.width) * out.height);
    if (picture.width <= 0 || picture.height <= 0)
        return out;
    if (out.width == picture.width && out.height == picture.height)
        return picture;
    // Pixel centres map onto pixel centres; positions in 1/256 of a source pixel.
    constexpr int kSteps = 256;
    const auto source = [](int i, int to, int from) {
        const long long p = ((2LL * i + 1) * from * kSteps) / (2LL * to) - kSteps / 2;
        return std::clamp<long long>(p, 0, static_cast<long long>(from - 1) * kSteps);
    };
    for (int y = 0; y < out.height; ++y) {
        const long long sy = source(y, out.height, picture.height);
        const int y0 = static_cast<int>(sy / kSteps);
        const int y1 = std::min(y0 + 1, picture.height - 1);
        const int wy = static_cast<int>(sy % kSteps);
        for (int x = 0; x < out.width; ++x) {
            const long long sx = source(x, out.width, picture.width);
            const int x0 = static_cast<int>(sx / kSteps);
            const int x1 = std::min(x0 + 1, picture.width - 1);
            const int wx = static_cast<int>(sx % kSteps);
            const std::uint32_t top = Mix(picture.At(x0, y0), picture.At(x1, y0), wx, kSteps);
            const std::uint32_t bottom = Mix(picture.At(x0, y1), picture.At(x1, y1), wx, kSteps);
            out.At(x, y) = Mix(top, bottom, wy, kSteps);
        }
    }
    return out;
}

}  // namespace ui
