#pragma once
// The real platform: every operation through the Win32 API (W functions, UTF-8 outside).
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "platform/link_file.h"
#include "platform/platform.h"

namespace platform {

// The system's ANSI code page (GetACP).
class AnsiCodec final : public TextCodec {
  public:
    std::string AnsiToUtf8(std::string_view ansi) const override;
    std::string Utf8ToAnsi(std::string_view utf8) const override;
};

class Win32FileSystem final : public FileSystem {
  public:
    bool FileExists(const std::string& path) const override;
    bool DirectoryExists(const std::string& path) const override;
    std::vector<FileEntry> FindFiles(const std::string& pattern) const override;
    std::optional<std::string> ReadFile(const std::string& path) const override;
    bool WriteFile(const std::string& path, std::string_view bytes) override;
    std::optional<FileInfo> Info(const std::string& path) const override;
    std::unique_ptr<OpenFile> Open(const std::string& path, OpenMode mode, Status& error) override;
    Status CopyFile(const std::string& source, const std::string& destination) override;
    Status CopyNewFile(const std::string& source, const std::string& destination,
                       std::int64_t& size) override;
    Status CreateDirectories(const std::string& path) override;
    Status CreateNewDirectory(const std::string& path) override;
    std::unique_ptr<PendingFile> CreatePending(const std::string& path, Status& error) override;
    Status DeleteFile(const std::string& path) override;
    Status SetAttributes(const std::string& path, std::uint32_t attributes) override;
    Status RemoveDirectory(const std::string& path) override;
    Status MoveReplacing(const std::string& from, const std::string& to) override;
    std::string ShortPath(const std::string& path) const override;

  private:
    // One buffer for every copy: the copies run one at a time, on the installation's thread.
    std::vector<char> buffer_;
};

class Win32Registry final : public Registry {
  public:
    std::optional<std::string> ReadString(RegistryRoot root, const std::string& key,
                                          const std::string& value) const override;
    std::optional<std::uint32_t> ReadDword(RegistryRoot root, const std::string& key,
                                           const std::string& value) const override;
    bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& value) override;
    bool KeyExists(RegistryRoot root, const std::string& key) const override;
    Status CreateKey(RegistryRoot root, const std::string& key) override;
    Status WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                       const std::string& data) override;
    Status WriteDword(RegistryRoot root, const std::string& key, const std::string& name,
                      std::uint32_t data) override;
    Status DeleteTree(RegistryRoot root, const std::string& key) override;
    Status DeleteEmptyKey(RegistryRoot root, const std::string& key) override;
};

class Win32Shell final : public Shell {
  public:
    std::string SpecialFolder(int id) const override;
    void Open(const std::string& target) override;
    std::optional<Status> CreateLink(const ShellLink& link, const std::string& file) override;
    void AnnounceLinks() override;
    // Needs COM initialised on the calling thread.
    std::optional<ShellLink> ReadLink(const std::string& file) const override;

  private:
    LinkTargetFacts TargetFacts(const std::string& target);

    AnsiCodec codec_;
    std::map<std::wstring, LinkVolume> volumes_;  // by drive root, as first asked
    std::set<std::wstring> link_folders_;         // of the links not announced yet
};

class Win32System final : public System {
  public:
    std::string ProgramPath() const override;
    std::string SystemDirectory() const override;
    std::string ReadWinIni(const std::string& section, const std::string& key) const override;
    DriverDirectory PrinterDriverDirectory() const override;
    std::vector<std::string> Drives() const override;
    std::int64_t FreeSpace(const std::string& root) const override;
    std::string CurrentDirectoryOf(const std::string& drive) const override;
    bool ChangeDirectory(const std::string& path) override;
    Status WriteWinIni(const std::string& section, const std::string& key,
                       const std::string& value) override;
    Status DeleteWinIni(const std::string& section, const std::string& key) override;
    std::optional<std::vector<std::string>> ProcessNames() const override;
    void BroadcastMessage(const std::string& message_name, unsigned timeout_ms) override;
    void SetBusyCursor(bool busy) override;
};

class Win32Clock final : public Clock {
  public:
    std::uint64_t Milliseconds() const override;
    void Sleep(unsigned milliseconds) override;
    std::string LocalTimeAndDate() const override;
    std::uint32_t LocalDosDateTime(std::int64_t file_time) const override;
};

std::unique_ptr<Libraries> MakeWin32Libraries();

struct Win32Platform {
    Win32FileSystem files;
    std::unique_ptr<Libraries> libraries = MakeWin32Libraries();
    AnsiCodec codec;
    Win32Registry registry;
    Win32Shell shell;
    Win32System system;
    Win32Clock clock;
    NoTrace no_trace;
    Trace* trace = &no_trace;  // the account the command line asks for, if any
    Platform Get() {
        return Platform{files, *libraries, codec, registry, shell, system, clock, *trace};
    }
};

}  // namespace platform
