#pragma once
// The file system of a POSIX machine behind the platform's interface, for the native build of
// zkconvert: backslashes in paths stand for "/", names keep the machine's letter case, and
// searches match names ignoring it, as the platform's do.
#include "platform/files.h"

namespace zkconvert {

class PosixFileSystem final : public platform::FileSystem {
  public:
    bool FileExists(const std::string& path) const override;
    bool DirectoryExists(const std::string& path) const override;
    std::vector<platform::FileEntry> FindFiles(const std::string& pattern) const override;
    std::optional<std::string> ReadFile(const std::string& path) const override;
    bool WriteFile(const std::string& path, std::string_view bytes) override;
    std::optional<platform::FileInfo> Info(const std::string& path) const override;
    std::unique_ptr<platform::OpenFile> Open(const std::string& path, platform::OpenMode mode,
                                             platform::Status& error) override;
    platform::Status CopyFile(const std::string& source, const std::string& destination) override;
    platform::Status CopyNewFile(const std::string& source, const std::string& destination,
                                 std::int64_t& size) override;
    platform::Status CreateDirectories(const std::string& path) override;
    platform::Status CreateNewDirectory(const std::string& path) override;
    std::unique_ptr<platform::PendingFile> CreatePending(const std::string& path,
                                                         platform::Status& error) override;
    platform::Status DeleteFile(const std::string& path) override;
    platform::Status SetAttributes(const std::string& path, std::uint32_t attributes) override;
    platform::Status RemoveDirectory(const std::string& path) override;
    platform::Status MoveReplacing(const std::string& from, const std::string& to) override;
    // There are no short names here.
    std::string ShortPath(const std::string& path) const override;
};

}  // namespace zkconvert
