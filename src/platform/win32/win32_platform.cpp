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

std::vector<FileEntry> Win32FileSystem::FindFiles(const std::string& pattern) const {
    std::vector<FileEntry> found;
    WIN32_FIND_DATAW data;
    const UniqueFind find(FindFirstFileW(Wide(pattern).c_str(), &data));
    if (!find)
        return found;
    do {
        found.push_back(
            {Narrow(data.cFileName), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(find.get(), &data));
    return found;
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path) const {
    const UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size())) {
        return std::nullopt;
    }
    return bytes;
}

bool Win32FileSystem::WriteFile(const std::string& path, std::string_view bytes) {
    const UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteWhole(file.get(), bytes);
}

std::optional<std::string> Win32Registry::ReadString(RegistryRoot root, const std::string& key,
                                                     const std::string& value) const {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(RootKey(root), Wide(key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const UniqueKey guard(opened);
    const std::wstring name = Wide(value);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(opened, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegQueryValueExW(opened, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    data.resize(wcsnlen(data.c_str(), data.size()));
    return Narrow(data);
}

std::optional<std::uint32_t> Win32Registry::ReadDword(RegistryRoot root, const std::string& key,
                                                      const std::string& value) const {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(RootKey(root), Wide(key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const UniqueKey guard(opened);
    DWORD type = 0;
    DWORD number = 0;
    DWORD size = sizeof number;
    if (RegQueryValueExW(opened, Wide(value).c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&number), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof number) {
        return std::nullopt;
    }
    return number;
}

bool Win32Registry::DeleteValue(RegistryRoot root, const std::string& key,
                                const std::string& value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(RootKey(root), Wide(key).c_str(), 0, KEY_ALL_ACCESS, &opened) !=
        ERROR_SUCCESS) {
        return false;
    }
    const UniqueKey guard(opened);
    return RegDeleteValueW(opened, Wide(value).c_str()) == ERROR_SUCCESS;
}

std::string Win32Shell::SpecialFolder(int id) const {
    wchar_t buffer[MAX_PATH + 1] = {};
    // SHFOLDER.DLL first, loaded at run time: it is what older systems have.
    const UniqueModule shfolder = LoadSystemLibrary(L"SHFOLDER.DLL");
    using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
    if (shfolder) {
        const auto get = reinterpret_cast<GetFolderPath>(
            reinterpret_cast<void*>(GetProcAddress(shfolder.get(), "SHGetFolderPathW")));
        if (get != nullptr) {
            return SUCCEEDED(get(GetActiveWindow(), id, nullptr, 0, buffer)) ? Narrow(buffer)
                                                                             : std::string();
        }
    }
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(GetActiveWindow(), id, &list)))
        return {};
    const bool ok = SHGetPathFromIDListW(list, buffer) != FALSE;
    CoTaskMemFree(list);
    return ok ? Narrow(buffer) : std::string();
}

void Win32Shell::Open(const std::string& target) {
    ShellExecuteW(GetActiveWindow(), nullptr, Wide(target).c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
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

DriverDirectory Win32System::PrinterDriverDirectory() const {
    // The spooler's library is loaded at run time: without it the program must still start.
    const UniqueModule winspool = LoadSystemLibrary(L"winspool.drv");
    if (!winspool)
        return {false, {}, GetLastError()};
    using GetDirectory = BOOL(WINAPI*)(LPWSTR, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD);
    const auto get = reinterpret_cast<GetDirectory>(
        reinterpret_cast<void*>(GetProcAddress(winspool.get(), "GetPrinterDriverDirectoryW")));
    if (get == nullptr)
        return {false, {}, GetLastError()};
    wchar_t buffer[256] = {};
    DWORD needed = 0;
    if (!get(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(buffer), sizeof(buffer), &needed)) {
        return {false, {}, GetLastError()};
    }
    return {true, Narrow(buffer), 0};
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

std::int64_t Win32System::FreeSpace(const std::string& root) const {
    ULARGE_INTEGER available;
    // A drive that is not ready must not bring up the platform's "insert a disk" box.
    const UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS);
    const BOOL ok = GetDiskFreeSpaceExW(Wide(root).c_str(), &available, nullptr, nullptr);
    SetErrorMode(mode);
    return ok ? static_cast<std::int64_t>(available.QuadPart) : -1;
}

std::string Win32System::CurrentDirectoryOf(const std::string& drive) const {
    wchar_t buffer[MAX_PATH + 1] = {};
    const std::wstring relative = Wide(drive.substr(0, 2)) + L".";
    if (GetFullPathNameW(relative.c_str(), MAX_PATH, buffer, nullptr) == 0)
        return drive.substr(0, 2) + "\\";
    return Narrow(buffer);
}

bool Win32System::ChangeDirectory(const std::string& path) {
    return SetCurrentDirectoryW(Wide(path).c_str()) != FALSE;
}

}  // namespace platform
