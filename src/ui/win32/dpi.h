#pragma once
// The display density a window is shown at. The functions for it exist from Windows 10 on;
// before, every window has the system's density.
#include <windows.h>

#include "platform/win32/handles.h"

namespace ui {

#ifndef WM_DPICHANGED
inline constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

// The dots per inch of the window's monitor; null: of the system.
int WindowDpi(HWND window);
// The primary screen in the layout's units (96 dpi), for forms that place controls by its edges.
struct LayoutScreen {
    int width;
    int height;
};
LayoutScreen PrimaryScreen();
// The platform's font for message texts at that density (at the system's before Windows 10).
platform::UniqueFont MessageFont(int dpi);
// The window rectangle around a client rectangle at that density.
void AdjustFrame(RECT& rect, DWORD style, DWORD ex_style, int dpi);

}  // namespace ui
