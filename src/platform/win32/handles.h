#pragma once
// One owner type per kind of platform handle: movable, never copyable, closed when it goes.
#include <windows.h>

#include <memory>
#include <type_traits>

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
using UniqueFile = UniqueHandle<HANDLE, CloseHandle>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteObject>;

// INVALID_HANDLE_VALUE is how file and find calls fail; the owner then holds nothing.
inline HANDLE ValidOrNull(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

}  // namespace platform
