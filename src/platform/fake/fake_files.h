#pragma once
// An in-memory file system with the platform's case-insensitive names, sizes, times and
// attributes, its refusals (read-only and hidden files, files held open by another handle) and
// switchable failures, for tests.
#include <map>
#include <optional>
#include <string>

#include "platform/fake/fake_failures.h"
#include "platform/files.h"

namespace platform {

// The moments of a new copy (CopyNewFile) at which a test can have the process killed: made,
// not yet marked for removal; marked and being written; whole, its step before being kept done,
// not yet kept; kept, the call not yet returned. A copy over a file (CopyFile) dies before it
// is put in place at every moment but the last.
enum class FakeKillMoment { Created, Writing, BeforeKept, Kept };
struct FakeKill {
    std::string path;  // the copy whose destination holds this text, letter case ignored
    FakeKillMoment moment;
};
// Thrown where the process would have died, after the fake has left what the system leaves.
struct FakeKilled {};

class FakeFileSystem final : public FileSystem {
  public:
    // 2020-01-01 00:00 UTC: the write time of files the fake writes, unless a test sets another.
    static constexpr std::int64_t kDefaultTime = 132223104000000000;

    // Adds a file (and its folders) with the given bytes.
    void AddFile(const std::string& path, std::string bytes, std::int64_t write_time = kDefaultTime,
                 std::uint32_t attributes = kAttributeArchive);
    void AddDirectory(const std::string& path);
    void Remove(const std::string& path);
    // The bytes of a file, or nullopt.
    std::optional<std::string> Bytes(const std::string& path) const;

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
    // Fresh names "~zk00001", "~zk00002" ... in the order they are asked for.
    Result<std::unique_ptr<PendingFile>> CreatePending(const std::string& path) override;
    Result<void> DeleteFile(const std::string& path) override;
    // Of a file or a folder (a test sets a folder's too).
    Result<void> SetAttributes(const std::string& path, std::uint32_t attributes) override;
    Result<void> RemoveDirectory(const std::string& path) override;
    Result<void> MoveReplacing(const std::string& from, const std::string& to) override;
    // "~1" forms of the names longer than 8.3, as the platform makes them for a new file.
    Result<std::string> ShortPath(const std::string& path) const override;

    // Switchable failures.
    bool fail_reads = false;
    bool fail_writes = false;
    FakeFailures failures;
    // Once: the process dies in a copy.
    std::optional<FakeKill> kill;
    // The write time given to what the fake writes.
    std::int64_t now = kDefaultTime;

  private:
    friend class FakeOpenFile;
    friend class FakePendingFile;
    struct Entry {
        std::string path;  // as first written
        std::string bytes;
        std::int64_t write_time = 0;
        std::uint32_t attributes = kAttributeArchive;
        int readers = 0;  // open handles; readers let others write, writers only read
        int writers = 0;
    };
    // The moment of the kill when it is armed for this destination; disarms it.
    std::optional<FakeKillMoment> TakeKill(const std::string& destination);
    Entry* Find(const std::string& path);
    const Entry* Find(const std::string& path) const;
    // The platform's error for a path that is not there: the file, or its folder.
    Error Missing(const std::string& path) const;
    // Why an existing file cannot be replaced or changed; success when it can.
    static Result<void> Refusal(const Entry& entry, std::uint32_t protecting_attributes);
    // Writes bytes as the new content of a file, honouring a rule's byte limit.
    Result<void> Store(const std::string& path, std::string_view bytes, const FailureRule* rule,
                       std::int64_t write_time, std::uint32_t attributes);

    std::map<std::string, Entry> files_;                         // by lower-case path
    std::map<std::string, std::string> directories_;             // lower-case path -> path
    std::map<std::string, std::uint32_t> directory_attributes_;  // where a test set them
    unsigned pending_number_ = 1;
};

// True when a bare name matches a pattern of * and ?, ignoring letter case.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace platform
