#pragma once
// Registry, shell, spooler, drives and the other system facts the wizard reads at start.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class RegistryRoot { LocalMachine, CurrentUser, ClassesRoot };

class Registry {
  public:
    virtual ~Registry() = default;
    // A string value of a key opened without creating it; nullopt when key or value is missing.
    virtual std::optional<std::string> ReadString(RegistryRoot root, const std::string& key,
                                                  const std::string& value) const = 0;
    virtual bool DeleteValue(RegistryRoot root, const std::string& key,
                             const std::string& value) = 0;
};

class Shell {
  public:
    virtual ~Shell() = default;
    // Path of a special folder by its identifier (23, 25, 26 ...); empty when it fails.
    virtual std::string SpecialFolder(int id) const = 0;
    // Opens a folder or starts a program with the default action in a normal window.
    virtual void Open(const std::string& target) = 0;
};

struct DriverDirectory {
    bool ok = false;
    std::string path;         // when ok
    std::uint32_t error = 0;  // the platform's last error when not ok
};

class System {
  public:
    virtual ~System() = default;
    // Full path of the running program file.
    virtual std::string ProgramPath() const = 0;
    virtual std::string SystemDirectory() const = 0;
    // win.ini through the platform's profile-string calls; empty when absent.
    virtual std::string ReadWinIni(const std::string& section, const std::string& key) const = 0;
    // The local spooler's printer-driver folder for the current environment; may throw.
    virtual DriverDirectory PrinterDriverDirectory() const = 0;
    // Root folders of the drives, lower case: "c:\", "d:\" ...
    virtual std::vector<std::string> Drives() const = 0;
    // Bytes available to the user on a drive root; -1 when the platform cannot tell.
    virtual std::int64_t FreeSpace(const std::string& root) const = 0;
    // The current folder of a drive ("c:") and making a folder current.
    virtual std::string CurrentDirectoryOf(const std::string& drive) const = 0;
    virtual bool ChangeDirectory(const std::string& path) = 0;
};

}  // namespace platform
