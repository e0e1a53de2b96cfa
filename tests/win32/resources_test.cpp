// The branding library res.dll of both sample distributions, read through the program's
// platform::Libraries: strings by number and pictures by name.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {

struct Variant {
    const char* folder;  // res\<folder>\res.dll beside the test program
    const char* kind;    // string 103
    const char* colour;  // string 110
};

const Variant kVariants[] = {
    {"single", "single", "$602C10"},
    {"clientserver", "clientserver", "4212736"},
};

std::string ResPath(const char* folder) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::string dir = Narrow(path);
    dir.resize(dir.find_last_of('\\'));
    return dir + "\\res\\" + folder + "\\res.dll";
}

class ResourceLibrary : public ::testing::TestWithParam<Variant> {
  protected:
    void SetUp() override {
        auto loaded = libraries_->Load(ResPath(GetParam().folder));
        ASSERT_TRUE(loaded) << ResPath(GetParam().folder);
        library_ = std::move(*loaded);
    }
    std::unique_ptr<Libraries> libraries_ = MakeWin32Libraries();
    std::unique_ptr<Library> library_;
};

TEST_P(ResourceLibrary, StringsByNumber) {
    const struct {
        unsigned id;
        std::optional<std::string> text;
    } cases[] = {
        {101, "Zinkolar"},   {103, GetParam().kind}, {110, GetParam().colour},
        {102, std::nullopt}, {999, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(library_->String(c.id), c.text) << c.id;
    }
}

TEST_P(ResourceLibrary, PicturesByName) {
    const struct {
        const char* name;
        int width;
        int height;
    } cases[] = {
        {"LEFTUP", 300, 64},
        {"DOWNRIGHT", 151, 247},
        {"WIZARD", 164, 314},
    };
    for (const auto& c : cases) {
        const std::optional<Bitmap> picture = library_->Picture(c.name);
        ASSERT_TRUE(picture.has_value()) << c.name;
        EXPECT_EQ(picture->width, c.width) << c.name;
        EXPECT_EQ(picture->height, c.height) << c.name;
        EXPECT_EQ(picture->pixels.size(), static_cast<size_t>(c.width) * c.height) << c.name;
    }
    EXPECT_FALSE(library_->Picture("NOSUCHPICTURE").has_value());
}

// WIZARD runs from navy (red 20, green 50, blue 110) in its top row to teal (40, 140, 170) in its
// bottom row: a swapped channel order or bottom-up rows would show here.
TEST_P(ResourceLibrary, PicturePixelsAreTopDownInColourOrderBlueGreenRed) {
    const std::optional<Bitmap> wizard = library_->Picture("WIZARD");
    ASSERT_TRUE(wizard.has_value());
    EXPECT_EQ(wizard->At(0, 0), 0x006E3214u);
    EXPECT_EQ(wizard->At(0, wizard->height - 1), 0x00AA8C28u);
    const std::optional<Bitmap> logo = library_->Picture("LEFTUP");
    ASSERT_TRUE(logo.has_value());
    EXPECT_EQ(logo->At(0, 0), 0x00FFFFFFu);  // the plain corner the colour key floods
}

INSTANTIATE_TEST_SUITE_P(ResourceVariants, ResourceLibrary, ::testing::ValuesIn(kVariants),
                         [](const auto& info) { return std::string(info.param.folder); });

TEST(ResourceLibraryLoad, AbsentLibraryGivesNull) {
    EXPECT_FALSE(MakeWin32Libraries()->Load("zk_absent_res.dll"));
}

}  // namespace
}  // namespace platform
