// delete_loop.exe [--floor] FOLDER MANIFEST: the least a Win32 uninstaller must do for a payload
// installed into FOLDER: DeleteFileW for each file the manifest lists (lines "rel\path<TAB>size",
// as the peer kit writes them), then RemoveDirectoryW for their folders, deepest first, and FOLDER
// itself. The floor the product's uninstaller is measured against; ends with 1 when anything stays.
//
// With --floor it first makes the calls that no removal of this product can leave out, as the
// uninstaller makes them: the shell's folders where the shortcuts lie, the service library's test
// of the seven application names and its service removal, and a copy of itself in the temporary
// folder, started before the deletes, which removes FOLDER once this process has ended (the
// uninstaller's own file cannot go while it runs). That is the floor of the calls alone.
// delete_loop.exe --after PID FOLDER is that copy.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

template <typename Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void FindShellFolders() {
    using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
    const HMODULE shfolder = LoadLibraryW(L"SHFOLDER.DLL");
    const auto get = Export<GetFolderPath>(shfolder, "SHGetFolderPathW");
    std::array<wchar_t, MAX_PATH + 1> path{};
    // All users' desktop and programs, the user's application data.
    for (const int id : {25, 23, 26})
        get(nullptr, id, nullptr, 0, path.data());
    FreeLibrary(shfolder);
}

void CallServiceLibrary() {
    using TestProcessExec = int(__stdcall*)(int, const char*);
    using RemoveService = void(__stdcall*)(const char*);
    HMODULE library = LoadLibraryW(L"znklrf32.dll");
    const auto test = Export<TestProcessExec>(library, "TestProcessExec");
    for (const char* name : {"zinkolar.exe", "zkmanager.exe", "phbook.exe", "zkdrv32.exe",
                             "scripted.exe", "logbook.exe", "zksched.exe"})
        test(1, name);
    FreeLibrary(library);
    library = LoadLibraryW(L"znklrf32.dll");
    Export<RemoveService>(library, "RemoveService")("ZkDrv32");
    FreeLibrary(library);
}

void StartCopy(const std::wstring& folder) {
    std::array<wchar_t, MAX_PATH> self{};
    std::array<wchar_t, MAX_PATH> temp{};
    GetModuleFileNameW(nullptr, self.data(), MAX_PATH);
    GetTempPathW(MAX_PATH, temp.data());
    const std::wstring copy = std::wstring(temp.data()) + L"delete_loop_copy.exe";
    CopyFileW(self.data(), copy.c_str(), FALSE);
    std::wstring command = L"\"" + copy + L"\" --after " + std::to_wstring(GetCurrentProcessId()) +
                           L" \"" + folder + L"\"";
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
    PROCESS_INFORMATION process{};
    if (CreateProcessW(copy.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

int AfterParent(const wchar_t* pid, const wchar_t* folder) {
    if (const HANDLE parent = OpenProcess(SYNCHRONIZE, FALSE, std::wcstoul(pid, nullptr, 10))) {
        WaitForSingleObject(parent, INFINITE);
        CloseHandle(parent);
    }
    return RemoveDirectoryW(folder) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && std::wstring(argv[1]) == L"--after")
        return AfterParent(argv[2], argv[3]);
    const bool floor = argc == 4 && std::wstring(argv[1]) == L"--floor";
    if (argc != 3 && !floor) {
        std::fputs("usage: delete_loop [--floor] FOLDER MANIFEST\n", stderr);
        return 2;
    }
    const std::wstring folder = argv[argc - 2];
    if (floor) {
        FindShellFolders();
        CallServiceLibrary();
        StartCopy(folder);
    }
    std::ifstream manifest(argv[argc - 1]);
    std::vector<std::wstring> files;
    std::set<std::wstring> folders;
    for (std::string line; std::getline(manifest, line);) {
        const std::string relative = line.substr(0, line.find('\t'));
        if (relative.empty())
            continue;
        // The kit's names are ASCII.
        files.push_back(folder + L"\\" + std::wstring(relative.begin(), relative.end()));
        for (std::size_t slash = files.back().rfind(L'\\'); slash > folder.size();
             slash = files.back().rfind(L'\\', slash - 1))
            folders.insert(files.back().substr(0, slash));
    }
    int status = 0;
    for (const std::wstring& file : files) {
        if (!DeleteFileW(file.c_str()))
            status = 1;
    }
    // Longer paths first: a folder before its parent.
    std::vector<std::wstring> deepest_first(folders.begin(), folders.end());
    std::ranges::sort(deepest_first,
                      [](const auto& a, const auto& b) { return a.size() > b.size(); });
    if (!floor)
        deepest_first.push_back(folder);
    for (const std::wstring& path : deepest_first) {
        if (!RemoveDirectoryW(path.c_str()))
            status = 1;
    }
    return status;
}
