#pragma once
// One owner type per kind of platform handle: movable, never copyable, closed when it goes.
// Shared by the program, the product's stand-in libraries and the end-to-end driver.
#include <windows.h>
// COM's base interface and start, after <windows.h>, which they build on.
#include <objbase.h>
#include <unknwn.h>

#include <memory>
#include <type_traits>
#include <utility>

// <windows.h> makes these names macros for the A/W calls; in this code they are the platform
// layer's own operations (FileSystem::CopyFile ...), which call the W functions by name.
#undef CopyFile
#undef DeleteFile

namespace platform {

// What a kind of handle holds when it holds nothing: null for most kinds.
template <typename H>
struct NullIsInvalid {
    static H Invalid() { return nullptr; }
};
// Files, find searches and snapshots: the calls that make them fail with INVALID_HANDLE_VALUE.
struct MinusOneIsInvalid {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
};

// The owner of one handle. Its invalid value is part of its type, so what the call that makes
// the handle returns is owned as it is, failure included; false while it holds nothing.
template <typename H, auto Close, typename None = NullIsInvalid<H>>
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(H handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    H get() const { return handle_; }
    explicit operator bool() const { return handle_ != None::Invalid(); }
    H release() { return std::exchange(handle_, None::Invalid()); }
    void reset(H handle = None::Invalid()) {
        if (const H old = std::exchange(handle_, handle); old != None::Invalid())
            Close(old);
    }

  private:
    H handle_ = None::Invalid();
};

using UniqueModule = UniqueHandle<HMODULE, FreeLibrary>;
using UniqueKey = UniqueHandle<HKEY, RegCloseKey>;
using UniqueFind = UniqueHandle<HANDLE, FindClose, MinusOneIsInvalid>;
// Processes, threads, events, pipes: kernel objects whose calls fail with null.
using UniqueKernelObject = UniqueHandle<HANDLE, CloseHandle>;
// Files and snapshots, closed with CloseHandle too but failed as INVALID_HANDLE_VALUE.
using UniqueFile = UniqueHandle<HANDLE, CloseHandle, MinusOneIsInvalid>;
using UniqueSnapshot = UniqueFile;
using UniqueService = UniqueHandle<SC_HANDLE, CloseServiceHandle>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteObject>;
using UniqueFont = UniqueHandle<HFONT, DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteObject>;
using UniqueMemoryDc = UniqueHandle<HDC, DeleteDC>;
// Memory the system hands out from the local heap (CommandLineToArgvW's array).
template <typename P>
using UniqueLocal = UniqueHandle<P, LocalFree>;

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

// COM for the calling thread (a single-threaded apartment), for as long as the scope lasts; left
// again only when entering it succeeded.
class ComApartment {
  public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }

  private:
    HRESULT result_;
};

}  // namespace platform
