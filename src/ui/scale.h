#pragma once
// Layouts are made for 96 dots per inch; on a display of another density every position, size
// and font of a form grows with it, and pictures are resampled to the size their place has.
#include "platform/libraries.h"
#include "ui/control.h"

namespace ui {

inline constexpr int kLayoutDpi = 96;

// A length of the layout in pixels at dpi, rounded to the nearest pixel.
int Scale(int length, int dpi);
// Pixels at dpi back to the layout's units, never more than the pixels hold (so a place
// measured from the screen's edge stays on the screen).
int Unscale(int pixels, int dpi);
// A rectangle's edges are scaled, not its size: controls that touch at 96 dpi still touch,
// and controls apart stay apart.
Rect Scale(Rect bounds, int dpi);
// The picture resampled to width x height with bilinear filtering: smooth, not blocky.
platform::Bitmap Resample(const platform::Bitmap& picture, int width, int height);

}  // namespace ui
