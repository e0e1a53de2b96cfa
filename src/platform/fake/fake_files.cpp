#include "platform/fake/fake_files.h"

#include <algorithm>
#include <utility>

#include "platform/paths.h"
#include "platform/text.h"

namespace platform {
namespace {

// A path from the root of the current drive ("\\x") is on drive C:, which the fake takes as
// the current drive.
std::string Resolve(const std::string& path) {
    const bool from_root = !path.empty() && path[0] == '\\' && (path.size() < 2 || path[1] != '\\');
    return from_root ? "C:" + path : path;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

std::string Key(const std::string& path) {
    return WithoutTrailingSlashes(ToLower(Resolve(path)));
}

std::string ParentOf(const std::string& path) {
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The platform's short form of one name: kept when it is a valid 8.3 name, else the first six
// letters of the name, "~1" and the first three of the extension, in upper case.
std::string ShortName(const std::string& name) {
    const auto dot = name.rfind('.');
    const std::string stem = name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    const bool valid = stem.size() <= 8 && extension.size() <= 3 && !stem.empty() &&
                       name.find(' ') == std::string::npos && stem.find('.') == std::string::npos;
    if (valid)
        return name;
    const auto upper = [](std::string text, size_t length) {
        std::erase_if(text, [](char c) { return c == ' ' || c == '.'; });
        text.resize(std::min(text.size(), length));
        for (char& c : text)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return text;
    };
    const std::string short_extension = upper(extension, 3);
    return upper(stem, 6) + "~1" + (short_extension.empty() ? "" : "." + short_extension);
}

}  // namespace

// A handle on a fake file; the entry stays while the handle is open, since the fake refuses to
// delete or replace a file that is open.
class FakeOpenFile final : public OpenFile {
  public:
    // Failure rules on writes match the file's path or rule_path (a pending file's final path).
    FakeOpenFile(FakeFileSystem& files, std::string key, bool writable, std::string rule_path = {})
        : files_(files),
          key_(std::move(key)),
          writable_(writable),
          rule_path_(std::move(rule_path)) {
        ++(writable_ ? Entry().writers : Entry().readers);
    }
    ~FakeOpenFile() override {
        if (auto found = files_.files_.find(key_); found != files_.files_.end())
            --(writable_ ? found->second.writers : found->second.readers);
    }

    Result<std::string> Read(std::size_t size) override {
        if (const FailureRule* rule = files_.failures.Check(FakeOperation::Read, Entry().path))
            return Failure(rule->error);
        const std::string& bytes = Entry().bytes;
        if (position_ >= static_cast<std::int64_t>(bytes.size()))
            return std::string();
        std::string part = bytes.substr(static_cast<size_t>(position_), size);
        position_ += static_cast<std::int64_t>(part.size());
        return part;
    }

    Result<void> Write(std::string_view bytes) override {
        if (!writable_)
            return Failure(kErrorAccessDenied);
        const FailureRule* rule =
            files_.failures.Check(FakeOperation::Write, Entry().path, rule_path_);
        size_t count = bytes.size();
        if (rule != nullptr) {
            const std::int64_t room = rule->after_bytes ? *rule->after_bytes - written_ : 0;
            count = static_cast<size_t>(std::clamp<std::int64_t>(room, 0, count));
        }
        std::string& content = Entry().bytes;
        const auto start = static_cast<size_t>(position_);
        if (content.size() < start + count)
            content.resize(start + count, '\0');
        content.replace(start, count, bytes.substr(0, count));
        Entry().write_time = files_.now;
        position_ += static_cast<std::int64_t>(count);
        written_ += static_cast<std::int64_t>(count);
        if (rule != nullptr && count < bytes.size())
            return Failure(rule->error);
        return Success();
    }

    Result<void> Seek(std::int64_t offset) override {
        if (offset < 0)
            return Failure(kErrorNegativeSeek);
        position_ = offset;
        return Success();
    }

    Result<void> Truncate() override {
        if (!writable_)
            return Failure(kErrorAccessDenied);
        Entry().bytes.resize(static_cast<size_t>(position_), '\0');
        Entry().write_time = files_.now;
        return Success();
    }

    std::int64_t Size() const override {
        return static_cast<std::int64_t>(files_.files_.at(key_).bytes.size());
    }

  private:
    FakeFileSystem::Entry& Entry() { return files_.files_.at(key_); }

    FakeFileSystem& files_;
    std::string key_;
    bool writable_;
    std::string rule_path_;
    std::int64_t position_ = 0;
    std::int64_t written_ = 0;  // through this handle, for a rule's byte limit
};

// A pending file: an open writer on its fresh name, which it removes unless it is committed.
class FakePendingFile final : public PendingFile {
  public:
    FakePendingFile(FakeFileSystem& files, std::string name, std::string path)
        : files_(files),
          name_(std::move(name)),
          path_(std::move(path)),
          file_(std::make_unique<FakeOpenFile>(files, Key(name_), true, path_)) {}
    ~FakePendingFile() override {
        if (file_) {
            file_.reset();
            files_.Remove(name_);
        }
    }

    Result<std::string> Read(std::size_t size) override { return file_->Read(size); }
    Result<void> Write(std::string_view bytes) override { return file_->Write(bytes); }
    Result<void> Seek(std::int64_t offset) override { return file_->Seek(offset); }
    Result<void> Truncate() override { return file_->Truncate(); }
    std::int64_t Size() const override { return file_->Size(); }

    Result<void> Commit() override {
        file_.reset();
        Result<void> moved = files_.MoveReplacing(name_, path_);
        if (!moved)
            files_.Remove(name_);
        return moved;
    }

    // What a copy carries over, set on the file as the platform's copy sets it.
    void Carry(std::int64_t write_time, std::uint32_t attributes) {
        FakeFileSystem::Entry& entry = files_.files_.at(Key(name_));
        entry.write_time = write_time;
        entry.attributes = attributes;
    }

  private:
    FakeFileSystem& files_;
    std::string name_;
    std::string path_;
    std::unique_ptr<FakeOpenFile> file_;
};

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    if (pattern.empty())
        return name.empty();
    if (pattern[0] == '*') {
        for (size_t skip = 0; skip <= name.size(); ++skip) {
            if (WildcardMatch(pattern.substr(1), name.substr(skip)))
                return true;
        }
        return false;
    }
    if (name.empty())
        return false;
    if (pattern[0] != '?' && !EqualsIgnoreCase(pattern.substr(0, 1), name.substr(0, 1))) {
        return false;
    }
    return WildcardMatch(pattern.substr(1), name.substr(1));
}

void FakeFileSystem::AddDirectory(const std::string& path) {
    const std::string clean = WithoutTrailingSlashes(path);
    if (clean.empty())
        return;
    directories_.emplace(Key(clean), clean);
    AddDirectory(ParentOf(clean));
}

void FakeFileSystem::AddFile(const std::string& path, std::string bytes, std::int64_t write_time,
                             std::uint32_t attributes) {
    AddDirectory(ParentOf(path));
    files_[Key(path)] = Entry{path, std::move(bytes), write_time, attributes};
}

void FakeFileSystem::Remove(const std::string& path) {
    files_.erase(Key(path));
    directories_.erase(Key(path));
}

Result<void> FakeFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    if (const FailureRule* rule = failures.Check(FakeOperation::SetAttributes, path))
        return Failure(rule->error);
    if (Entry* entry = Find(path))
        entry->attributes = attributes;
    else
        directory_attributes_[Key(path)] = attributes;
    return Success();
}

FakeFileSystem::Entry* FakeFileSystem::Find(const std::string& path) {
    const auto found = files_.find(Key(path));
    return found == files_.end() ? nullptr : &found->second;
}

const FakeFileSystem::Entry* FakeFileSystem::Find(const std::string& path) const {
    const auto found = files_.find(Key(path));
    return found == files_.end() ? nullptr : &found->second;
}

std::optional<std::string> FakeFileSystem::Bytes(const std::string& path) const {
    const Entry* entry = Find(path);
    if (entry == nullptr)
        return std::nullopt;
    return entry->bytes;
}

Error FakeFileSystem::Missing(const std::string& path) const {
    return Failure(DirectoryExists(ParentOf(Resolve(path))) ? kErrorFileNotFound
                                                            : kErrorPathNotFound);
}

Result<void> FakeFileSystem::Refusal(const Entry& entry, std::uint32_t protecting_attributes) {
    if ((entry.attributes & protecting_attributes) != 0)
        return Failure(kErrorAccessDenied);
    if (entry.writers > 0)  // a writer lets others only read
        return Failure(kErrorSharingViolation);
    return Success();
}

Result<void> FakeFileSystem::Store(const std::string& path, std::string_view bytes,
                                   const FailureRule* rule, std::int64_t write_time,
                                   std::uint32_t attributes) {
    if (rule != nullptr && !rule->after_bytes)
        return Failure(rule->error);
    if (rule != nullptr) {
        // The partial file the platform leaves when the disk fills up.
        bytes = bytes.substr(0, static_cast<size_t>(std::max<std::int64_t>(*rule->after_bytes, 0)));
        write_time = now;
        attributes = kAttributeArchive;
    }
    if (Entry* entry = Find(path)) {
        entry->bytes = std::string(bytes);
        entry->write_time = write_time;
        entry->attributes = attributes;
    } else {
        files_[Key(path)] = Entry{path, std::string(bytes), write_time, attributes};
    }
    return rule != nullptr ? Failure(rule->error) : Success();
}

bool FakeFileSystem::FileExists(const std::string& path) const {
    return Find(path) != nullptr;
}

bool FakeFileSystem::DirectoryExists(const std::string& path) const {
    return directories_.contains(Key(path));
}

Result<std::vector<FileEntry>> FakeFileSystem::FindFiles(const std::string& pattern) const {
    std::vector<FileEntry> found;
    const std::string folder = Key(ParentOf(Resolve(pattern)));
    const std::string mask = NameOf(pattern);
    if (!directories_.contains(folder))
        return Failure(kErrorPathNotFound);
    for (const char* dots : {".", ".."}) {
        if (WildcardMatch(mask, dots))
            found.push_back({dots, true});
    }
    const auto in_folder = [&](const std::string& key) { return Key(ParentOf(key)) == folder; };
    for (const auto& [key, dir] : directories_) {
        if (in_folder(key) && WildcardMatch(mask, NameOf(dir)))
            found.push_back({NameOf(dir), true});
    }
    for (const auto& [key, entry] : files_) {
        if (in_folder(key) && WildcardMatch(mask, NameOf(entry.path))) {
            found.push_back({NameOf(entry.path), false});
        }
    }
    return found;
}

Result<std::string> FakeFileSystem::ReadFile(const std::string& path) const {
    if (fail_reads)
        return Failure(kErrorAccessDenied);
    if (const FailureRule* rule = failures.Check(FakeOperation::Read, path))
        return Failure(rule->error);
    if (DirectoryExists(path))
        return Failure(kErrorAccessDenied);
    if (const Entry* entry = Find(path))
        return entry->bytes;
    return Missing(path);
}

Result<void> FakeFileSystem::WriteFile(const std::string& path, std::string_view bytes) {
    if (fail_writes)
        return Failure(kErrorAccessDenied);
    if (!DirectoryExists(ParentOf(Resolve(path))))
        return Failure(kErrorPathNotFound);
    if (DirectoryExists(path))
        return Failure(kErrorAccessDenied);
    if (const Entry* entry = Find(path)) {
        if (Result<void> refused =
                Refusal(*entry, kAttributeReadOnly | kAttributeHidden | kAttributeSystem);
            !refused)
            return refused;
    }
    return Store(path, bytes, failures.Check(FakeOperation::Write, path), now, kAttributeArchive);
}

Result<FileInfo> FakeFileSystem::Info(const std::string& path) const {
    if (const Entry* entry = Find(path))
        return FileInfo{static_cast<std::int64_t>(entry->bytes.size()), entry->write_time,
                        entry->attributes};
    if (DirectoryExists(path)) {
        const auto set = directory_attributes_.find(Key(path));
        return FileInfo{0, 0,
                        set == directory_attributes_.end() ? kAttributeDirectory : set->second};
    }
    return Missing(path);
}

Result<std::unique_ptr<OpenFile>> FakeFileSystem::Open(const std::string& path, OpenMode mode) {
    Result<void> error;
    if (const FailureRule* rule = failures.Check(FakeOperation::Open, path))
        error = Failure(rule->error);
    else if (DirectoryExists(path))
        error = Failure(kErrorAccessDenied);
    else if (Find(path) == nullptr &&
             (mode == OpenMode::Read || !DirectoryExists(ParentOf(Resolve(path)))))
        error = Missing(path);
    else if (const Entry* entry = Find(path); entry != nullptr && mode != OpenMode::Read) {
        error = Refusal(*entry, mode == OpenMode::Create
                                    ? kAttributeReadOnly | kAttributeHidden | kAttributeSystem
                                    : kAttributeReadOnly);
    }
    if (!error)
        return error.error();
    if (mode == OpenMode::Create || Find(path) == nullptr)
        IgnoreFailure(Store(path, {}, nullptr, now, kAttributeArchive),
                      "without a byte limit an empty store cannot fail");
    return std::unique_ptr<OpenFile>(
        std::make_unique<FakeOpenFile>(*this, Key(path), mode != OpenMode::Read));
}

Result<void> FakeFileSystem::CopyFile(const std::string& source, const std::string& destination) {
    const Entry* from = Find(source);
    if (from == nullptr)
        return Missing(source);
    // What landed before a failure went with the pending copy.
    if (const FailureRule* rule = failures.Check(FakeOperation::Copy, source, destination))
        return Failure(rule->error);
    if (Key(source) == Key(destination))  // the platform holds the source open while it copies
        return Failure(kErrorSharingViolation);
    const Entry copy = *from;
    const std::optional<FakeKillMoment> killed = TakeKill(destination);
    Result<std::unique_ptr<PendingFile>> pending = CreatePending(destination);
    if (!pending)
        return pending.error();
    if (Result<void> written = (*pending)->Write(copy.bytes); !written)
        return written;
    static_cast<FakePendingFile&>(**pending).Carry(copy.write_time, copy.attributes);
    if (killed && killed != FakeKillMoment::Kept)
        throw FakeKilled{};  // the pending copy goes with its handle
    Result<void> committed = (*pending)->Commit();
    if (killed)
        throw FakeKilled{};
    return committed;
}

std::optional<FakeKillMoment> FakeFileSystem::TakeKill(const std::string& destination) {
    if (!kill || ToLower(destination).find(ToLower(kill->path)) == std::string::npos)
        return std::nullopt;
    return std::exchange(kill, std::nullopt)->moment;
}

Result<std::int64_t> FakeFileSystem::CopyNewFile(const std::string& source,
                                                 const std::string& destination,
                                                 const BeforeKept& before_kept) {
    if (Find(destination) != nullptr || DirectoryExists(destination))
        return Failure(kErrorFileExists);
    const Entry* from = Find(source);
    if (from == nullptr)
        return Missing(source);
    const FailureRule* rule = failures.Check(FakeOperation::Copy, source, destination);
    if (!DirectoryExists(ParentOf(Resolve(destination))))
        return Failure(kErrorPathNotFound);
    const Entry copy = *from;
    const std::optional<FakeKillMoment> killed = TakeKill(destination);
    // Made marked unfinished, then marked for removal, which the system carries out when the
    // process dies or the copy fails, until the copy is kept.
    IgnoreFailure(Store(destination, {}, nullptr, now, kAttributesUnfinished),
                  "without a byte limit an empty store cannot fail");
    if (killed == FakeKillMoment::Created)
        throw FakeKilled{};
    Result<void> status = Success();
    try {
        if (killed == FakeKillMoment::Writing)
            throw FakeKilled{};
        status = Store(destination, copy.bytes, rule, copy.write_time, copy.attributes);
        if (status && before_kept)
            status = before_kept();
        if (killed == FakeKillMoment::BeforeKept)
            throw FakeKilled{};
    } catch (...) {
        Remove(destination);
        throw;
    }
    if (status) {
        if (const FailureRule* keep = failures.Check(FakeOperation::KeepCopy, destination))
            status = Failure(keep->error);
    }
    if (!status) {
        Remove(destination);
        return status.error();
    }
    if (killed == FakeKillMoment::Kept)
        throw FakeKilled{};
    return static_cast<std::int64_t>(copy.bytes.size());
}

Result<void> FakeFileSystem::CreateDirectories(const std::string& path) {
    const std::string clean = WithoutTrailingSlashes(Resolve(path));
    const size_t root = PathRootLength(clean);
    if (root > 0 && !DirectoryExists(clean.substr(0, root)))
        return Failure(kErrorPathNotFound);
    for (size_t end = root; end != std::string::npos && end < clean.size();) {
        end = clean.find('\\', end + 1);
        const std::string folder = clean.substr(0, end);
        if (DirectoryExists(folder))
            continue;
        if (FileExists(folder))
            return Failure(kErrorAlreadyExists);
        if (const FailureRule* rule = failures.Check(FakeOperation::CreateDirectory, folder))
            return Failure(rule->error);
        directories_.emplace(Key(folder), folder);
    }
    return Success();
}

Result<void> FakeFileSystem::CreateNewDirectory(const std::string& path) {
    if (FileExists(path) || DirectoryExists(path))
        return Failure(kErrorAlreadyExists);
    if (!DirectoryExists(ParentOf(Resolve(path))))
        return Failure(kErrorPathNotFound);
    if (const FailureRule* rule = failures.Check(FakeOperation::CreateDirectory, path))
        return Failure(rule->error);
    directories_.emplace(Key(path), WithoutTrailingSlashes(Resolve(path)));
    return Success();
}

Result<std::unique_ptr<PendingFile>> FakeFileSystem::CreatePending(const std::string& path) {
    std::string name = PendingName(path, pending_number_++);
    while (FileExists(name) || DirectoryExists(name))
        name = PendingName(path, pending_number_++);
    if (const FailureRule* rule = failures.Check(FakeOperation::Open, name, path))
        return Failure(rule->error);
    if (!DirectoryExists(ParentOf(Resolve(path))))
        return Failure(kErrorPathNotFound);
    IgnoreFailure(Store(name, {}, nullptr, now, kAttributeArchive),
                  "without a byte limit an empty store cannot fail");
    return std::unique_ptr<PendingFile>(std::make_unique<FakePendingFile>(*this, name, path));
}

Result<void> FakeFileSystem::DeleteFile(const std::string& path) {
    const Entry* entry = Find(path);
    if (entry == nullptr)
        return DirectoryExists(path) ? Failure(kErrorAccessDenied) : Missing(path);
    if (const FailureRule* rule = failures.Check(FakeOperation::Delete, path))
        return Failure(rule->error);
    if ((entry->attributes & kAttributeReadOnly) != 0)
        return Failure(kErrorAccessDenied);
    if (entry->readers + entry->writers > 0)  // no handle lets others delete
        return Failure(kErrorSharingViolation);
    files_.erase(Key(path));
    return Success();
}

Result<void> FakeFileSystem::RemoveDirectory(const std::string& path) {
    if (FileExists(path))
        return Failure(kErrorDirectory);
    if (!DirectoryExists(path))
        return Missing(path);
    if (const FailureRule* rule = failures.Check(FakeOperation::RemoveDirectory, path))
        return Failure(rule->error);
    const std::string inside = Key(path) + "\\";
    const auto holds = [&inside](const auto& entry) { return entry.first.starts_with(inside); };
    if (std::ranges::any_of(files_, holds) || std::ranges::any_of(directories_, holds))
        return Failure(kErrorDirNotEmpty);
    directories_.erase(Key(path));
    return Success();
}

Result<void> FakeFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
    const Entry* source = Find(from);
    if (source == nullptr)
        return Missing(from);
    if (const FailureRule* rule = failures.Check(FakeOperation::Move, from, to))
        return Failure(rule->error);
    if (DirectoryExists(to))
        return Failure(kErrorAccessDenied);
    if (!DirectoryExists(ParentOf(Resolve(to))))
        return Failure(kErrorPathNotFound);
    if (source->readers + source->writers > 0)
        return Failure(kErrorSharingViolation);
    if (const Entry* target = Find(to); target != nullptr && Key(from) != Key(to)) {
        if ((target->attributes & kAttributeReadOnly) != 0)
            return Failure(kErrorAccessDenied);
        if (target->readers + target->writers > 0)
            return Failure(kErrorSharingViolation);
    }
    Entry moved = *source;
    moved.path = to;
    files_.erase(Key(from));
    files_[Key(to)] = std::move(moved);
    return Success();
}

Result<std::string> FakeFileSystem::ShortPath(const std::string& path) const {
    if (!FileExists(path) && !DirectoryExists(path))
        return Missing(path);
    const size_t root = PathRootLength(path);
    std::string result = path.substr(0, root);
    for (size_t start = root; start < path.size();) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string name = path.substr(start, end - start);
        result += (name.empty() ? "" : ShortName(name)) + (end < path.size() ? "\\" : "");
        start = end + 1;
    }
    return result;
}

}  // namespace platform
