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
    std::vector<platform::FileEntry> FindFiles(const std::string& pattern) const override {
        return files_.FindFiles(pattern.substr(0, pattern.rfind('\\')) + "\\*");
    }
    std::optional<std::string> ReadFile(const std::string& path) const override {
        return files_.ReadFile(path);
    }
    bool WriteFile(const std::string&, std::string_view) override { return false; }
    std::optional<platform::FileInfo> Info(const std::string& path) const override {
        return files_.Info(path);
    }
    std::unique_ptr<platform::OpenFile> Open(const std::string&, platform::OpenMode,
                                             platform::Status& error) override {
        error = kReadOnly;
        return nullptr;
    }
    platform::Status CopyFile(const std::string&, const std::string&) override { return kReadOnly; }
    platform::Status CopyNewFile(const std::string&, const std::string&, std::int64_t&) override {
        return kReadOnly;
    }
    platform::Status CreateDirectories(const std::string&) override { return kReadOnly; }
    platform::Status CreateNewDirectory(const std::string&) override { return kReadOnly; }
    std::unique_ptr<platform::PendingFile> CreatePending(const std::string&,
                                                         platform::Status& error) override {
        error = kReadOnly;
        return nullptr;
    }
    platform::Status DeleteFile(const std::string&) override { return kReadOnly; }
    platform::Status SetAttributes(const std::string&, std::uint32_t) override { return kReadOnly; }
    platform::Status RemoveDirectory(const std::string&) override { return kReadOnly; }
    platform::Status MoveReplacing(const std::string&, const std::string&) override {
        return kReadOnly;
    }
    std::string ShortPath(const std::string& path) const override { return files_.ShortPath(path); }

  private:
    static constexpr platform::Status kReadOnly{platform::Status::kErrorAccessDenied};
    const platform::FakeFileSystem& files_;
};
