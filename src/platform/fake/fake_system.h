#pragma once
// In-memory registry, shell and system facts for tests, with switchable failures.
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "platform/fake/fake_failures.h"
#include "platform/fake/fake_files.h"
#include "platform/system.h"

namespace platform {

// Keys and values with the platform's case-insensitive names: a value lives in a key, and a key
// in its parent, so writing into a missing key fails as it does on the platform.
class FakeRegistry final : public Registry {
  public:
    // Sets a value, making its key and the key's parents.
    void Set(RegistryRoot root, const std::string& key, const std::string& value,
             const std::string& data);
    bool Has(RegistryRoot root, const std::string& key, const std::string& value) const;
    Result<std::string> ReadString(RegistryRoot root, const std::string& key,
                                   const std::string& value) const override;
    Result<void> DeleteValue(RegistryRoot root, const std::string& key,
                             const std::string& value) override;
    bool KeyExists(RegistryRoot root, const std::string& key) const override;
    Result<void> CreateKey(RegistryRoot root, const std::string& key) override;
    Result<void> WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                             const std::string& data) override;
    Result<void> WriteDword(RegistryRoot root, const std::string& key, const std::string& name,
                            std::uint32_t data) override;
    Result<std::uint32_t> ReadDword(RegistryRoot root, const std::string& key,
                                    const std::string& value) const override;
    Result<void> DeleteTree(RegistryRoot root, const std::string& key) override;
    Result<void> DeleteEmptyKey(RegistryRoot root, const std::string& key) override;

    FakeFailures failures;

  private:
    using KeyName = std::pair<RegistryRoot, std::string>;  // lower-case path
    using Name = std::tuple<RegistryRoot, std::string, std::string>;
    static KeyName KeyNameOf(RegistryRoot root, const std::string& key);
    static Name NameOf(RegistryRoot root, const std::string& key, const std::string& value);
    // Why a key cannot be deleted, as the platform refuses both deletions; success when it can.
    Result<void> DeletionRefused(RegistryRoot root, const std::string& key) const;
    std::map<KeyName, std::string> keys_;  // -> path as first written
    // A value holds a string or, as on the platform, a number that reads as no string.
    using Data = std::variant<std::string, std::uint32_t>;
    Result<void> WriteValue(RegistryRoot root, const std::string& key, const std::string& name,
                            Data data);
    std::map<Name, Data> values_;
};

// Links are files in the fake file system, so that finding, copying and deleting them works as
// on the platform; their bytes hold the link's properties.
class FakeShell final : public Shell {
  public:
    explicit FakeShell(FakeFileSystem& files) : files_(files) {}

    std::map<int, std::string> folders;
    std::vector<std::string> opened;
    std::vector<std::string> links;   // files of the links saved, in order
    std::size_t links_announced = 0;  // how many of them the last AnnounceLinks covered
    FakeFailures failures;

    Result<std::string> SpecialFolder(int id) const override;
    Result<void> Open(const std::string& target) override {
        opened.push_back(target);
        return Success();
    }
    Result<void> CreateLink(const ShellLink& link, const std::string& file) override;
    void AnnounceLinks() override { links_announced = links.size(); }
    Result<ShellLink> ReadLink(const std::string& file) const override;

  private:
    FakeFileSystem& files_;
};

struct WinIniWrite {
    std::string section;
    std::string key;
    std::string value;
    bool operator==(const WinIniWrite&) const = default;
};

struct Broadcast {
    std::string message;
    unsigned timeout_ms = 0;
    bool operator==(const Broadcast&) const = default;
};

class FakeSystem final : public System {
  public:
    std::string program_path = "D:\\Setup\\setup.exe";
    std::string system_directory = "C:\\WINDOWS\\system32";
    std::map<std::pair<std::string, std::string>, std::string> win_ini;  // lower-case names
    Result<std::string> driver_directory{"C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\"};
    bool driver_directory_throws = false;
    std::vector<std::string> drives = {"a:\\", "c:\\", "d:\\"};
    std::map<std::string, std::int64_t> free_space;          // by lower-case root "c:\"
    std::map<std::string, std::string> current_directories;  // by lower-case drive "c:"
    std::string current_directory = "C:\\";
    std::vector<WinIniWrite> win_ini_writes;
    std::vector<std::string> processes = {"[System Process]", "explorer.exe", "setup.exe"};
    std::vector<Broadcast> broadcasts;
    bool busy_cursor = false;
    FakeFailures failures;

    void SetWinIni(const std::string& section, const std::string& key, const std::string& value);
    std::string ProgramPath() const override { return program_path; }
    std::string SystemDirectory() const override { return system_directory; }
    std::string ReadWinIni(const std::string& section, const std::string& key) const override;
    Result<std::string> PrinterDriverDirectory() const override;
    std::vector<std::string> Drives() const override { return drives; }
    Result<std::int64_t> FreeSpace(const std::string& root) const override;
    Result<std::string> CurrentDirectoryOf(const std::string& drive) const override;
    Result<void> ChangeDirectory(const std::string& path) override;
    Result<void> WriteWinIni(const std::string& section, const std::string& key,
                             const std::string& value) override;
    Result<void> DeleteWinIni(const std::string& section, const std::string& key) override;
    Result<std::vector<std::string>> ProcessNames() const override;
    void BroadcastMessage(const std::string& message_name, unsigned timeout_ms) override {
        broadcasts.push_back({message_name, timeout_ms});
    }
    void SetBusyCursor(bool busy) override { busy_cursor = busy; }
};

}  // namespace platform
