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
// A font's height in pixels at dpi, rounded down: glyphs grow a little faster than their
// height, and a text that fills its control at 96 dpi still fits at any density.
int ScaleFont(int height, int dpi);
// The smallest a font of that height may become for a text that would not fit its control
// otherwise: 85 % of it, still plainly the same size to the eye.
int SmallestFittingFont(int height);
// A control's place in its parent at dpi: its edges scaled where they lie on the form, so that
// what lies inside a panel at 96 dpi stays inside at every density.
Rect ScaledBounds(const Control& control, int dpi);
// The picture resampled to width x height with bilinear filtering: smooth, not blocky.
platform::Bitmap Resample(const platform::Bitmap& picture, int width, int height);

}  // namespace ui
