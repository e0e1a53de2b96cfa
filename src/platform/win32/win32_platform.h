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
    Result<std::vector<FileEntry>> FindFiles(const std::string& pattern) const override;
    Result<std::string> ReadFile(const std::string& path) const override;
    Result<void> WriteFile(const std::string& path, std::string_view bytes) override;
    Result<FileInfo> Info(const std::string& path) const override;
    Result<std::unique_ptr<OpenFile>> Open(const std::string& path, OpenMode mode) override;
    Result<void> CopyFile(const std::string& source, const std::string& destination) override;
    Result<std::int64_t> CopyNewFile(const std::string& source, const std::string& destination,
                                     const BeforeKept& before_kept) override;
    Result<void> CreateDirectories(const std::string& path) override;
    Result<void> CreateNewDirectory(const std::string& path) override;
    Result<std::unique_ptr<PendingFile>> CreatePending(const std::string& path) override;
    Result<void> DeleteFile(const std::string& path) override;
    Result<void> SetAttributes(const std::string& path, std::uint32_t attributes) override;
    Result<void> RemoveDirectory(const std::string& path) override;
    Result<void> MoveReplacing(const std::string& from, const std::string& to) override;
    Result<std::string> ShortPath(const std::string& path) const override;

  private:
    // One buffer for every copy: the copies run one at a time, on the installation's thread.
    std::vector<char> buffer_;
};

class Win32Registry final : public Registry {
  public:
    Result<std::string> ReadString(RegistryRoot root, const std::string& key,
                                   const std::string& value) const override;
    Result<std::uint32_t> ReadDword(RegistryRoot root, const std::string& key,
                                    const std::string& value) const override;
    Result<void> DeleteValue(RegistryRoot root, const std::string& key,
                             const std::string& value) override;
    bool KeyExists(RegistryRoot root, const std::string& key) const override;
    Result<void> CreateKey(RegistryRoot root, const std::string& key) override;
    Result<void> WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                             const std::string& data) override;
    Result<void> WriteDword(RegistryRoot root, const std::string& key, const std::string& name,
                            std::uint32_t data) override;
    Result<void> DeleteTree(RegistryRoot root, const std::string& key) override;
    Result<void> DeleteEmptyKey(RegistryRoot root, const std::string& key) override;
};

class Win32Shell final : public Shell {
  public:
    Result<std::string> SpecialFolder(int id) const override;
    Result<void> Open(const std::string& target) override;
    Result<void> CreateLink(const ShellLink& link, const std::string& file) override;
    void AnnounceLinks() override;
    // Needs COM initialised on the calling thread.
    Result<ShellLink> ReadLink(const std::string& file) const override;

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
    Result<std::string> PrinterDriverDirectory() const override;
    std::vector<std::string> Drives() const override;
    Result<std::int64_t> FreeSpace(const std::string& root) const override;
    Result<std::string> CurrentDirectoryOf(const std::string& drive) const override;
    Result<void> ChangeDirectory(const std::string& path) override;
    Result<void> WriteWinIni(const std::string& section, const std::string& key,
                             const std::string& value) override;
    Result<void> DeleteWinIni(const std::string& section, const std::string& key) override;
    Result<std::vector<std::string>> ProcessNames() const override;
    void BroadcastMessage(const std::string& message_name, unsigned timeout_ms) override;
    void SetBusyCursor(bool busy) override;
    // For a run that shows no window (very silent): the cursor is left alone, as setting it
    // would bring up the display for nothing, which takes long under Wine.
    void ShowNoWindows() { windowless_ = true; }

  private:
    bool windowless_ = false;
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
