// Time through the platform: tick count, sleeping, the user's formats, file-time conversion.
#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {

// The user's format of the current time or date, through a call of GetTimeFormatW's shape.
template <typename Format>
std::string Formatted(Format format) {
    wchar_t buffer[128] = {};
    return format(buffer, 128) > 0 ? Narrow(buffer) : std::string();
}

}  // namespace

std::uint64_t Win32Clock::Milliseconds() const {
    // GetTickCount64 (from Vista on) does not wrap after 49 days; older systems have only the
    // 32-bit count.
    using TickCount64 = ULONGLONG(WINAPI*)();
    static const auto tick_count_64 = reinterpret_cast<TickCount64>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTickCount64")));
    return tick_count_64 != nullptr ? tick_count_64() : GetTickCount();
}

void Win32Clock::Sleep(unsigned milliseconds) {
    ::Sleep(milliseconds);
}

std::string Win32Clock::LocalTimeAndDate() const {
    return Formatted([](wchar_t* b, int n) {
               return GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, b, n);
           }) +
           " " + Formatted([](wchar_t* b, int n) {
               return GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, b, n);
           });
}

std::uint32_t Win32Clock::LocalDosDateTime(std::int64_t file_time) const {
    FILETIME utc;
    utc.dwLowDateTime = static_cast<DWORD>(file_time);
    utc.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(file_time) >> 32);
    FILETIME local;
    WORD date = 0;
    WORD time = 0;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &date, &time))
        return 0;
    return (static_cast<std::uint32_t>(date) << 16) | time;
}

}  // namespace platform
