// Creating, writing and deleting registry keys.
#include <cstddef>
#include <string>

#include "platform/win32/registry_keys.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {

Result<void> StatusOf(LONG result) {
    return result == ERROR_SUCCESS ? Success() : Failure(static_cast<std::uint32_t>(result));
}

// One value into a key opened without creating it.
Result<void> SetValue(RegistryRoot root, const std::string& key, const std::string& name,
                      DWORD type, const void* data, std::size_t size) {
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExW(RootKey(root), Wide(key).c_str(), 0, KEY_SET_VALUE, &opened);
    if (result != ERROR_SUCCESS)
        return StatusOf(result);
    const UniqueKey guard(opened);
    return StatusOf(RegSetValueExW(opened, Wide(name).c_str(), 0, type,
                                   static_cast<const BYTE*>(data), static_cast<DWORD>(size)));
}

}  // namespace

LONG DeleteKeyTreeByHand(HKEY parent, const std::wstring& name) {
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ | DELETE, &opened);
    if (result != ERROR_SUCCESS)
        return result;
    UniqueKey key(opened);
    // Always the first subkey: each one is gone once deleted, which shifts the others down.
    for (;;) {
        wchar_t subkey[256] = {};  // the longest key name is 255 characters
        DWORD length = 256;
        result = RegEnumKeyExW(opened, 0, subkey, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS)
            return result;
        result = DeleteKeyTreeByHand(opened, subkey);
        if (result != ERROR_SUCCESS)
            return result;
    }
    key.reset();
    return RegDeleteKeyW(parent, name.c_str());
}

bool Win32Registry::KeyExists(RegistryRoot root, const std::string& key) const {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(RootKey(root), Wide(key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    const UniqueKey guard(opened);
    return true;
}

Result<void> Win32Registry::CreateKey(RegistryRoot root, const std::string& key) {
    HKEY opened = nullptr;
    const LONG result =
        RegCreateKeyExW(RootKey(root), Wide(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &opened, nullptr);
    const UniqueKey guard(opened);
    return StatusOf(result);
}

Result<void> Win32Registry::WriteString(RegistryRoot root, const std::string& key,
                                        const std::string& name, const std::string& data) {
    const std::wstring text = Wide(data);
    return SetValue(root, key, name, REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

Result<void> Win32Registry::WriteDword(RegistryRoot root, const std::string& key,
                                       const std::string& name, std::uint32_t data) {
    const DWORD number = data;
    return SetValue(root, key, name, REG_DWORD, &number, sizeof number);
}

Result<void> Win32Registry::DeleteTree(RegistryRoot root, const std::string& key) {
    // An empty name would mean the root itself: everything under it would go.
    if (key.find_first_not_of('\\') == std::string::npos)
        return Failure(kErrorInvalidParameter);
    // The platform's own call where it has one (from Vista on).
    using DeleteTreeCall = LONG(WINAPI*)(HKEY, LPCWSTR);
    static const auto delete_tree = reinterpret_cast<DeleteTreeCall>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"advapi32.dll"), "RegDeleteTreeW")));
    const std::wstring name = Wide(key);
    if (delete_tree == nullptr)
        return StatusOf(DeleteKeyTreeByHand(RootKey(root), name));
    return StatusOf(delete_tree(RootKey(root), name.c_str()));
}

Result<void> Win32Registry::DeleteEmptyKey(RegistryRoot root, const std::string& key) {
    if (key.find_first_not_of('\\') == std::string::npos)
        return Failure(kErrorInvalidParameter);
    const std::wstring name = Wide(key);
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExW(RootKey(root), name.c_str(), 0, KEY_READ, &opened);
    if (result != ERROR_SUCCESS)
        return StatusOf(result);
    DWORD subkeys = 0;
    DWORD values = 0;
    {
        const UniqueKey guard(opened);
        result = RegQueryInfoKeyW(opened, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                  &values, nullptr, nullptr, nullptr, nullptr);
    }
    if (result != ERROR_SUCCESS)
        return StatusOf(result);
    if (subkeys != 0 || values != 0)
        return Failure(kErrorDirNotEmpty);
    return StatusOf(RegDeleteKeyW(RootKey(root), name.c_str()));
}

}  // namespace platform
