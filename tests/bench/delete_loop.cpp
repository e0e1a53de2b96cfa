// delete_loop.exe FOLDER MANIFEST: the least a Win32 uninstaller must do for a payload installed
// into FOLDER: DeleteFileW for each file the manifest lists (lines "rel\path<TAB>size", as the peer
// kit writes them), then RemoveDirectoryW for their folders, deepest first, and FOLDER itself.
// The floor the product's uninstaller is measured against; ends with 1 when anything stays.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: delete_loop FOLDER MANIFEST\n", stderr);
        return 2;
    }
    const std::wstring folder = argv[1];
    std::ifstream manifest(argv[2]);
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
    deepest_first.push_back(folder);
    for (const std::wstring& path : deepest_first) {
        if (!RemoveDirectoryW(path.c_str()))
            status = 1;
    }
    return status;
}
