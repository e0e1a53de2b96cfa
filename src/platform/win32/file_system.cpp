// Files through the platform's W calls: information, open files, copies, folders, deletes and
// renames.
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "platform/win32/file_writes.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {

Error LastError() {
    return Failure(GetLastError());
}

Result<void> StatusOf(BOOL ok) {
    return ok ? Success() : LastError();
}

std::int64_t Join(DWORD high, DWORD low) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
}

// The operations of an open file over its handle, for an ordinary and a pending file.
template <typename Base>
class HandleFile : public Base {
  public:
    explicit HandleFile(UniqueFile file) : file_(std::move(file)) {}

    Result<std::string> Read(std::size_t size) override {
        std::string bytes(size, '\0');
        DWORD read = 0;
        if (!::ReadFile(file_.get(), bytes.data(), static_cast<DWORD>(size), &read, nullptr))
            return LastError();
        bytes.resize(read);
        return bytes;
    }

    Result<void> Write(std::string_view bytes) override { return WriteWhole(file_.get(), bytes); }

    Result<void> Seek(std::int64_t offset) override {
        LARGE_INTEGER position;
        position.QuadPart = offset;
        return StatusOf(SetFilePointerEx(file_.get(), position, nullptr, FILE_BEGIN));
    }

    Result<void> Truncate() override { return StatusOf(SetEndOfFile(file_.get())); }

    std::int64_t Size() const override {
        LARGE_INTEGER size;
        return GetFileSizeEx(file_.get(), &size) ? size.QuadPart : 0;
    }

  protected:
    UniqueFile file_;
};
using Win32OpenFile = HandleFile<OpenFile>;

UniqueFile OpenSource(const std::string& path) {
    return UniqueFile(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

// A copy of our own rather than the platform's: Wine's copy looks the destination up again and
// asks the volume manager for the source's volume, requests to its server per file that this
// loop does not make.
Result<void> CopyBytes(HANDLE to, HANDLE from, std::vector<char>& buffer, std::int64_t& size) {
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
        if (const Result<void> written = WriteWhole(to, {buffer.data(), read}); !written)
            return written;
        size += read;
    }
    // As the platform's copy: the source's last-write time and the attributes a file can be
    // given (none left means a normal file), in place of the mark of an unfinished copy.
    constexpr DWORD kCarried = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                               FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                               FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    FILE_BASIC_INFO kept{};
    kept.LastWriteTime = source.LastWriteTime;
    kept.FileAttributes = (source.FileAttributes & kCarried) != 0 ? source.FileAttributes & kCarried
                                                                  : FILE_ATTRIBUTE_NORMAL;
    return StatusOf(SetFileInformationByHandle(to, FileBasicInfo, &kept, sizeof kept));
}

// While a file is being written the system is to remove it when its handle closes, also when
// the process dies: a part of a file is worth nothing, and must never be taken for the file.
Result<void> SetRemovedOnClose(HANDLE file, bool removed) {
    FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(removed)};
    return StatusOf(
        SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition));
}

// A new file of that name, with those attributes from its creation on, removed when its handle
// closes until it is whole.
Result<UniqueFile> CreateUnfinished(const std::string& path, DWORD attributes) {
    UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                attributes, nullptr));
    if (!file)
        return LastError();
    if (Result<void> marked = SetRemovedOnClose(file.get(), true); !marked) {
        file.reset();  // a volume that cannot mark it: the empty file just made goes by name
        DeleteFileW(Wide(path).c_str());
        return marked.error();
    }
    return file;
}

// Renames through the handle, so that nothing but the file it made is ever moved. The name is
// given in the system's own form, which every version takes.
Result<void> RenameOpen(HANDLE file, const std::string& to) {
    const std::wstring target =
        (to.starts_with("\\\\") ? L"\\??\\UNC" + Wide(to.substr(1)) : L"\\??\\" + Wide(to));
    const DWORD name_bytes = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + name_bytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = name_bytes;
    std::memcpy(rename->FileName, target.data(), name_bytes);
    return StatusOf(SetFileInformationByHandle(file, FileRenameInfo, rename,
                                               static_cast<DWORD>(buffer.size())));
}

class Win32PendingFile final : public HandleFile<PendingFile> {
  public:
    Win32PendingFile(UniqueFile file, std::string path)
        : HandleFile(std::move(file)), path_(std::move(path)) {}

    Result<void> Commit() override {
        Result<void> status = SetRemovedOnClose(file_.get(), false);
        if (status)
            status = RenameOpen(file_.get(), path_);
        if (!status) {
            // A read-only file cannot be marked for removal: the copy may have made it one.
            FILE_BASIC_INFO plain{};
            plain.FileAttributes = FILE_ATTRIBUTE_NORMAL;
            SetFileInformationByHandle(file_.get(), FileBasicInfo, &plain, sizeof plain);
            IgnoreFailure(SetRemovedOnClose(file_.get(), true),
                          "the commit's own error is reported; nothing else can be done");
        }
        file_.reset();
        return status;
    }

    HANDLE Handle() const { return file_.get(); }

  private:
    std::string path_;
};

// The first fresh name differs from run to run, so that names left by another program are
// rarely met.
Result<std::unique_ptr<Win32PendingFile>> CreatePendingBeside(const std::string& path) {
    static std::atomic<unsigned> number{GetCurrentProcessId() * 2654435761u ^ GetTickCount()};
    for (int tries = 0;; ++tries) {
        Result<UniqueFile> file =
            CreateUnfinished(PendingName(path, number++), FILE_ATTRIBUTE_NORMAL);
        if (file)
            return std::make_unique<Win32PendingFile>(std::move(*file), path);
        if ((file.code() != ERROR_FILE_EXISTS && file.code() != ERROR_ALREADY_EXISTS) ||
            tries == 63)
            return file.error();
    }
}

}  // namespace

Result<FileInfo> Win32FileSystem::Info(const std::string& path) const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data))
        return LastError();
    return FileInfo{Join(data.nFileSizeHigh, data.nFileSizeLow),
                    Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime),
                    data.dwFileAttributes};
}

Result<std::unique_ptr<OpenFile>> Win32FileSystem::Open(const std::string& path, OpenMode mode) {
    // A reader lets others read and write (a log being written stays readable); a writer lets
    // others only read.
    const bool reading = mode == OpenMode::Read;
    const DWORD access = reading ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    const DWORD sharing = reading ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ;
    const DWORD disposition = mode == OpenMode::Read     ? OPEN_EXISTING
                              : mode == OpenMode::Create ? CREATE_ALWAYS
                                                         : OPEN_ALWAYS;
    UniqueFile file(CreateFileW(Wide(path).c_str(), access, sharing, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return LastError();
    return std::unique_ptr<OpenFile>(std::make_unique<Win32OpenFile>(std::move(file)));
}

Result<void> Win32FileSystem::CopyFile(const std::string& source, const std::string& destination) {
    // The source first: a missing source leaves nothing made.
    const UniqueFile from = OpenSource(source);
    if (!from)
        return LastError();
    const Result<std::unique_ptr<Win32PendingFile>> to = CreatePendingBeside(destination);
    if (!to)
        return to.error();
    const Win32PendingFile& pending = **to;
    std::int64_t size = 0;
    const Result<void> copied = CopyBytes(pending.Handle(), from.get(), buffer_, size);
    return copied ? (*to)->Commit() : copied;
}

Result<std::int64_t> Win32FileSystem::CopyNewFile(const std::string& source,
                                                  const std::string& destination,
                                                  const BeforeKept& before_kept) {
    // The name first: a file there is refused before anything else, and never touched. Marked
    // unfinished by the call that makes it; the copy's own attributes replace the mark.
    const Result<UniqueFile> to = CreateUnfinished(destination, kAttributesUnfinished);
    if (!to)
        return to.error();
    const UniqueFile from = OpenSource(source);
    if (!from)
        return LastError();
    std::int64_t size = 0;
    Result<void> status = CopyBytes(to->get(), from.get(), buffer_, size);
    // Still marked for removal: a step that fails or throws leaves the copy to the handle's close.
    if (status && before_kept)
        status = before_kept();
    if (status)
        status = SetRemovedOnClose(to->get(), false);
    if (!status)
        return status.error();
    return size;
}

Result<std::unique_ptr<PendingFile>> Win32FileSystem::CreatePending(const std::string& path) {
    Result<std::unique_ptr<Win32PendingFile>> made = CreatePendingBeside(path);
    if (!made)
        return made.error();
    return std::unique_ptr<PendingFile>(std::move(*made));
}

Result<void> Win32FileSystem::CreateNewDirectory(const std::string& path) {
    return StatusOf(CreateDirectoryW(Wide(path).c_str(), nullptr));
}

Result<void> Win32FileSystem::CreateDirectories(const std::string& path) {
    std::string clean = path;
    while (!clean.empty() && clean.back() == '\\')
        clean.pop_back();
    const std::size_t root = PathRootLength(clean);
    // A bare root ("C:\\") is not made, only looked at.
    if (clean.size() <= root)
        return DirectoryExists(clean + "\\") ? Success() : Failure(kErrorPathNotFound);
    // The folder itself first: its parent is most often there, and then one call makes it.
    const std::wstring wide = Wide(clean);
    if (CreateDirectoryW(wide.c_str(), nullptr))
        return Success();
    DWORD error = GetLastError();
    const std::size_t parent_end = clean.rfind('\\');
    if (error == ERROR_PATH_NOT_FOUND && parent_end != std::string::npos && parent_end >= root) {
        if (const Result<void> parent = CreateDirectories(clean.substr(0, parent_end)); !parent)
            return parent;
        if (CreateDirectoryW(wide.c_str(), nullptr))
            return Success();
        error = GetLastError();
    }
    // There already, or made by someone else in between: as good as made here.
    return error == ERROR_ALREADY_EXISTS && DirectoryExists(clean) ? Success() : Failure(error);
}

Result<void> Win32FileSystem::DeleteFile(const std::string& path) {
    return StatusOf(DeleteFileW(Wide(path).c_str()));
}

Result<void> Win32FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    // The platform's FILE_ATTRIBUTE_NORMAL stands for no bit set.
    return StatusOf(SetFileAttributesW(Wide(path).c_str(),
                                       attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes));
}

Result<void> Win32FileSystem::RemoveDirectory(const std::string& path) {
    return StatusOf(RemoveDirectoryW(Wide(path).c_str()));
}

Result<void> Win32FileSystem::MoveReplacing(const std::string& from, const std::string& to) {
    return StatusOf(MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

Result<std::string> Win32FileSystem::ShortPath(const std::string& path) const {
    const std::wstring wide = Wide(path);
    const DWORD needed = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (needed == 0)
        return LastError();
    std::wstring buffer(needed, L'\0');
    const DWORD length = GetShortPathNameW(wide.c_str(), buffer.data(), needed);
    if (length == 0)
        return LastError();
    if (length >= needed)  // renamed in between
        return Failure(kErrorGenFailure);
    buffer.resize(length);
    return Narrow(buffer);
}

}  // namespace platform
