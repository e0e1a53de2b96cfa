#pragma once
// One owner type per kind of platform handle: movable, never copyable, closed when it goes.
// Shared by the program, the product's stand-in libraries and the end-to-end driver.
#include <windows.h>
// COM's base interface, after <windows.h>, which it builds on.
#include <unknwn.h>

#include <memory>
#include <type_traits>

// <windows.h> makes these names macros for the A/W calls; in this code they are the platform
// layer's own operations (FileSystem::CopyFile ...), which call the W functions by name.
#undef CopyFile
#undef DeleteFile

namespace platform {

template <auto Close>
struct HandleCloser {
    template <typename T>
    void operator()(T handle) const {
        Close(handle);
    }
};

template <typename H, auto Close>
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<H>, HandleCloser<Close>>;

using UniqueModule = UniqueHandle<HMODULE, FreeLibrary>;
using UniqueKey = UniqueHandle<HKEY, RegCloseKey>;
using UniqueFind = UniqueHandle<HANDLE, FindClose>;
// Files, processes, threads, snapshots: every kernel object closed with CloseHandle.
using UniqueKernelObject = UniqueHandle<HANDLE, CloseHandle>;
using UniqueFile = UniqueKernelObject;
using UniqueService = UniqueHandle<SC_HANDLE, CloseServiceHandle>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteObject>;
using UniqueFont = UniqueHandle<HFONT, DeleteObject>;
using UniqueMemoryDc = UniqueHandle<HDC, DeleteDC>;

// A window's device context goes back to that window (the screen's when it is null).
struct WindowDcReleaser {
    HWND window = nullptr;
    void operator()(HDC dc) const { ReleaseDC(window, dc); }
};
using UniqueWindowDc = std::unique_ptr<std::remove_pointer_t<HDC>, WindowDcReleaser>;
inline UniqueWindowDc GetWindowDc(HWND window) {
    return UniqueWindowDc(GetDC(window), WindowDcReleaser{window});
}

// A COM interface pointer, released when it goes.
struct ComReleaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename T>
using UniqueCom = std::unique_ptr<T, ComReleaser>;

// INVALID_HANDLE_VALUE is how file and find calls fail; the owner then holds nothing.
inline HANDLE ValidOrNull(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

}  // namespace platform
