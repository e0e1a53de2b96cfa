// Run-time libraries by full path only; resources through LoadStringW and LoadImageW.
#include "platform/win32/libraries.h"

#include <windows.h>

#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/win32/dib.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {

// With a full path, the library's own dependencies are looked for beside it first, then in the
// system folder; the program's folder is not searched for them.
constexpr DWORD kFullPathSearch = LOAD_WITH_ALTERED_SEARCH_PATH;

template <typename F>
F KernelFunction(const char* name) {
    return reinterpret_cast<F>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

std::wstring SystemFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
    return length > 0 && length <= MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

// The folder of setup.exe, with its trailing backslash.
std::wstring ProgramFolder() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    path.resize(path.find_last_of(L'\\') + 1);
    return path;
}

bool IsFullPath(std::wstring_view path) {
    return path.starts_with(L"\\\\") || (path.size() > 2 && path[1] == L':' && path[2] == L'\\');
}

// GetDIBits gives 0x00RRGGBB; pictures are kept in the colour order of res.dll's colours.
std::uint32_t ToColorRef(std::uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

class Win32Library final : public Library {
  public:
    explicit Win32Library(UniqueModule module) : module_(std::move(module)) {}

    void* Function(const char* name) const override {
        return reinterpret_cast<void*>(GetProcAddress(module_.get(), name));
    }

    std::optional<std::string> String(unsigned id) const override {
        std::array<wchar_t, 255> buffer{};
        const int length =
            LoadStringW(module_.get(), id, buffer.data(), static_cast<int>(buffer.size()));
        if (length <= 0) {
            return std::nullopt;
        }
        return Narrow(std::wstring_view(buffer.data(), static_cast<size_t>(length)));
    }

    std::optional<Bitmap> Picture(const char* name) const override {
        // A DIB section keeps the resource's own colours whatever the screen depth.
        UniqueBitmap bitmap(static_cast<HBITMAP>(LoadImageW(
            module_.get(), Wide(name).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (!bitmap) {
            return std::nullopt;
        }
        BITMAP info{};
        if (GetObjectW(bitmap.get(), sizeof(info), &info) == 0) {
            throw std::runtime_error("GetObject failed for bitmap resource");
        }
        Bitmap result;
        result.width = info.bmWidth;
        result.height = info.bmHeight;
        result.pixels.resize(static_cast<size_t>(info.bmWidth) * info.bmHeight);

        BITMAPINFO format = TopDownDibFormat(info.bmWidth, info.bmHeight);
        const UniqueWindowDc dc = GetWindowDc(nullptr);
        if (GetDIBits(dc.get(), bitmap.get(), 0, static_cast<UINT>(info.bmHeight),
                      result.pixels.data(), &format, DIB_RGB_COLORS) != info.bmHeight) {
            throw std::runtime_error("GetDIBits failed for bitmap resource");
        }
        for (std::uint32_t& pixel : result.pixels) {
            pixel = ToColorRef(pixel);
        }
        return result;
    }

  private:
    UniqueModule module_;
};

class Win32Libraries final : public Libraries {
  public:
    Result<std::unique_ptr<Library>> Load(const std::string& name) override {
        std::wstring path = Wide(name);
        if (!IsFullPath(path))
            path = ProgramFolder() + path;
        UniqueModule module(LoadLibraryExW(path.c_str(), nullptr, kFullPathSearch));
        if (!module) {
            return Failure(GetLastError(), "LoadLibraryEx " + name);
        }
        return std::unique_ptr<Library>(std::make_unique<Win32Library>(std::move(module)));
    }
};

}  // namespace

void RestrictLibrarySearch() {
    // Systems without the first call (before Windows 8 and its update for 7) get the second,
    // which at least takes the current folder out.
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    using SetDirectory = BOOL(WINAPI*)(LPCWSTR);
    const auto set_default = KernelFunction<SetDefaultDirectories>("SetDefaultDllDirectories");
    if (set_default != nullptr && set_default(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    if (const auto set_directory = KernelFunction<SetDirectory>("SetDllDirectoryW"))
        set_directory(L"");
}

UniqueModule LoadSystemLibrary(const wchar_t* file_name) {
    const std::wstring folder = SystemFolder();
    if (folder.empty())
        return {};
    return UniqueModule(
        LoadLibraryExW((folder + L"\\" + file_name).c_str(), nullptr, kFullPathSearch));
}

std::unique_ptr<Libraries> MakeWin32Libraries() {
    return std::make_unique<Win32Libraries>();
}

}  // namespace platform
