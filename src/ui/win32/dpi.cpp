#include "ui/win32/dpi.h"

#include "ui/scale.h"

namespace ui {
namespace {

template <typename Function>
Function User32(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

int WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto for_window = User32<GetDpiForWindowFn>("GetDpiForWindow");
    if (window != nullptr && for_window != nullptr) {
        if (const UINT dpi = for_window(window); dpi != 0)
            return static_cast<int>(dpi);
    }
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

LayoutScreen PrimaryScreen() {
    const int dpi = WindowDpi(nullptr);
    return {Unscale(GetSystemMetrics(SM_CXSCREEN), dpi),
            Unscale(GetSystemMetrics(SM_CYSCREEN), dpi)};
}

platform::UniqueFont MessageFont(int dpi) {
    using ForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto for_dpi = User32<ForDpiFn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{sizeof(metrics)};
    if (for_dpi == nullptr ||
        !for_dpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi)))
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return platform::UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

void AdjustFrame(RECT& rect, DWORD style, DWORD ex_style, int dpi) {
    using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto for_dpi = User32<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    if (for_dpi == nullptr || !for_dpi(&rect, style, FALSE, ex_style, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&rect, style, FALSE, ex_style);
}

}  // namespace ui
