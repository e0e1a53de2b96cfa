#pragma once
// A read-only view of a fake file system whose search matches as the platform's does through
// short 8.3 names: "*.lng" also finds "notes.lngx" (NOTES~1.LNG), so every name in the folder
// is given and the caller must look at the long name itself.
#include "platform/fake/fake_files.h"

class ShortNameMatches final : public platform::FileSystem {
  public:
    explicit ShortNameMatches(const platform::FakeFileSystem& files) : files_(files) {}
    bool FileExists(const std::string& path) const override { return files_.FileExists(path); }
    bool DirectoryExists(const std::string& path) const override {
        return files_.DirectoryExists(path);
    }
    platform::Result<std::vector<platform::FileEntry>> FindFiles(
        const std::string& pattern) const override {
        return files_.FindFiles(pattern.substr(0, pattern.rfind('\\')) + "\\*");
    }
    platform::Result<std::string> ReadFile(const std::string& path) const override {
        return files_.ReadFile(path);
    }
    platform::Result<void> WriteFile(const std::string&, std::string_view) override {
        return kReadOnly;
    }
    platform::Result<platform::FileInfo> Info(const std::string& path) const override {
        return files_.Info(path);
    }
    platform::Result<std::unique_ptr<platform::OpenFile>> Open(const std::string&,
                                                               platform::OpenMode) override {
        return kReadOnly;
    }
    platform::Result<void> CopyFile(const std::string&, const std::string&) override {
        return kReadOnly;
    }
    platform::Result<std::int64_t> CopyNewFile(const std::string&, const std::string&,
                                               const platform::BeforeKept&) override {
        return kReadOnly;
    }
    platform::Result<void> CreateDirectories(const std::string&) override { return kReadOnly; }
    platform::Result<void> CreateNewDirectory(const std::string&) override { return kReadOnly; }
    platform::Result<std::unique_ptr<platform::PendingFile>> CreatePending(
        const std::string&) override {
        return kReadOnly;
    }
    platform::Result<void> DeleteFile(const std::string&) override { return kReadOnly; }
    platform::Result<void> SetAttributes(const std::string&, std::uint32_t) override {
        return kReadOnly;
    }
    platform::Result<void> RemoveDirectory(const std::string&) override { return kReadOnly; }
    platform::Result<void> MoveReplacing(const std::string&, const std::string&) override {
        return kReadOnly;
    }
    platform::Result<std::string> ShortPath(const std::string& path) const override {
        return files_.ShortPath(path);
    }

  private:
    static inline const platform::Error kReadOnly{platform::kErrorAccessDenied};
    const platform::FakeFileSystem& files_;
};
