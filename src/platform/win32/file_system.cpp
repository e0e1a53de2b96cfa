// Files through the platform's W calls: information, open files, copies, folders, deletes and
// renames.
#include <string>
#include <vector>

#include "platform/win32/file_writes.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {

Status LastError() {
    return Status::Failure(GetLastError());
}

Status StatusOf(BOOL ok) {
    return ok ? Status::Success() : LastError();
}

std::int64_t Join(DWORD high, DWORD low) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
}

class Win32OpenFile final : public OpenFile {
  public:
    explicit Win32OpenFile(UniqueFile file) : file_(std::move(file)) {}

    std::optional<std::string> Read(std::size_t size) override {
        std::string bytes(size, '\0');
        DWORD read = 0;
        if (!::ReadFile(file_.get(), bytes.data(), static_cast<DWORD>(size), &read, nullptr))
            return std::nullopt;
        bytes.resize(read);
        return bytes;
    }

    Status Write(std::string_view bytes) override { return WriteWhole(file_.get(), bytes); }

    Status Seek(std::int64_t offset) override {
        LARGE_INTEGER position;
        position.QuadPart = offset;
        return StatusOf(SetFilePointerEx(file_.get(), position, nullptr, FILE_BEGIN));
    }

    Status Truncate() override { return StatusOf(SetEndOfFile(file_.get())); }

    std::int64_t Size() const override {
        LARGE_INTEGER size;
        return GetFileSizeEx(file_.get(), &size) ? size.QuadPart : 0;
    }

  private:
    UniqueFile file_;
};

UniqueFile OpenSource(const std::string& path) {
    return UniqueFile(ValidOrNull(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)));
}

UniqueFile CreateDestination(const std::string& path, DWORD disposition) {
    return UniqueFile(
        ValidOrNull(CreateFileW(Wide(path).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr)));
}

// A copy of our own rather than the platform's: Wine's copy looks the destination up again and
// asks the volume manager for the source's volume, requests to its server per file that this
// loop does not make.
Status CopyBytes(HANDLE to, HANDLE from, std::vector<char>& buffer, std::int64_t& size) {
    FILE_BASIC_INFO source{};
    if (!GetFileInformationByHandleEx(from, FileBasicInfo, &source, sizeof source))
        return LastError();
    constexpr DWORD kChunk = 1 << 20;
    buffer.resize(kChunk);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(from, buffer.data(), kChunk, &read, nullptr))
            return LastError();
        if (read == 0)
            break;
        if (const Status written = WriteWhole(to, {buffer.data(), read}); !written)
            return written;
        size += read;
    }
    // As the platform's copy: the source's last-write time and the attributes a file can be
    // given (none left means a normal file).
    constexpr DWORD kCarried = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                               FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                               FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    FILE_BASIC_INFO kept{};
    kept.LastWriteTime = source.LastWriteTime;
    kept.FileAttributes = (source.FileAttributes & kCarried) != 0 ? source.FileAttributes & kCarried
                                                                  : FILE_ATTRIBUTE_NORMAL;
    return StatusOf(SetFileInformationByHandle(to, FileBasicInfo, &kept, sizeof kept));
}

// The destination of a failed copy, made or emptied by the caller, is removed: a part of a file
// is worth nothing.
Status RemovedOnFailure(HANDLE to, Status status) {
    if (!status) {
        FILE_DISPOSITION_INFO remove{TRUE};
        SetFileInformationByHandle(to, FileDispositionInfo, &remove, sizeof remove);
    }
    return status;
}

}  // namespace

std::optional<FileInfo> Win32FileSystem::Info(const std::string& path) const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return FileInfo{Join(data.nFileSizeHigh, data.nFileSizeLow),
                    Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime),
                    data.dwFileAttributes};
}

std::unique_ptr<OpenFile> Win32FileSystem::Open(const std::string& path, OpenMode mode,
                                                Status& error) {
    // A reader lets others read and write (a log being written stays readable); a writer lets
    // others only read.
    const bool reading = mode == OpenMode::Read;
    const DWORD access = reading ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    const DWORD sharing = reading ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ;
    const DWORD disposition = mode == OpenMode::Read     ? OPEN_EXISTING
                              : mode == OpenMode::Create ? CREATE_ALWAYS
                                                         : OPEN_ALWAYS;
    UniqueFile file(ValidOrNull(CreateFileW(Wide(path).c_str(), access, sharing, nullptr,
                                            disposition, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file) {
        error = LastError();
        return nullptr;
    }
    error = Status::Success();
    return std::make_unique<Win32OpenFile>(std::move(file));
}

Status Win32FileSystem::CopyFile(const std::string& source, const std::string& destination) {
    // The source first: a missing source leaves the destination as it was.
    const UniqueFile from = OpenSource(source);
    if (!from)
        return LastError();
    const UniqueFile to = CreateDestination(destination, CREATE_ALWAYS);
    if (!to)
        return LastError();
    std::int64_t size = 0;
    return RemovedOnFailure(to.get(), CopyBytes(to.get(), from.get(), buffer_, size));
}

Status Win32FileSystem::CopyNewFile(const std::string& source, const std::string& destination,
                                    std::int64_t& size) {
    size = 0;
    // The name first: a file there is refused before anything else, and never touched.
    const UniqueFile to = CreateDestination(destination, CREATE_NEW);
    if (!to)
        return LastError();
    const UniqueFile from = OpenSource(source);
    return RemovedOnFailure(to.get(),
                            from ? CopyBytes(to.get(), from.get(), buffer_, size) : LastError());
}

Status Win32FileSystem::CreateDirectories(const std::string& path) {
    std::string clean = path;
    while (!clean.empty() && clean.back() == '\\')
        clean.pop_back();
    const std::size_t root = PathRootLength(clean);
    // A bare root ("C:\\") is not made, only looked at.
    if (clean.size() <= root)
        return DirectoryExists(clean + "\\") ? Status::Success()
                                             : Status::Failure(Status::kErrorPathNotFound);
    // The folder itself first: its parent is most often there, and then one call makes it.
    const std::wstring wide = Wide(clean);
    if (CreateDirectoryW(wide.c_str(), nullptr))
        return Status::Success();
    DWORD error = GetLastError();
    const std::size_t parent_end = clean.rfind('\\');
    if (error == ERROR_PATH_NOT_FOUND && parent_end != std::string::npos && parent_end >= root) {
        if (const Status parent = CreateDirectories(clean.substr(0, parent_end)); !parent)
            return parent;
        if (CreateDirectoryW(wide.c_str(), nullptr))
            return Status::Success();
        error = GetLastError();
    }
    // There already, or made by someone else in between: as good as made here.
    return error == ERROR_ALREADY_EXISTS && DirectoryExists(clean) ? Status::Success()
                                                                   : Status::Failure(error);
}

Status Win32FileSystem::DeleteFile(const std::string& path) {
    return StatusOf(DeleteFileW(Wide(path).c_str()));
}

Status Win32FileSystem::RemoveDirectory(const std::string& path) {
    return StatusOf(RemoveDirectoryW(Wide(path).c_str()));
}

Status Win32FileSystem::MoveReplacing(const std::string& from, const std::string& to) {
    return StatusOf(MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

std::string Win32FileSystem::ShortPath(const std::string& path) const {
    const std::wstring wide = Wide(path);
    const DWORD needed = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (needed == 0)
        return {};
    std::wstring buffer(needed, L'\0');
    const DWORD length = GetShortPathNameW(wide.c_str(), buffer.data(), needed);
    if (length == 0 || length >= needed)
        return {};
    buffer.resize(length);
    return Narrow(buffer);
}

}  // namespace platform
