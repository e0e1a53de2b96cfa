// A library planted beside setup.exe under the name of a library the program loads: when
// anything loads it, it leaves the file "<its own path>.loaded" beside itself, and does nothing
// else.
#include <windows.h>

#include <string>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        std::wstring path(MAX_PATH, L'\0');
        path.resize(GetModuleFileNameW(instance, path.data(), MAX_PATH));
        const HANDLE marker = CreateFileW((path + L".loaded").c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (marker != INVALID_HANDLE_VALUE)
            CloseHandle(marker);
    }
    return TRUE;
}
