#include "image.h"

#include <wincodec.h>
#include <windows.h>

#include <filesystem>
#include <stdexcept>

#include "platform/win32/handles.h"
#include "strings.h"

namespace e2e {
namespace {

void Check(HRESULT result, const char* what) {
    if (FAILED(result)) {
        char code[16];
        wsprintfA(code, "%08lx", static_cast<unsigned long>(result));
        throw std::runtime_error(std::string("saving a screenshot: ") + what + " failed, 0x" +
                                 code);
    }
}

using platform::ComApartment;
using platform::UniqueCom;

// An object made by a call that hands it out through a pointer to a pointer.
template <typename T, typename Make>
UniqueCom<T> Made(Make make, const char* what) {
    T* object = nullptr;
    Check(make(&object), what);
    return UniqueCom<T>(object);
}

// Encodes with the platform's imaging component; bgr holds rows top to bottom.
void WritePng(const std::wstring& path, int width, int height,
              const std::vector<std::uint8_t>& bgr) {
    const auto factory = Made<IWICImagingFactory>(
        [](IWICImagingFactory** out) {
            return CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory, reinterpret_cast<void**>(out));
        },
        "the imaging factory");
    const auto stream =
        Made<IWICStream>([&](IWICStream** out) { return factory->CreateStream(out); }, "a stream");
    Check(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE), "creating the file");
    const auto encoder = Made<IWICBitmapEncoder>(
        [&](IWICBitmapEncoder** out) {
            return factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, out);
        },
        "the PNG encoder");
    Check(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache), "starting the file");
    const auto frame = Made<IWICBitmapFrameEncode>(
        [&](IWICBitmapFrameEncode** out) { return encoder->CreateNewFrame(out, nullptr); },
        "a frame");
    Check(frame->Initialize(nullptr), "starting the frame");
    Check(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)), "the size");
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    Check(frame->SetPixelFormat(&format), "the pixel format");
    if (format != GUID_WICPixelFormat24bppBGR) {
        throw std::runtime_error("saving a screenshot: the PNG encoder refuses 24-bit BGR");
    }
    Check(frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(width) * 3,
                             static_cast<UINT>(bgr.size()), const_cast<BYTE*>(bgr.data())),
          "writing the pixels");
    Check(frame->Commit(), "finishing the frame");
    Check(encoder->Commit(), "finishing the file");
}

}  // namespace

// The pixels of a bitmap, converted by GDI to 24-bit rows, top row first.
Image::Image(HBITMAP bitmap) {
    BITMAP header{};
    GetObjectW(bitmap, sizeof header, &header);
    width_ = header.bmWidth;
    height_ = header.bmHeight;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const size_t pixels = static_cast<size_t>(width_) * static_cast<size_t>(height_);
    std::vector<std::uint8_t> bgrx(pixels * 4);
    const int rows = GetDIBits(platform::GetWindowDc(nullptr).get(), bitmap, 0,
                               static_cast<UINT>(height_), bgrx.data(), &info, DIB_RGB_COLORS);
    if (rows != height_) {
        throw std::runtime_error("reading the pixels of a bitmap failed");
    }
    bgr_.resize(pixels * 3);
    for (size_t i = 0; i < pixels; ++i) {
        bgr_[i * 3] = bgrx[i * 4];
        bgr_[i * 3 + 1] = bgrx[i * 4 + 1];
        bgr_[i * 3 + 2] = bgrx[i * 4 + 2];
    }
}

Image Image::CaptureScreen() {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const platform::UniqueWindowDc screen = platform::GetWindowDc(nullptr);
    const platform::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    {
        const platform::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
        const HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
        const BOOL copied = BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY);
        SelectObject(memory.get(), old);
        if (copied == 0) {
            throw std::runtime_error("capturing the screen failed");
        }
    }
    return Image(bitmap.get());
}

Image Image::CaptureSettledScreen(Timeout timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    Image last = CaptureScreen();
    for (;;) {
        Sleep(200);
        Image next = CaptureScreen();
        if (next == last || std::chrono::steady_clock::now() >= deadline) {
            return next;
        }
        last = std::move(next);
    }
}

std::optional<Image> Image::LoadBitmapResource(std::string_view library, std::string_view name) {
    const platform::UniqueModule module(
        LoadLibraryExW(HostPath(library).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) {
        return std::nullopt;
    }
    const platform::UniqueBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(module.get(), Wide(name).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!bitmap) {
        return std::nullopt;
    }
    return Image(bitmap.get());
}

std::uint32_t Image::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        throw std::out_of_range("pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                                ") is off the screen");
    }
    const size_t at =
        (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3;
    return RGB(bgr_[at + 2], bgr_[at + 1], bgr_[at]);
}

void Image::SavePng(const std::wstring& path) const {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    const ComApartment com;
    WritePng(path, width_, height_, bgr_);
}

}  // namespace e2e
