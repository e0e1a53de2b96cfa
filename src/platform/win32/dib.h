#pragma once
// The one format in which the program reads and makes pictures: 32 bits a pixel, rows top to
// bottom.
#include <windows.h>

namespace platform {

inline BITMAPINFO TopDownDibFormat(int width, int height) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top-down rows
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    return format;
}

}  // namespace platform
