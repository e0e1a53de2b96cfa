// Run-time libraries through LoadLibraryW; resources through LoadStringW and LoadImageW.
#include <windows.h>

#include <array>
#include <memory>
#include <stdexcept>
#include <type_traits>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {

struct ReleaseScreenDc {
    void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};
using UniqueScreenDc = std::unique_ptr<std::remove_pointer_t<HDC>, ReleaseScreenDc>;

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

        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof(format.bmiHeader);
        format.bmiHeader.biWidth = info.bmWidth;
        format.bmiHeader.biHeight = -info.bmHeight;  // top-down rows
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        const UniqueScreenDc dc(GetDC(nullptr));
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
    std::unique_ptr<Library> Load(const std::string& name) override {
        UniqueModule module(LoadLibraryW(Wide(name).c_str()));
        if (!module) {
            return nullptr;
        }
        return std::make_unique<Win32Library>(std::move(module));
    }
};

}  // namespace

std::unique_ptr<Libraries> MakeWin32Libraries() {
    return std::make_unique<Win32Libraries>();
}

}  // namespace platform
