#pragma once
// In-memory registry, shell and system facts for tests, with switchable failures.
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/system.h"

namespace platform {

class FakeRegistry final : public Registry {
  public:
    void Set(RegistryRoot root, const std::string& key, const std::string& value,
             const std::string& data);
    bool Has(RegistryRoot root, const std::string& key, const std::string& value) const;
    std::optional<std::string> ReadString(RegistryRoot root, const std::string& key,
                                          const std::string& value) const override;
    bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& value) override;

  private:
    using Name = std::tuple<RegistryRoot, std::string, std::string>;
    static Name NameOf(RegistryRoot root, const std::string& key, const std::string& value);
    std::map<Name, std::string> values_;
};

class FakeShell final : public Shell {
  public:
    std::map<int, std::string> folders;
    std::vector<std::string> opened;
    std::string SpecialFolder(int id) const override;
    void Open(const std::string& target) override { opened.push_back(target); }
};

class FakeSystem final : public System {
  public:
    std::string program_path = "D:\\Setup\\setup.exe";
    std::string system_directory = "C:\\WINDOWS\\system32";
    std::map<std::pair<std::string, std::string>, std::string> win_ini;  // lower-case names
    DriverDirectory driver_directory{true, "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\", 0};
    bool driver_directory_throws = false;
    std::vector<std::string> drives = {"a:\\", "c:\\", "d:\\"};
    std::map<std::string, std::int64_t> free_space;          // by lower-case root "c:\"
    std::map<std::string, std::string> current_directories;  // by lower-case drive "c:"
    std::string current_directory = "C:\\";

    void SetWinIni(const std::string& section, const std::string& key, const std::string& value);
    std::string ProgramPath() const override { return program_path; }
    std::string SystemDirectory() const override { return system_directory; }
    std::string ReadWinIni(const std::string& section, const std::string& key) const override;
    DriverDirectory PrinterDriverDirectory() const override;
    std::vector<std::string> Drives() const override { return drives; }
    std::int64_t FreeSpace(const std::string& root) const override;
    std::string CurrentDirectoryOf(const std::string& drive) const override;
    bool ChangeDirectory(const std::string& path) override;
};

}  // namespace platform
