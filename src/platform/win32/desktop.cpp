// What the program does to the session as a whole: win.ini, a message to every top-level
// window, the mouse cursor.
#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace platform {

Result<void> Win32System::WriteWinIni(const std::string& section, const std::string& key,
                                      const std::string& value) {
    if (WriteProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str()))
        return Success();
    return Failure(GetLastError());
}

Result<void> Win32System::DeleteWinIni(const std::string& section, const std::string& key) {
    const std::wstring name = Wide(section);
    if (!WriteProfileStringW(name.c_str(), Wide(key).c_str(), nullptr))
        return Failure(GetLastError());
    // The key list of the section: empty when no key is left.
    wchar_t keys[4] = {};
    if (GetProfileStringW(name.c_str(), nullptr, L"", keys, 4) == 0 &&
        !WriteProfileStringW(name.c_str(), nullptr, nullptr))
        return Failure(GetLastError());
    return Success();
}

void Win32System::BroadcastMessage(const std::string& message_name, unsigned timeout_ms) {
    const UINT message = RegisterWindowMessageW(Wide(message_name).c_str());
    if (message == 0)
        return;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_NORMAL, timeout_ms, &result);
}

void Win32System::SetBusyCursor(bool busy) {
    if (!windowless_)
        SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

}  // namespace platform
