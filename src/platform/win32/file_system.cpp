// Files through the platform's W calls: information, open files, copies, folders, deletes and
// renames.
#include <string>

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

    Status Write(std::string_view bytes) override {
        DWORD written = 0;
        if (!::WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                         nullptr)) {
            return LastError();
        }
        // A disk file is written whole or the call fails; a short write is a full disk.
        return written == bytes.size() ? Status::Success()
                                       : Status::Failure(Status::kErrorDiskFull);
    }

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
    const std::wstring from = Wide(source);
    const std::wstring to = Wide(destination);
    if (!CopyFileW(from.c_str(), to.c_str(), FALSE))
        return LastError();
    // Wine keeps the replaced file's attributes where Windows gives it the source's.
    const DWORD attributes = GetFileAttributesW(from.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && GetFileAttributesW(to.c_str()) != attributes)
        SetFileAttributesW(to.c_str(), attributes);
    return Status::Success();
}

Status Win32FileSystem::CopyNewFile(const std::string& source, const std::string& destination) {
    // The name is claimed first, so that a failed copy removes only a file made here.
    const std::wstring to = Wide(destination);
    if (!UniqueFile(ValidOrNull(CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr))))
        return LastError();
    const Status status = CopyFile(source, destination);
    if (!status)
        DeleteFileW(to.c_str());
    return status;
}

Status Win32FileSystem::CreateDirectories(const std::string& path) {
    std::string clean = path;
    while (!clean.empty() && clean.back() == '\\')
        clean.pop_back();
    // From the top down, so that each folder is made inside one that exists.
    for (size_t end = PathRootLength(clean); end != std::string::npos && end < clean.size();) {
        end = clean.find('\\', end + 1);
        const std::string folder = clean.substr(0, end);
        if (DirectoryExists(folder) || CreateDirectoryW(Wide(folder).c_str(), nullptr))
            continue;
        const DWORD error = GetLastError();
        // Made by someone else in between: as good as made here.
        if (!(error == ERROR_ALREADY_EXISTS && DirectoryExists(folder)))
            return Status::Failure(error);
    }
    // A bare root ("C:\\") is not made, only looked at.
    return DirectoryExists(clean + "\\") ? Status::Success()
                                         : Status::Failure(Status::kErrorPathNotFound);
}

Status Win32FileSystem::DeleteFile(const std::string& path) {
    return StatusOf(DeleteFileW(Wide(path).c_str()));
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
