#include "platform/win32/win32_platform.h"

#include <shlobj.h>
#include <windows.h>
#include <winspool.h>

#include "platform/win32/file_writes.h"
#include "platform/win32/handles.h"
#include "platform/win32/libraries.h"
#include "platform/win32/registry_keys.h"
#include "platform/win32/wide.h"

namespace platform {
namespace {

DWORD Attributes(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str());
}

}  // namespace

std::string AnsiCodec::AnsiToUtf8(std::string_view ansi) const {
    if (ansi.empty())
        return {};
    const int n =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    return Narrow(wide);
}

std::string AnsiCodec::Utf8ToAnsi(std::string_view utf8) const {
    const std::wstring wide = Wide(utf8);
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), n,
                        nullptr, nullptr);
    return ansi;
}

bool Win32FileSystem::FileExists(const std::string& path) const {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::DirectoryExists(const std::string& path) const {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

Result<std::vector<FileEntry>> Win32FileSystem::FindFiles(const std::string& pattern) const {
    std::vector<FileEntry> found;
    WIN32_FIND_DATAW data;
    const UniqueFind find(FindFirstFileW(Wide(pattern).c_str(), &data));
    if (!find) {
        // A folder searched in vain says so by this code; any other is a search that failed.
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return found;
        return Failure(error, "FindFirstFile " + pattern);
    }
    do {
        found.push_back(
            {Narrow(data.cFileName), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(find.get(), &data));
    return found;
}

Result<std::string> Win32FileSystem::ReadFile(const std::string& path) const {
    const UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return Failure(GetLastError(), "CreateFile " + path);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size))
        return Failure(GetLastError(), "GetFileSizeEx " + path);
    if (size.QuadPart > 0x7FFFFFFF)
        return Failure(ERROR_FILE_TOO_LARGE, "ReadFile " + path);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return Failure(GetLastError(), "ReadFile " + path);
    if (read != bytes.size())  // shortened while being read
        return Failure(ERROR_HANDLE_EOF, "ReadFile " + path);
    return bytes;
}

Result<void> Win32FileSystem::WriteFile(const std::string& path, std::string_view bytes) {
    const UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return Failure(GetLastError(), "CreateFile " + path);
    return WriteWhole(file.get(), bytes);
}

Result<std::string> Win32Registry::ReadString(RegistryRoot root, const std::string& key,
                                              const std::string& value) const {
    HKEY opened = nullptr;
    if (const LSTATUS error = RegOpenKeyExW(RootKey(root), Wide(key).c_str(), 0, KEY_READ, &opened);
        error != ERROR_SUCCESS) {
        return Failure(static_cast<DWORD>(error), "RegOpenKeyEx " + key);
    }
    const UniqueKey guard(opened);
    const std::wstring name = Wide(value);
    DWORD type = 0;
    DWORD size = 0;
    if (const LSTATUS error =
            RegQueryValueExW(opened, name.c_str(), nullptr, &type, nullptr, &size);
        error != ERROR_SUCCESS) {
        return Failure(static_cast<DWORD>(error), "RegQueryValueEx " + key + ": " + value);
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return Failure(kErrorInvalidDatatype, "RegQueryValueEx " + key + ": " + value);
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (const LSTATUS error = RegQueryValueExW(opened, name.c_str(), nullptr, &type,
                                               reinterpret_cast<BYTE*>(data.data()), &size);
        error != ERROR_SUCCESS) {
        return Failure(static_cast<DWORD>(error), "RegQueryValueEx " + key + ": " + value);
    }
    data.resize(wcsnlen(data.c_str(), data.size()));
    return Narrow(data);
}

Result<std::uint32_t> Win32Registry::ReadDword(RegistryRoot root, const std::string& key,
                                               const std::string& value) const {
    HKEY opened = nullptr;
    if (const LSTATUS error = RegOpenKeyExW(RootKey(root), Wide(key).c_str(), 0, KEY_READ, &opened);
        error != ERROR_SUCCESS) {
        return Failure(static_cast<DWORD>(error), "RegOpenKeyEx " + key);
    }
    const UniqueKey guard(opened);
    DWORD type = 0;
    DWORD number = 0;
    DWORD size = sizeof number;
    const LSTATUS error = RegQueryValueExW(opened, Wide(value).c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(&number), &size);
    // A longer value of another type does not fit: the type tells, not the error.
    if (error != ERROR_SUCCESS && error != ERROR_MORE_DATA)
        return Failure(static_cast<DWORD>(error), "RegQueryValueEx " + key + ": " + value);
    if (error != ERROR_SUCCESS || type != REG_DWORD || size != sizeof number)
        return Failure(kErrorInvalidDatatype, "RegQueryValueEx " + key + ": " + value);
    return number;
}

Result<void> Win32Registry::DeleteValue(RegistryRoot root, const std::string& key,
                                        const std::string& value) {
    HKEY opened = nullptr;
    if (const LSTATUS error =
            RegOpenKeyExW(RootKey(root), Wide(key).c_str(), 0, KEY_ALL_ACCESS, &opened);
        error != ERROR_SUCCESS) {
        return Failure(static_cast<DWORD>(error), "RegOpenKeyEx " + key);
    }
    const UniqueKey guard(opened);
    if (const LSTATUS error = RegDeleteValueW(opened, Wide(value).c_str()); error != ERROR_SUCCESS)
        return Failure(static_cast<DWORD>(error), "RegDeleteValue " + key + ": " + value);
    return Success();
}

Result<std::string> Win32Shell::SpecialFolder(int id) const {
    wchar_t buffer[MAX_PATH + 1] = {};
    // SHFOLDER.DLL first, loaded at run time: it is what older systems have.
    const UniqueModule shfolder = LoadSystemLibrary(L"SHFOLDER.DLL");
    using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
    if (shfolder) {
        const auto get = reinterpret_cast<GetFolderPath>(
            reinterpret_cast<void*>(GetProcAddress(shfolder.get(), "SHGetFolderPathW")));
        if (get != nullptr) {
            if (const HRESULT got = get(GetActiveWindow(), id, nullptr, 0, buffer); FAILED(got))
                return Failure(HRESULT_CODE(got), "SHGetFolderPath " + std::to_string(id));
            return Narrow(buffer);
        }
    }
    LPITEMIDLIST list = nullptr;
    if (const HRESULT got = SHGetSpecialFolderLocation(GetActiveWindow(), id, &list); FAILED(got))
        return Failure(HRESULT_CODE(got), "SHGetSpecialFolderLocation " + std::to_string(id));
    const bool ok = SHGetPathFromIDListW(list, buffer) != FALSE;
    CoTaskMemFree(list);
    if (!ok)
        return Failure(kErrorGenFailure, "SHGetPathFromIDList " + std::to_string(id));
    return Narrow(buffer);
}

Result<void> Win32Shell::Open(const std::string& target) {
    // Values above 32 are success; below, the platform's code in the old form.
    const auto done = reinterpret_cast<INT_PTR>(ShellExecuteW(
        GetActiveWindow(), nullptr, Wide(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (done <= 32)
        return Failure(static_cast<std::uint32_t>(done), "ShellExecute " + target);
    return Success();
}

std::string Win32System::ProgramPath() const {
    std::wstring buffer(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    buffer.resize(n);
    return Narrow(buffer);
}

std::string Win32System::SystemDirectory() const {
    wchar_t buffer[MAX_PATH + 1] = {};
    GetSystemDirectoryW(buffer, MAX_PATH);
    return Narrow(buffer);
}

std::string Win32System::ReadWinIni(const std::string& section, const std::string& key) const {
    wchar_t buffer[256] = {};
    GetProfileStringW(Wide(section).c_str(), Wide(key).c_str(), L"", buffer, 255);
    return Narrow(buffer);
}

Result<std::string> Win32System::PrinterDriverDirectory() const {
    // The spooler's library is loaded at run time: without it the program must still start.
    const UniqueModule winspool = LoadSystemLibrary(L"winspool.drv");
    if (!winspool)
        return Failure(GetLastError(), "winspool.drv");
    using GetDirectory = BOOL(WINAPI*)(LPWSTR, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD);
    const auto get = reinterpret_cast<GetDirectory>(
        reinterpret_cast<void*>(GetProcAddress(winspool.get(), "GetPrinterDriverDirectoryW")));
    if (get == nullptr)
        return Failure(GetLastError(), "GetPrinterDriverDirectoryW");
    wchar_t buffer[256] = {};
    DWORD needed = 0;
    if (!get(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(buffer), sizeof(buffer), &needed)) {
        return Failure(GetLastError(), "GetPrinterDriverDirectory");
    }
    return Narrow(buffer);
}

std::vector<std::string> Win32System::Drives() const {
    std::vector<std::string> drives;
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (mask & (1u << i))
            drives.push_back(std::string(1, static_cast<char>('a' + i)) + ":\\");
    }
    return drives;
}

Result<std::int64_t> Win32System::FreeSpace(const std::string& root) const {
    ULARGE_INTEGER available;
    // A drive that is not ready must not bring up the platform's "insert a disk" box.
    const UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS);
    const BOOL ok = GetDiskFreeSpaceExW(Wide(root).c_str(), &available, nullptr, nullptr);
    const DWORD error = GetLastError();
    SetErrorMode(mode);
    if (!ok)
        return Failure(error, "GetDiskFreeSpaceEx " + root);
    return static_cast<std::int64_t>(available.QuadPart);
}

Result<std::string> Win32System::CurrentDirectoryOf(const std::string& drive) const {
    wchar_t buffer[MAX_PATH + 1] = {};
    const std::wstring relative = Wide(drive.substr(0, 2)) + L".";
    if (GetFullPathNameW(relative.c_str(), MAX_PATH, buffer, nullptr) == 0)
        return Failure(GetLastError(), "GetFullPathName " + drive);
    return Narrow(buffer);
}

Result<void> Win32System::ChangeDirectory(const std::string& path) {
    if (!SetCurrentDirectoryW(Wide(path).c_str()))
        return Failure(GetLastError(), "SetCurrentDirectory " + path);
    return Success();
}

}  // namespace platform
