// The programs' version resources read back through the platform's version API, as the file's
// properties and deployment tools read them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/wide.h"

namespace {

struct Program {
    const char* path;  // relative to the build folder
    const char* file_name;
};

const Program kPrograms[] = {
    {"distribution\\single\\setup.exe", "setup.exe"},
    {"distribution\\single\\zkuninst.exe", "zkuninst.exe"},
    {"distribution\\single\\tools\\zkconvert.exe", "zkconvert.exe"},
    {"tools\\zkdist.exe", "zkdist.exe"},
};

// The build folder: two levels above this test program.
std::wstring BuildFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    for (int level = 0; level < 3; ++level)
        folder.resize(folder.find_last_of(L'\\'));
    return folder;
}

std::string Text(const std::vector<char>& data, const wchar_t* name) {
    void* value = nullptr;
    UINT size = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(data.data(), query.c_str(), &value, &size) || size == 0)
        return "(none)";
    return platform::Narrow(static_cast<const wchar_t*>(value));
}

class VersionResource : public testing::TestWithParam<Program> {};

TEST_P(VersionResource, NamesTheProductAndTheBuildsVersion) {
    const std::wstring path = BuildFolder() + L"\\" + platform::Wide(GetParam().path);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GT(size, 0U) << GetParam().path << ": no version resource";
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));

    void* fixed_value = nullptr;
    UINT fixed_size = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", &fixed_value, &fixed_size));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(fixed_value);
    ASSERT_EQ(fixed->dwSignature, 0xFEEF04BDU);
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
    const std::string dots = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                             std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                             std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                             std::to_string(LOWORD(fixed->dwFileVersionLS));
    EXPECT_TRUE(dots.starts_with("5.0.")) << dots;

    EXPECT_EQ(Text(data, L"ProductName"), "Zinkolar");
    EXPECT_EQ(Text(data, L"CompanyName"), "Kelmo Association");
    EXPECT_EQ(Text(data, L"OriginalFilename"), GetParam().file_name);
    EXPECT_EQ(Text(data, L"FileVersion"), dots);
    EXPECT_EQ(Text(data, L"ProductVersion"), dots);
    EXPECT_NE(Text(data, L"FileDescription"), "(none)");
}

INSTANTIATE_TEST_SUITE_P(Programs, VersionResource, testing::ValuesIn(kPrograms),
                         [](const auto& info) {
                             std::string name = info.param.file_name;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
