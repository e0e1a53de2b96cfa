#include "posix_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/paths.h"

namespace zkconvert {
namespace {

using platform::Result;

std::string Native(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// The platform's code for what errno says, so that callers see the same codes everywhere.
platform::Error LastError() {
    switch (errno) {
        case ENOENT:
            return platform::Failure(platform::kErrorFileNotFound);
        case ENOTDIR:
            return platform::Failure(platform::kErrorPathNotFound);
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
            return platform::Failure(platform::kErrorAccessDenied);
        case ENOSPC:
            return platform::Failure(platform::kErrorDiskFull);
        case EEXIST:
            return platform::Failure(platform::kErrorAlreadyExists);
        default:
            return platform::Failure(platform::kErrorGenFailure);
    }
}

std::optional<struct stat> StatOf(const std::string& path) {
    struct stat info {};
    if (::stat(Native(path).c_str(), &info) != 0)
        return std::nullopt;
    return info;
}

class PosixOpenFile final : public platform::OpenFile {
  public:
    explicit PosixOpenFile(int descriptor) : descriptor_(descriptor) {}
    ~PosixOpenFile() override { ::close(descriptor_); }
    PosixOpenFile(const PosixOpenFile&) = delete;
    PosixOpenFile& operator=(const PosixOpenFile&) = delete;

    Result<std::string> Read(std::size_t size) override {
        std::string bytes(size, '\0');
        std::size_t done = 0;
        while (done < size) {
            const ssize_t got = ::read(descriptor_, bytes.data() + done, size - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return LastError();
            if (got == 0)
                break;
            done += static_cast<std::size_t>(got);
        }
        bytes.resize(done);
        return bytes;
    }

    Result<void> Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t put = ::write(descriptor_, bytes.data(), bytes.size());
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0)
                return LastError();
            bytes.remove_prefix(static_cast<std::size_t>(put));
        }
        return platform::Success();
    }

    Result<void> Seek(std::int64_t offset) override {
        return ::lseek(descriptor_, offset, SEEK_SET) < 0 ? LastError() : platform::Success();
    }

    Result<void> Truncate() override {
        const off_t here = ::lseek(descriptor_, 0, SEEK_CUR);
        return here < 0 || ::ftruncate(descriptor_, here) != 0 ? LastError() : platform::Success();
    }

    std::int64_t Size() const override {
        struct stat info {};
        return ::fstat(descriptor_, &info) == 0 ? info.st_size : 0;
    }

    int Descriptor() const { return descriptor_; }

  private:
    int descriptor_;
};

// Here no open file can be marked for removal: the pending file removes its own fresh name,
// which nobody else had.
class PosixPendingFile final : public platform::PendingFile {
  public:
    PosixPendingFile(int descriptor, std::string name, std::string path)
        : file_(std::make_unique<PosixOpenFile>(descriptor)),
          name_(std::move(name)),
          path_(std::move(path)) {}
    ~PosixPendingFile() override {
        if (file_) {
            file_.reset();
            ::unlink(Native(name_).c_str());
        }
    }
    PosixPendingFile(const PosixPendingFile&) = delete;
    PosixPendingFile& operator=(const PosixPendingFile&) = delete;

    Result<std::string> Read(std::size_t size) override { return file_->Read(size); }
    Result<void> Write(std::string_view bytes) override { return file_->Write(bytes); }
    Result<void> Seek(std::int64_t offset) override { return file_->Seek(offset); }
    Result<void> Truncate() override { return file_->Truncate(); }
    std::int64_t Size() const override { return file_->Size(); }
    int Descriptor() const { return file_->Descriptor(); }

    Result<void> Commit() override {
        if (::rename(Native(name_).c_str(), Native(path_).c_str()) != 0)
            return LastError();  // the file goes when this handle does
        file_.reset();
        return platform::Success();
    }

  private:
    std::unique_ptr<PosixOpenFile> file_;
    std::string name_;
    std::string path_;
};

Result<std::unique_ptr<PosixPendingFile>> CreatePendingBeside(const std::string& path) {
    static unsigned number = static_cast<unsigned>(::getpid()) * 2654435761u;
    for (int tries = 0; tries < 64; ++tries) {
        const std::string name = platform::PendingName(path, number++);
        const int descriptor =
            ::open(Native(name).c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0)
            return std::make_unique<PosixPendingFile>(descriptor, name, path);
        if (errno != EEXIST)
            break;
    }
    return LastError();
}

}  // namespace

bool PosixFileSystem::FileExists(const std::string& path) const {
    const auto info = StatOf(path);
    return info && S_ISREG(info->st_mode);
}

bool PosixFileSystem::DirectoryExists(const std::string& path) const {
    const auto info = StatOf(path);
    return info && S_ISDIR(info->st_mode);
}

Result<std::vector<platform::FileEntry>> PosixFileSystem::FindFiles(
    const std::string& pattern) const {
    const std::string native = Native(pattern);
    const auto slash = native.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : native.substr(0, slash + 1);
    const std::string mask = slash == std::string::npos ? native : native.substr(slash + 1);
    std::vector<platform::FileEntry> found;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return LastError();
    while (const dirent* entry = ::readdir(dir)) {
        // A name holding a backslash is no name here, where a backslash parts a path: joined to
        // its folder it would name another place (one folder up for "..\x").
        if (std::string_view(entry->d_name).find('\\') != std::string_view::npos)
            continue;
        if (::fnmatch(mask.c_str(), entry->d_name, FNM_CASEFOLD) == 0)
            found.push_back({entry->d_name, DirectoryExists(folder + "/" + entry->d_name)});
    }
    ::closedir(dir);
    return found;
}

Result<std::string> PosixFileSystem::ReadFile(const std::string& path) const {
    const int descriptor = ::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return LastError();
    PosixOpenFile file(descriptor);
    return file.Read(static_cast<std::size_t>(file.Size()));
}

Result<void> PosixFileSystem::WriteFile(const std::string& path, std::string_view bytes) {
    const auto file = Open(path, platform::OpenMode::Create);
    if (!file)
        return file.error();
    return (*file)->Write(bytes);
}

Result<platform::FileInfo> PosixFileSystem::Info(const std::string& path) const {
    const auto info = StatOf(path);
    if (!info)
        return LastError();
    constexpr std::int64_t kUnixEpoch = 116444736000000000;  // 1970-01-01 in FILETIME units
    platform::FileInfo result;
    result.size = info->st_size;
    result.write_time =
        kUnixEpoch + info->st_mtim.tv_sec * 10000000LL + info->st_mtim.tv_nsec / 100;
    result.attributes =
        S_ISDIR(info->st_mode) ? platform::kAttributeDirectory : platform::kAttributeArchive;
    if ((info->st_mode & S_IWUSR) == 0)
        result.attributes |= platform::kAttributeReadOnly;
    return result;
}

Result<std::unique_ptr<platform::OpenFile>> PosixFileSystem::Open(const std::string& path,
                                                                  platform::OpenMode mode) {
    int flags = O_CLOEXEC;
    switch (mode) {
        case platform::OpenMode::Read:
            flags |= O_RDONLY;
            break;
        case platform::OpenMode::Create:
            flags |= O_RDWR | O_CREAT | O_TRUNC;
            break;
        case platform::OpenMode::ReadWrite:
            flags |= O_RDWR | O_CREAT;
            break;
    }
    const int descriptor = ::open(Native(path).c_str(), flags, 0666);
    if (descriptor < 0)
        return LastError();
    return std::unique_ptr<platform::OpenFile>(std::make_unique<PosixOpenFile>(descriptor));
}

Result<void> PosixFileSystem::CopyFile(const std::string& source, const std::string& destination) {
    return CopyPending(source, destination, {});
}

Result<std::int64_t> PosixFileSystem::CopyNewFile(const std::string& source,
                                                  const std::string& destination,
                                                  const platform::BeforeKept& before_kept) {
    if (Info(destination))
        return platform::Failure(platform::kErrorFileExists);
    if (const Result<void> copied = CopyPending(source, destination, before_kept); !copied)
        return copied.error();
    // The copy is in place: a size that cannot be read back counts none.
    const Result<platform::FileInfo> copy = Info(destination);
    return copy ? copy->size : 0;
}

Result<void> PosixFileSystem::CopyPending(const std::string& source, const std::string& destination,
                                          const platform::BeforeKept& before_kept) {
    const auto from = Open(source, platform::OpenMode::Read);
    if (!from)
        return from.error();
    const auto created = CreatePendingBeside(destination);
    if (!created)
        return created.error();
    PosixPendingFile& to = **created;
    for (;;) {
        const auto bytes = (*from)->Read(std::size_t{64} * 1024);
        if (!bytes)
            return bytes.error();
        if (bytes->empty())
            break;
        if (Result<void> written = to.Write(*bytes); !written)
            return written;
    }
    const auto info = StatOf(source);
    if (!info)
        return LastError();
    const struct timespec times[2] = {info->st_atim, info->st_mtim};
    if (::futimens(to.Descriptor(), times) != 0)
        return LastError();
    if (before_kept) {
        if (Result<void> step = before_kept(); !step)
            return step;
    }
    return to.Commit();
}

Result<std::unique_ptr<platform::PendingFile>> PosixFileSystem::CreatePending(
    const std::string& path) {
    auto made = CreatePendingBeside(path);
    if (!made)
        return made.error();
    return std::unique_ptr<platform::PendingFile>(std::move(*made));
}

Result<void> PosixFileSystem::CreateNewDirectory(const std::string& path) {
    return ::mkdir(Native(path).c_str(), 0777) == 0 ? platform::Success() : LastError();
}

Result<void> PosixFileSystem::CreateDirectories(const std::string& path) {
    const std::string native = Native(path);
    for (std::size_t end = native.find('/', 1);; end = native.find('/', end + 1)) {
        const std::string part = native.substr(0, end);
        if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
            return LastError();
        if (end == std::string::npos)
            break;
    }
    return DirectoryExists(path) ? platform::Success()
                                 : platform::Failure(platform::kErrorAlreadyExists);
}

Result<void> PosixFileSystem::DeleteFile(const std::string& path) {
    return ::unlink(Native(path).c_str()) == 0 ? platform::Success() : LastError();
}

// Only the read-only bit has a counterpart here: the owner's write permission.
Result<void> PosixFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    const auto info = StatOf(path);
    if (!info)
        return LastError();
    const mode_t mode = (attributes & platform::kAttributeReadOnly) != 0
                            ? info->st_mode & ~mode_t{S_IWUSR}
                            : info->st_mode | S_IWUSR;
    return ::chmod(Native(path).c_str(), mode & 07777) == 0 ? platform::Success() : LastError();
}

Result<void> PosixFileSystem::RemoveDirectory(const std::string& path) {
    return ::rmdir(Native(path).c_str()) == 0 ? platform::Success() : LastError();
}

Result<void> PosixFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
    return ::rename(Native(from).c_str(), Native(to).c_str()) == 0 ? platform::Success()
                                                                   : LastError();
}

Result<std::string> PosixFileSystem::ShortPath(const std::string&) const {
    return platform::Failure(platform::kErrorNotSupported);
}

}  // namespace zkconvert
