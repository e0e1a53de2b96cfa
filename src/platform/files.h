#pragma once
// File-system operations. Paths are UTF-8 with backslashes, as on Windows.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct FileEntry {
    std::string name;  // bare name, no folder
    bool directory = false;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    virtual bool FileExists(const std::string& path) const = 0;
    virtual bool DirectoryExists(const std::string& path) const = 0;
    // Entries matching a pattern with * and ? in its last component, any attributes,
    // "." and ".." included when the pattern matches them (as the platform does).
    virtual std::vector<FileEntry> FindFiles(const std::string& pattern) const = 0;
    // The whole file as bytes; nullopt when it cannot be read.
    virtual std::optional<std::string> ReadFile(const std::string& path) const = 0;
    // Replaces the file with the bytes; false when it cannot be written.
    virtual bool WriteFile(const std::string& path, std::string_view bytes) = 0;
};

}  // namespace platform
