// Stand-in for one of the product's applications: a small window that shows its name and closes
// when the product's close request arrives, as the real applications do before an installation
// replaces their files. Built once per executable name (STANDIN_NAME); the build with
// STANDIN_IGNORES_CLOSE keeps running through the request, to test what the installer does with
// an application that will not go.
#include <windows.h>

#ifndef STANDIN_NAME
#error "STANDIN_NAME must name the executable, for example L\"zinkolar.exe\""
#endif

namespace {

// Every program that registers this name gets the same message number.
constexpr wchar_t kCloseRequest[] = L"ZKCloseAllApplMes";
constexpr wchar_t kClass[] = L"ZinkolarStandIn";

UINT close_request = 0;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == close_request && close_request != 0) {
#ifndef STANDIN_IGNORES_CLOSE
        DestroyWindow(window);
#endif
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    close_request = RegisterWindowMessageW(kCloseRequest);
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = WindowProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = kClass;
    if (RegisterClassW(&window_class) == 0)
        return 1;
    const HWND window =
        CreateWindowExW(0, kClass, STANDIN_NAME, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                        320, 120, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
