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
    platform::Result<std::vector<platform::FileEntry>> FindFiles(
        const std::string& pattern) const override;
    platform::Result<std::string> ReadFile(const std::string& path) const override;
    platform::Result<void> WriteFile(const std::string& path, std::string_view bytes) override;
    platform::Result<platform::FileInfo> Info(const std::string& path) const override;
    platform::Result<std::unique_ptr<platform::OpenFile>> Open(const std::string& path,
                                                               platform::OpenMode mode) override;
    platform::Result<void> CopyFile(const std::string& source,
                                    const std::string& destination) override;
    platform::Result<std::int64_t> CopyNewFile(const std::string& source,
                                               const std::string& destination,
                                               const platform::BeforeKept& before_kept) override;
    platform::Result<void> CreateDirectories(const std::string& path) override;
    platform::Result<void> CreateNewDirectory(const std::string& path) override;
    platform::Result<std::unique_ptr<platform::PendingFile>> CreatePending(
        const std::string& path) override;
    platform::Result<void> DeleteFile(const std::string& path) override;
    platform::Result<void> SetAttributes(const std::string& path,
                                         std::uint32_t attributes) override;
    platform::Result<void> RemoveDirectory(const std::string& path) override;
    platform::Result<void> MoveReplacing(const std::string& from, const std::string& to) override;
    // There are no short names here.
    platform::Result<std::string> ShortPath(const std::string& path) const override;

  private:
    // A copy written beside the destination, put in place (replacing a file there) when whole
    // and its step before being kept has succeeded.
    platform::Result<void> CopyPending(const std::string& source, const std::string& destination,
                                       const platform::BeforeKept& before_kept);
};

}  // namespace zkconvert
