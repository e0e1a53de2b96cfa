#pragma once
// An in-memory file system with the platform's case-insensitive names, for tests.
#include <map>
#include <string>

#include "platform/files.h"

namespace platform {

class FakeFileSystem final : public FileSystem {
  public:
    // Adds a file (and its folders) with the given bytes.
    void AddFile(const std::string& path, std::string bytes);
    void AddDirectory(const std::string& path);
    void Remove(const std::string& path);
    // The bytes of a file, or nullopt.
    std::optional<std::string> Bytes(const std::string& path) const;

    bool FileExists(const std::string& path) const override;
    bool DirectoryExists(const std::string& path) const override;
    std::vector<FileEntry> FindFiles(const std::string& pattern) const override;
    std::optional<std::string> ReadFile(const std::string& path) const override;
    bool WriteFile(const std::string& path, std::string_view bytes) override;

    // Switchable failures.
    bool fail_reads = false;
    bool fail_writes = false;

  private:
    struct Entry {
        std::string path;  // as first written
        std::string bytes;
    };
    std::map<std::string, Entry> files_;              // by lower-case path
    std::map<std::string, std::string> directories_;  // lower-case path -> path
};

// True when a bare name matches a pattern of * and ?, ignoring letter case.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace platform
