#pragma once
// Registry, shell, spooler, drives and the other system facts the wizard reads at start.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/result.h"

namespace platform {

enum class RegistryRoot { LocalMachine, CurrentUser, ClassesRoot };

class Registry {
  public:
    virtual ~Registry() = default;
    // A string value of a key opened without creating it; kErrorFileNotFound when key or value
    // is missing, kErrorInvalidDatatype for a value of another type.
    virtual Result<std::string> ReadString(RegistryRoot root, const std::string& key,
                                           const std::string& value) const = 0;
    // A 32-bit number value (REG_DWORD) under the same rules.
    virtual Result<std::uint32_t> ReadDword(RegistryRoot root, const std::string& key,
                                            const std::string& value) const = 0;
    virtual Result<void> DeleteValue(RegistryRoot root, const std::string& key,
                                     const std::string& value) = 0;

    // Whether a key opens without creating it.
    virtual bool KeyExists(RegistryRoot root, const std::string& key) const = 0;
    // Opens a key, creating it and its missing parents; success when it could be opened.
    virtual Result<void> CreateKey(RegistryRoot root, const std::string& key) = 0;
    // Writes a string value (the key's default value when the name is empty) into an existing
    // key, which is opened without creating it: a missing key is an error.
    virtual Result<void> WriteString(RegistryRoot root, const std::string& key,
                                     const std::string& name, const std::string& data) = 0;
    // Writes a 32-bit number value (REG_DWORD) into an existing key, under the same rules.
    virtual Result<void> WriteDword(RegistryRoot root, const std::string& key,
                                    const std::string& name, std::uint32_t data) = 0;
    // Deletes a key with all its subkeys and values.
    virtual Result<void> DeleteTree(RegistryRoot root, const std::string& key) = 0;
    // Deletes a key that holds neither subkeys nor values; any other key stays
    // (kErrorDirNotEmpty).
    virtual Result<void> DeleteEmptyKey(RegistryRoot root, const std::string& key) = 0;
};

// The three properties of a shell link that the program sets; the rest keep their defaults.
struct ShellLink {
    std::string target;
    std::string arguments;
    std::string working_directory;
    bool operator==(const ShellLink&) const = default;
};

class Shell {
  public:
    virtual ~Shell() = default;
    // Path of a special folder by its identifier (23, 25, 26 ...).
    virtual Result<std::string> SpecialFolder(int id) const = 0;
    // Opens a folder or starts a program with the default action in a normal window.
    virtual Result<void> Open(const std::string& target) = 0;
    // Saves a shell link; kErrorNotLinkable when the link's properties cannot be put in a link
    // (nothing was saved).
    virtual Result<void> CreateLink(const ShellLink& link, const std::string& file) = 0;
    // Tells the desktop of the links saved since the last call, once for each folder that holds
    // any: a notice per link would make the shell parse every link's path.
    virtual void AnnounceLinks() = 0;
    // Reads a link back (for checks).
    virtual Result<ShellLink> ReadLink(const std::string& file) const = 0;
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
    virtual Result<std::string> PrinterDriverDirectory() const = 0;
    // Root folders of the drives, lower case: "c:\", "d:\" ...
    virtual std::vector<std::string> Drives() const = 0;
    // Bytes available to the user on a drive root.
    virtual Result<std::int64_t> FreeSpace(const std::string& root) const = 0;
    // The current folder of a drive ("c:") and making a folder current.
    virtual Result<std::string> CurrentDirectoryOf(const std::string& drive) const = 0;
    virtual Result<void> ChangeDirectory(const std::string& path) = 0;

    // win.ini through the platform's profile-string call; the error is its last error.
    virtual Result<void> WriteWinIni(const std::string& section, const std::string& key,
                                     const std::string& value) = 0;
    // Removes a win.ini key through the same call, and its section once no key is left in it
    // (an empty header would stay otherwise); a key that is not there is no error.
    virtual Result<void> DeleteWinIni(const std::string& section, const std::string& key) = 0;
    // The executable names of the running processes in snapshot order; an error when no
    // snapshot can be taken (the platform lacks the calls, or they fail).
    virtual Result<std::vector<std::string>> ProcessNames() const = 0;
    // Sends a registered window message (by its name) with both parameters 0 to every top-level
    // window, waiting up to timeout_ms for each.
    virtual void BroadcastMessage(const std::string& message_name, unsigned timeout_ms) = 0;
    // The hourglass mouse cursor on, or the normal one back.
    virtual void SetBusyCursor(bool busy) = 0;
};

// Time, so that waiting and time stamps can be faked and headless tests never sleep.
class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds on a steady clock.
    virtual std::uint64_t Milliseconds() const = 0;
    virtual void Sleep(unsigned milliseconds) = 0;
    // The current local time in the user's long time format, a blank, the current date in the
    // user's short date format: "14:03:27 06.12.2026".
    virtual std::string LocalTimeAndDate() const = 0;
    // A file time (100 ns units since 1601 UTC) as local time, packed into the 32-bit form of
    // two-second resolution: date in the high 16 bits, time in the low 16 bits.
    virtual std::uint32_t LocalDosDateTime(std::int64_t file_time) const = 0;
};

}  // namespace platform
