// The installation log written through the real file API, read back by the platform's own
// profile reader (what the uninstaller uses), while the log is still open and after it is closed:
// in-place changes, slack padding and whole-file rewrites must all look like an ordinary
// profile file to it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "script/install_log.h"

namespace {

std::string TempFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder =
        std::string(temp) + "script_log_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// Section -> key -> value, as GetPrivateProfileStringA lists and reads them.
using Records = std::map<std::string, std::map<std::string, std::string>>;

std::vector<std::string> List(const char* section, const std::string& path) {
    std::vector<char> buffer(1 << 20);
    const DWORD size = GetPrivateProfileStringA(section, nullptr, "", buffer.data(),
                                                static_cast<DWORD>(buffer.size()), path.c_str());
    std::vector<std::string> names;
    for (const char* name = buffer.data(); name < buffer.data() + size && *name != '\0';
         name += std::strlen(name) + 1) {
        names.emplace_back(name);
    }
    return names;
}

Records ReadAll(const std::string& path) {
    Records records;
    for (const std::string& section : List(nullptr, path)) {
        for (const std::string& key : List(section.c_str(), path)) {
            char value[2048];
            GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value,
                                     path.c_str());
            records[section][key] = value;
        }
    }
    return records;
}

TEST(InstallLogWin32, ThePlatformReadsEveryRecord) {
    const std::string folder = TempFolder();
    const std::string path = folder + "\\install.ini";
    // An earlier installation's log, written by the platform itself.
    DeleteFileA(path.c_str());
    WritePrivateProfileStringA("main", "start", "10:00:00 01.01.2026", path.c_str());
    WritePrivateProfileStringA("folder", "C:\\Old", "1", path.c_str());
    WritePrivateProfileStringA("file", "C:\\Old\\a.exe", "1", path.c_str());
    WritePrivateProfileStringA("cregkey", ".mix", "1", path.c_str());
    Records expected = ReadAll(path);

    platform::Win32FileSystem files;
    platform::AnsiCodec codec;
    platform::Result<void> error;
    auto log = script::OpenInstallLog(files, codec, path, error);
    ASSERT_TRUE(log) << error.code();
    const auto check = [&](const char* when) { EXPECT_EQ(ReadAll(path), expected) << when; };

    ASSERT_TRUE(log->LogText("main", "start", "9:00:00 02.01.2026"));
    ASSERT_TRUE(log->LogText("main", "version", "Zinkolar Server 5.0"));
    expected["main"]["start"] = "9:00:00 02.01.2026";
    expected["main"]["version"] = "Zinkolar Server 5.0";
    check("main written");
    // Enough records into sections that are not at the end to run out of slack several times.
    for (int i = 0; i < 1500; ++i) {
        const std::string n = std::to_string(i);
        ASSERT_TRUE(log->LogItem("folder", "C:\\New\\Folder" + n, true));
        ASSERT_TRUE(log->LogItem("file", "C:\\New\\file" + n + ".dat", i % 2 == 0));
        expected["folder"]["C:\\New\\Folder" + n] = "1";
        expected["file"]["C:\\New\\file" + n + ".dat"] = i % 2 == 0 ? "1" : "0";
        if (i % 500 == 0) {
            check(("after record " + n).c_str());
        }
    }
    ASSERT_TRUE(log->LogItem("file", "c:\\old\\A.EXE", false));
    expected["file"]["C:\\Old\\a.exe"] = "0";
    ASSERT_TRUE(log->UnlogItem("cregkey", ".MIX"));
    expected.erase("cregkey");  // its header stays, with no key to read
    ASSERT_TRUE(log->LogItem("lregvalue", "SOFTWARE\\X|.zkx", true));
    expected["lregvalue"]["SOFTWARE\\X|.zkx"] = "1";
    check("while open");
    EXPECT_EQ(log->Keys("folder").size(), 1501u);
    log.reset();
    check("closed");
    EXPECT_EQ(GetFileAttributesA((path + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
}

}  // namespace
