#pragma once
// The real platform: every operation through the Win32 API (W functions, UTF-8 outside).
#include <memory>

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
};

class Win32Registry final : public Registry {
  public:
    std::optional<std::string> ReadString(RegistryRoot root, const std::string& key,
                                          const std::string& value) const override;
    bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& value) override;
};

class Win32Shell final : public Shell {
  public:
    std::string SpecialFolder(int id) const override;
    void Open(const std::string& target) override;
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
};

std::unique_ptr<Libraries> MakeWin32Libraries();

struct Win32Platform {
    Win32FileSystem files;
    std::unique_ptr<Libraries> libraries = MakeWin32Libraries();
    AnsiCodec codec;
    Win32Registry registry;
    Win32Shell shell;
    Win32System system;
    Platform Get() { return Platform{files, *libraries, codec, registry, shell, system}; }
};

}  // namespace platform
