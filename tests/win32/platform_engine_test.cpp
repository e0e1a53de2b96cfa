// The platform operations of the installation run against the real API: registry, files, shell
// links, win.ini, processes and time.
#include <windows.h>

#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <filesystem>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <string_view>

#include "platform/text.h"
#include "platform/win32/handles.h"
#include "platform/win32/registry_keys.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {

constexpr std::uint32_t kFileNotFound = kErrorFileNotFound;
constexpr std::uint32_t kAccessDenied = kErrorAccessDenied;
// 2021-03-04 05:06:08 UTC.
constexpr std::int64_t kKnownTime = 132593079680000000;

void SetWriteTime(const std::string& path, std::int64_t time) {
    const UniqueFile file(CreateFileW(Wide(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file) << path;
    FILETIME written{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &written));
}

class PlatformEngine : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = Narrow(temp) + "zk platform тест";
        Clear();
        ASSERT_TRUE(files_.CreateDirectories(folder_));
    }
    void TearDown() override {
        Clear();
        IgnoreFailure(registry_.DeleteTree(RegistryRoot::CurrentUser, kKey),
                      "a test that made no key leaves none");
        CoUninitialize();
    }
    // Read-only files included: the folder goes whole.
    void Clear() const {
        const std::filesystem::path root(Wide(folder_));
        std::error_code error;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(root, error);
    }
    std::string Path(const std::string& name) const { return folder_ + "\\" + name; }
    void Write(const std::string& name, std::string_view bytes) {
        ASSERT_TRUE(files_.WriteFile(Path(name), bytes)) << name;
    }

    static constexpr const wchar_t* kKeyName = L"Kelmo Platform Test";
    static constexpr const char* kKey = "Software\\Kelmo Platform Test";
    std::string folder_;
    Win32FileSystem files_;
    Win32Registry registry_;
};

TEST_F(PlatformEngine, RegistryRoundTrips) {
    const std::string deep = std::string(kKey) + "\\Ключ\\Deeper";
    const RegistryRoot user = RegistryRoot::CurrentUser;
    EXPECT_EQ(registry_.WriteString(user, deep, "Name", "x").code(), kFileNotFound);
    EXPECT_FALSE(registry_.KeyExists(user, deep));
    ASSERT_TRUE(registry_.CreateKey(user, deep));
    ASSERT_TRUE(registry_.CreateKey(user, deep));  // an existing key opens as well
    EXPECT_TRUE(registry_.KeyExists(user, std::string(kKey) + "\\КЛЮЧ"));
    struct Case {
        const char* name;
        const char* data;
    } const cases[] = {{"", "default value"}, {"Path", "C:\\Программы\\Kelmo"}, {"Empty", ""}};
    for (const Case& c : cases) {
        ASSERT_TRUE(registry_.WriteString(user, deep, c.name, c.data)) << c.name;
        EXPECT_EQ(registry_.ReadString(user, deep, c.name), c.data) << c.name;
    }
    // Numbers are REG_DWORD values of four bytes, which read as no string.
    EXPECT_EQ(registry_.WriteDword(user, kKey + std::string("\\Missing"), "Size", 1).code(),
              kFileNotFound);
    const std::pair<const char*, std::uint32_t> numbers[] = {
        {"Zero", 0}, {"NoModify", 1}, {"EstimatedSize", 0x12345678}, {"Largest", 0xFFFFFFFF}};
    for (const auto& [name, number] : numbers) {
        ASSERT_TRUE(registry_.WriteDword(user, deep, name, number)) << name;
        DWORD type = 0;
        DWORD data = 0xDEADBEEF;
        DWORD size = sizeof data;
        ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, Wide(deep).c_str(), Wide(name).c_str(),
                               RRF_RT_ANY, &type, &data, &size),
                  ERROR_SUCCESS)
            << name;
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << name;
        EXPECT_EQ(size, 4u) << name;
        EXPECT_EQ(data, number) << name;
        EXPECT_EQ(registry_.ReadString(user, deep, name), std::nullopt) << name;
        EXPECT_EQ(registry_.ReadDword(user, deep, name), number) << name;
    }
    // A string or a missing value reads as no number.
    EXPECT_EQ(registry_.ReadDword(user, deep, "Path"), std::nullopt);
    EXPECT_EQ(registry_.ReadDword(user, deep, "Absent"), std::nullopt);
    // Absent and of another type stay apart.
    EXPECT_EQ(registry_.ReadDword(user, deep, "Absent").code(), kFileNotFound);
    EXPECT_EQ(registry_.ReadDword(user, deep, "Path").code(), kErrorInvalidDatatype);
    EXPECT_EQ(registry_.ReadString(user, deep + "\\None", "Path").code(), kFileNotFound);
    ASSERT_TRUE(registry_.DeleteTree(user, kKey));
    EXPECT_FALSE(registry_.KeyExists(user, kKey));
    EXPECT_EQ(registry_.DeleteTree(user, kKey).code(), kFileNotFound);
    EXPECT_EQ(registry_.DeleteTree(user, "\\").code(), kErrorInvalidParameter);
}

// Systems before Vista lack RegDeleteTreeW; the program then deletes the tree itself.
TEST_F(PlatformEngine, KeyTreeDeletedByHand) {
    const RegistryRoot user = RegistryRoot::CurrentUser;
    for (const char* key : {"\\A\\B\\C", "\\A\\B\\D", "\\A\\E", "\\F"}) {
        ASSERT_TRUE(registry_.CreateKey(user, kKey + std::string(key)));
        ASSERT_TRUE(registry_.WriteString(user, kKey + std::string(key), "v", key));
    }
    const UniqueKey parent = [] {
        HKEY key = nullptr;
        RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_ALL_ACCESS, &key);
        return UniqueKey(key);
    }();
    ASSERT_EQ(DeleteKeyTreeByHand(parent.get(), kKeyName), ERROR_SUCCESS);
    EXPECT_FALSE(registry_.KeyExists(user, kKey));
}

TEST_F(PlatformEngine, CopyCarriesTimeAndAttributesAndReplaces) {
    Write("source.dll", "new bytes");
    SetWriteTime(Path("source.dll"), kKnownTime);
    ASSERT_TRUE(SetFileAttributesW(Wide(Path("source.dll")).c_str(),
                                   FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    Write("existing.dll", "older and longer bytes");
    const Result<std::int64_t> size = files_.CopyNewFile(Path("source.dll"), Path("fresh.dll"), {});
    ASSERT_TRUE(size);
    EXPECT_EQ(*size, 9);
    for (const char* target : {"new.dll", "existing.dll", "fresh.dll"}) {
        if (std::string_view(target) != "fresh.dll") {
            ASSERT_TRUE(files_.CopyFile(Path("source.dll"), Path(target))) << target;
        }
        const auto info = files_.Info(Path(target));
        ASSERT_TRUE(info);
        EXPECT_EQ(info->size, 9) << target;
        EXPECT_EQ(info->write_time, kKnownTime) << target;
        EXPECT_EQ(info->attributes, kAttributeReadOnly | kAttributeArchive) << target;
        EXPECT_EQ(files_.ReadFile(Path(target)), "new bytes") << target;
    }
}

// The step before a new copy is kept finds it whole with the source's attributes; a step that
// fails leaves nothing at the name: the copy is still marked for removal, read-only as the
// source made it.
TEST_F(PlatformEngine, ANewCopyIsKeptOnlyAfterItsStep) {
    Write("source.dll", "new bytes");
    ASSERT_TRUE(SetFileAttributesW(Wide(Path("source.dll")).c_str(),
                                   FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    for (const std::uint32_t outcome : {0u, kErrorDiskFull}) {
        const std::string copy = Path("copy" + std::to_string(outcome) + ".dll");
        std::optional<FileInfo> seen;
        const Result<std::int64_t> status =
            files_.CopyNewFile(Path("source.dll"), copy, [&]() -> Result<void> {
                seen = files_.Info(copy).value_or(FileInfo{});
                if (outcome != 0)
                    return Failure(outcome);
                return Success();
            });
        EXPECT_EQ(status.code(), outcome);
        ASSERT_TRUE(seen);
        EXPECT_EQ(seen->size, 9);
        EXPECT_EQ(seen->attributes, kAttributeReadOnly | kAttributeArchive);
        EXPECT_EQ(files_.FileExists(copy), outcome == 0) << copy;
    }
}

// A new copy is marked unfinished by the call that makes it and carries the source's attributes
// once whole. What a kill before its mark for removal leaves keeps the mark on this volume, and
// a copy puts the file in its place.
TEST_F(PlatformEngine, AnUnfinishedCopyIsRecognisedAndReplaced) {
    Write("plain.dll", "bytes");
    ASSERT_TRUE(files_.CopyNewFile(Path("plain.dll"), Path("new.dll"), {}));
    EXPECT_EQ(files_.Info(Path("new.dll"))->attributes, files_.Info(Path("plain.dll"))->attributes);
    EXPECT_FALSE(files_.Info(Path("new.dll"))->Unfinished());
    CloseHandle(CreateFileW(Wide(Path("left.dll")).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            kAttributesUnfinished, nullptr));
    ASSERT_TRUE(files_.Info(Path("left.dll"))->Unfinished());
    ASSERT_TRUE(files_.CopyFile(Path("plain.dll"), Path("left.dll")));
    EXPECT_EQ(files_.ReadFile(Path("left.dll")), "bytes");
    EXPECT_FALSE(files_.Info(Path("left.dll"))->Unfinished());
}

// The refusals the fake file system copies, each with the platform's error. Those of read-only
// and hidden destinations cannot be seen here: Wine running as root writes them anyway.
TEST_F(PlatformEngine, FileOperationErrors) {
    Write("file.txt", "bytes");
    Write("read-only.txt", "bytes");
    SetFileAttributesW(Wide(Path("read-only.txt")).c_str(), FILE_ATTRIBUTE_READONLY);
    struct Case {
        const char* what;
        std::uint32_t status;
        std::uint32_t error;
    } const cases[] = {
        {"copy of a missing file", files_.CopyFile(Path("none"), Path("x")).code(), kFileNotFound},
        {"copy into a missing folder", files_.CopyFile(Path("file.txt"), Path("none\\x")).code(),
         kErrorPathNotFound},
        {"delete of a missing file", files_.DeleteFile(Path("none")).code(), kFileNotFound},
        {"delete of a read-only file", files_.DeleteFile(Path("read-only.txt")).code(),
         kAccessDenied},
        {"folder over a file", files_.CreateDirectories(Path("file.txt\\sub")).code(),
         kErrorAlreadyExists},
        {"move of a missing file", files_.MoveReplacing(Path("none"), Path("file.txt")).code(),
         kFileNotFound},
        {"new copy onto a file", files_.CopyNewFile(Path("none"), Path("file.txt"), {}).code(),
         kErrorFileExists},
        {"new copy of a missing file", files_.CopyNewFile(Path("none"), Path("new.txt"), {}).code(),
         kFileNotFound},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.status, c.error) << c.what;
    EXPECT_EQ(files_.ReadFile(Path("file.txt")), "bytes") << "the file there is untouched";
    EXPECT_FALSE(files_.Info(Path("new.txt"))) << "the name claimed for the copy is given back";
    // For the account: the call that failed, and on what.
    const Result<std::string> missing = files_.ReadFile(Path("none"));
    EXPECT_EQ(missing.code(), kFileNotFound);
    EXPECT_EQ(missing.error().text, "CreateFile " + Path("none"));
    const Result<std::vector<FileEntry>> none = files_.FindFiles(Path("*.none"));
    ASSERT_TRUE(none) << "no match, no error: " << none.code();
    EXPECT_TRUE(none->empty());
    EXPECT_EQ(files_.FindFiles(Path("none\\*")).code(), kErrorPathNotFound);
}

// A read-only file is refused until its attribute is cleared, as the uninstaller clears it.
TEST_F(PlatformEngine, ReadOnlyAttributeSetAndCleared) {
    Write("read-only.txt", "bytes");
    ASSERT_TRUE(
        files_.SetAttributes(Path("read-only.txt"), kAttributeReadOnly | kAttributeArchive));
    EXPECT_EQ(files_.Info(Path("read-only.txt"))->attributes,
              kAttributeReadOnly | kAttributeArchive);
    EXPECT_EQ(files_.DeleteFile(Path("read-only.txt")).code(), kAccessDenied);
    ASSERT_TRUE(files_.SetAttributes(Path("read-only.txt"), 0));
    EXPECT_TRUE(files_.DeleteFile(Path("read-only.txt")));
    EXPECT_EQ(files_.SetAttributes(Path("none"), 0).code(), kFileNotFound);
}

TEST_F(PlatformEngine, OpenFileHoldsOthersOff) {
    const auto opened = files_.Open(Path("install.ini"), OpenMode::ReadWrite);
    ASSERT_TRUE(opened) << opened.code();
    OpenFile* log = opened->get();
    ASSERT_TRUE(log->Write("[main]\r\n"));
    EXPECT_EQ(files_.ReadFile(Path("install.ini")), "[main]\r\n");  // readers are let in
    EXPECT_EQ(files_.Open(Path("install.ini"), OpenMode::ReadWrite).code(), kErrorSharingViolation);
    EXPECT_EQ(files_.DeleteFile(Path("install.ini")).code(), kErrorSharingViolation);
    ASSERT_TRUE(log->Seek(2));
    ASSERT_TRUE(log->Truncate());
    EXPECT_EQ(log->Size(), 2);
}

// A pending file is found at its name only once put in place, through its own handle; given up,
// or killed with its process, it leaves nothing, and the files beside it are never touched.
TEST_F(PlatformEngine, PendingFileIsPutInPlaceOrLeavesNothing) {
    Write("install.ini", "old");
    Write("~zk.new", "the user's");
    const auto names = [&] {
        std::set<std::string> found;
        for (const FileEntry& entry : files_.FindFiles(Path("*")).value_or({}))
            if (!entry.directory)
                found.insert(entry.name);
        return found;
    };
    {
        const auto given_up = files_.CreatePending(Path("install.ini"));
        ASSERT_TRUE(given_up) << given_up.code();
        ASSERT_TRUE((*given_up)->Write("half"));
        EXPECT_EQ(names().size(), 3u) << "its fresh name beside";
    }
    EXPECT_EQ(names(), (std::set<std::string>{"install.ini", "~zk.new"}));
    const auto pending = files_.CreatePending(Path("install.ini"));
    ASSERT_TRUE(pending) << pending.code();
    ASSERT_TRUE((*pending)->Write("new"));
    EXPECT_EQ(files_.ReadFile(Path("install.ini")), "old");
    ASSERT_TRUE((*pending)->Commit());
    EXPECT_EQ(files_.ReadFile(Path("install.ini")), "new");
    EXPECT_EQ(files_.ReadFile(Path("~zk.new")), "the user's");
    EXPECT_EQ(names(), (std::set<std::string>{"install.ini", "~zk.new"}));
    ASSERT_TRUE(files_.CreateNewDirectory(Path("Backup")));
    EXPECT_EQ(files_.CreateNewDirectory(Path("Backup")).code(), kErrorAlreadyExists);
}

TEST_F(PlatformEngine, MoveReplaces) {
    Write("new.tmp", "new");
    Write("old.exe", "old content");
    ASSERT_TRUE(files_.MoveReplacing(Path("new.tmp"), Path("old.exe")));
    EXPECT_FALSE(files_.FileExists(Path("new.tmp")));
    EXPECT_EQ(files_.ReadFile(Path("old.exe")), "new");
}

TEST_F(PlatformEngine, FoldersWithParentsAndShortNames) {
    const std::string deep = Path("Новая папка\\second level\\third");
    ASSERT_TRUE(files_.CreateDirectories(deep + "\\"));
    EXPECT_TRUE(files_.DirectoryExists(deep));
    EXPECT_TRUE(files_.CreateDirectories(deep));  // there already
    EXPECT_TRUE(files_.CreateDirectories(Path("")));
    ASSERT_TRUE(files_.WriteFile(Path("a file"), "x"));
    EXPECT_EQ(files_.CreateDirectories(Path("a file")), Result<void>{Failure(kErrorAlreadyExists)});
    EXPECT_FALSE(files_.CreateDirectories(Path("a file\\below\\it")));
    EXPECT_FALSE(files_.CreateDirectories("Q:\\no drive\\folder"));
    const std::string file = deep + "\\a long file name.text";
    ASSERT_TRUE(files_.WriteFile(file, "x"));
    const std::string short_path = files_.ShortPath(file).value_or("");
    EXPECT_EQ(short_path.find(' '), std::string::npos) << short_path;
    EXPECT_TRUE(files_.FileExists(short_path)) << short_path;
    EXPECT_EQ(files_.ShortPath(Path("none")).value_or(""), "");
}

TEST_F(PlatformEngine, LinkSavedAndReadBack) {
    Win32Shell shell;
    const ShellLink link{"C:\\Program Files\\Kelmo\\Zinkolar\\Менеджер.exe", "/tray \"a b\"",
                         "C:\\Program Files\\Kelmo\\Zinkolar"};
    const auto saved = shell.CreateLink(link, Path("Менеджер.lnk"));
    ASSERT_TRUE(saved) << saved.code();
    const auto read = shell.ReadLink(Path("Менеджер.lnk"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->target, link.target);
    EXPECT_EQ(read->arguments, link.arguments);
    EXPECT_EQ(read->working_directory, link.working_directory);
    // The target's facts are kept: its size at byte 52, its attributes at byte 24.
    ASSERT_TRUE(files_.WriteFile(Path("target.exe"), "12345"));
    ASSERT_TRUE(shell.CreateLink({Path("target.exe"), "", ""}, Path("target.lnk")));
    const std::string bytes = files_.ReadFile(Path("target.lnk")).value_or("");
    ASSERT_GE(bytes.size(), 76u);
    EXPECT_EQ(bytes.substr(52, 4), std::string("\5\0\0\0", 4));
    EXPECT_NE(bytes.substr(24, 4), std::string(4, '\0'));
    EXPECT_EQ(shell.CreateLink(link, Path("none\\x.lnk")),
              Result<void>{Failure(kErrorPathNotFound)});
    EXPECT_FALSE(shell.ReadLink(Path("none.lnk")));
    EXPECT_FALSE(shell.ReadLink(Path("target.exe")));
}

// A link the system's own shell-link object saved (an item list, its own link info and extra
// data) is read with its target: another product's, or one a user made to the product.
TEST_F(PlatformEngine, LinkSavedByTheSystemIsRead) {
    ASSERT_TRUE(files_.WriteFile(Path("Журнал.exe"), "12345"));
    void* made = nullptr;
    void* persist = nullptr;
    ASSERT_TRUE(SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, &made)));
    const UniqueCom<IShellLinkW> link(static_cast<IShellLinkW*>(made));
    ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, &persist)));
    const UniqueCom<IPersistFile> file(static_cast<IPersistFile*>(persist));
    ASSERT_TRUE(SUCCEEDED(link->SetPath(Wide(Path("Журнал.exe")).c_str())));
    ASSERT_TRUE(SUCCEEDED(link->SetArguments(L"/log")));
    ASSERT_TRUE(SUCCEEDED(link->SetDescription(L"Журнал")));
    ASSERT_TRUE(SUCCEEDED(file->Save(Wide(Path("system.lnk")).c_str(), TRUE)));
    const auto read = Win32Shell().ReadLink(Path("system.lnk"));
    ASSERT_TRUE(read) << read.code();
    EXPECT_EQ(read->target, Path("Журнал.exe"));
    EXPECT_EQ(read->arguments, "/log");
}

TEST_F(PlatformEngine, WinIniWrittenAndReadBack) {
    Win32System system;
    ASSERT_TRUE(system.WriteWinIni("Kelmo Platform Test", "Path", "C:\\Kelmo\\Папка"));
    EXPECT_EQ(system.ReadWinIni("Kelmo Platform Test", "Path"), "C:\\Kelmo\\Папка");
    WriteProfileStringW(L"Kelmo Platform Test", nullptr, nullptr);
}

TEST_F(PlatformEngine, ProcessListHoldsThisProgram) {
    const auto names = Win32System().ProcessNames();
    ASSERT_TRUE(names);
    const auto is_this = [](const std::string& name) {
        return EqualsIgnoreCase(name, "win32_tests.exe");
    };
    EXPECT_NE(std::find_if(names->begin(), names->end(), is_this), names->end());
}

TEST_F(PlatformEngine, TimeTexts) {
    const Win32Clock clock;
    // The test environment's Russian user formats.
    EXPECT_TRUE(std::regex_match(clock.LocalTimeAndDate(),
                                 std::regex(R"(\d{1,2}:\d\d:\d\d \d\d\.\d\d\.\d{4})")))
        << clock.LocalTimeAndDate();
    // No TZ in the environment: local time is UTC.
    constexpr std::uint32_t kDosDate = ((2021 - 1980) << 9) | (3 << 5) | 4;
    constexpr std::uint32_t kDosTime = (5 << 11) | (6 << 5) | (8 / 2);
    EXPECT_EQ(clock.LocalDosDateTime(kKnownTime), (kDosDate << 16) | kDosTime);
}

}  // namespace
}  // namespace platform
