#pragma once
// Run-time loading of libraries: the branding library's resources and the product's functions.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/result.h"

namespace platform {

// A picture as 32-bit pixels, rows top-down, each pixel a colour 0x00BBGGRR (the platform's
// colour order, as res.dll's background colour is written).
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// One loaded library; released when destroyed.
class Library {
  public:
    virtual ~Library() = default;
    // The exported function of that name, or null.
    virtual void* Function(const char* name) const = 0;
    // String resource (read through a 255-character buffer); nullopt when absent.
    virtual std::optional<std::string> String(unsigned id) const = 0;
    // Bitmap resource by name; nullopt when absent.
    virtual std::optional<Bitmap> Picture(const char* name) const = 0;
};

class Libraries {
  public:
    virtual ~Libraries() = default;
    // Loads a library of the program's folder by its file name (a full path is taken as it is),
    // never through a search of other folders.
    virtual Result<std::unique_ptr<Library>> Load(const std::string& name) = 0;
};

}  // namespace platform
