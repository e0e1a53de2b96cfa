#pragma once
// File-system operations. Paths are UTF-8 with backslashes, as on Windows.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

// In the Windows build <windows.h> may have made these names macros for its A/W calls; here they
// are this layer's own operations.
#undef CopyFile
#undef DeleteFile
#undef RemoveDirectory

namespace platform {

struct FileEntry {
    std::string name;  // bare name, no folder
    bool directory = false;
};

// The platform's attribute bits that the program looks at.
inline constexpr std::uint32_t kAttributeReadOnly = 0x01;
inline constexpr std::uint32_t kAttributeHidden = 0x02;
inline constexpr std::uint32_t kAttributeSystem = 0x04;
inline constexpr std::uint32_t kAttributeDirectory = 0x10;
inline constexpr std::uint32_t kAttributeArchive = 0x20;
// What a new copy carries from the call that creates it until it is whole (CopyNewFile).
inline constexpr std::uint32_t kAttributesUnfinished = kAttributeHidden | kAttributeSystem;

struct FileInfo {
    std::int64_t size = 0;
    std::int64_t write_time = 0;  // last write, 100 ns units since 1601-01-01 UTC (FILETIME)
    std::uint32_t attributes = 0;
    bool Directory() const { return (attributes & kAttributeDirectory) != 0; }
    // A new copy that a killed run left unfinished: empty and marked so, as only the instant
    // between its creation and its mark for removal leaves one. It is no file of anybody's.
    bool Unfinished() const {
        constexpr std::uint32_t kLooked =
            kAttributesUnfinished | kAttributeReadOnly | kAttributeDirectory;
        return size == 0 && (attributes & kLooked) == kAttributesUnfinished;
    }
};

// One open file; closed when destroyed. Writes go to the platform when they return (no buffer
// of our own), so what a call wrote is on disk even if the process dies right after it.
class OpenFile {
  public:
    virtual ~OpenFile() = default;
    // Up to size bytes from the current position; fewer at the end, none past it.
    virtual Result<std::string> Read(std::size_t size) = 0;
    // All the bytes at the current position, which moves past them.
    virtual Result<void> Write(std::string_view bytes) = 0;
    virtual Result<void> Seek(std::int64_t offset) = 0;
    // Cuts the file at the current position.
    virtual Result<void> Truncate() = 0;
    virtual std::int64_t Size() const = 0;
};

// A new file written under a fresh name beside the file it is to become (a name no file had, so
// nothing of anybody's is replaced by it). Until Commit puts it in place, the system removes it
// when its handle closes, also when the process dies first: a file cut short by a killed run is
// never found. The handle is the only thing that ever removes it. Its name: PendingName.
class PendingFile : public OpenFile {
  public:
    // Puts the file in place of the file it is to become, replacing one there, and closes it.
    // On failure the file is removed and the one there stays as it was.
    virtual Result<void> Commit() = 0;
};

// What a new copy runs just before it is kept (CopyNewFile); empty for nothing.
using BeforeKept = std::function<Result<void>()>;

enum class OpenMode {
    Read,      // an existing file, read only, others may read it too
    Create,    // a new empty file, replacing one of that name
    ReadWrite  // an existing file, or a new one when there is none
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    virtual bool FileExists(const std::string& path) const = 0;
    virtual bool DirectoryExists(const std::string& path) const = 0;
    // Entries matching a pattern with * and ? in its last component, any attributes,
    // "." and ".." included when the pattern matches them (as the platform does). None when
    // nothing matches; a folder that cannot be searched (missing, denied) is an error.
    virtual Result<std::vector<FileEntry>> FindFiles(const std::string& pattern) const = 0;
    // The whole file as bytes.
    virtual Result<std::string> ReadFile(const std::string& path) const = 0;
    // Replaces the file with the bytes.
    virtual Result<void> WriteFile(const std::string& path, std::string_view bytes) = 0;

    // Size, time and attributes of a file or folder; kErrorFileNotFound or kErrorPathNotFound
    // when there is none, another code when it cannot be looked at.
    virtual Result<FileInfo> Info(const std::string& path) const = 0;
    virtual Result<std::unique_ptr<OpenFile>> Open(const std::string& path, OpenMode mode) = 0;
    // A file copy that carries the source's last-write time and attributes, written as a
    // PendingFile beside the destination and put in place of a file there only when whole: a
    // copy that fails leaves the destination as it was and nothing else behind.
    virtual Result<void> CopyFile(const std::string& source, const std::string& destination) = 0;
    // The same copy to a name where nothing is: fails with kErrorFileExists, touching nothing,
    // when a file or folder is there; a copy that fails part-way removes what it made. The
    // platform looks for the name once (a look for a missing name reads the whole folder).
    // Until the copy is whole the system removes it when its handle closes, also when the
    // process dies: a killed run leaves no file cut short at that name. The mark for removal
    // takes a second call, so the name is made with kAttributesUnfinished in the call itself
    // and gets the source's attributes only when whole: a kill between the two calls leaves an
    // empty file that FileInfo::Unfinished recognises.
    // before_kept, when not empty, runs once the copy is whole and carries the source's
    // attributes, just before the copy is kept (its mark for removal cleared): what has to be on
    // disk before the file can be found whole, as the record an uninstaller goes by. A kill up
    // to the moment it is kept leaves no file at the name but an unfinished one. A step that
    // fails (or throws) abandons the copy, which is removed, and the call fails with its error.
    // Gives the bytes the copy holds, so that nobody need look the name up again.
    virtual Result<std::int64_t> CopyNewFile(const std::string& source,
                                             const std::string& destination,
                                             const BeforeKept& before_kept) = 0;
    // Creates a folder and every missing parent; success when it exists afterwards.
    virtual Result<void> CreateDirectories(const std::string& path) = 0;
    // Creates one folder in an existing parent; fails with kErrorAlreadyExists when a folder or
    // file of that name is there.
    virtual Result<void> CreateNewDirectory(const std::string& path) = 0;
    // A PendingFile that is to become path.
    virtual Result<std::unique_ptr<PendingFile>> CreatePending(const std::string& path) = 0;
    virtual Result<void> DeleteFile(const std::string& path) = 0;
    // Sets the attribute bits (kAttribute...) of a file; the directory bit is not among them.
    virtual Result<void> SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // Removes a folder that holds nothing; a folder with any entry stays (kErrorDirNotEmpty).
    virtual Result<void> RemoveDirectory(const std::string& path) = 0;
    // Renames a file, replacing an existing file at the new name in one step.
    virtual Result<void> MoveReplacing(const std::string& from, const std::string& to) = 0;
    // The short (8.3) form of an existing path; an error when the platform gives none.
    virtual Result<std::string> ShortPath(const std::string& path) const = 0;
};

}  // namespace platform
