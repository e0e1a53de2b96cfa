#include "machine_snapshot.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "driver/strings.h"
#include "driver/wizard_walk.h"
#include "installed_machine.h"
#include "platform/win32/handles.h"

namespace e2e {
namespace {

// Compared by its entries instead: Wine rewrites the file, with its time, for any entry.
constexpr std::string_view kWinIni = "c:\\windows\\win.ini";

// Keys (and everything below them) that change with nothing installed, lower case, after the
// root's full name: the hardware key, which the system makes anew at every start.
constexpr std::string_view kVolatileKeys[] = {
    "hkey_local_machine\\hardware",
    // The display driver's data, written anew when a process starts the desktop.
    "hkey_local_machine\\system\\currentcontrolset\\control\\video",
    "hkey_local_machine\\system\\currentcontrolset\\control\\class\\{4d36e968-e325-11ce-bfc1-"
    "08002be10318}",
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::uint64_t Combined(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

// Every entry below the folder, folders before their content; links into other places (reparse
// points) are listed but not entered.
void ListFolder(const std::string& folder, std::map<std::string, FileState>& files) {
    WIN32_FIND_DATAW found{};
    const platform::UniqueFind search(FindFirstFileExW(
        Wide(folder + "\\*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!search)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::string path = folder + "\\" + Utf8(name);
        if (Lower(path) == kWinIni)
            continue;
        const bool directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        files[path] = directory
                          ? FileState{.directory = true}
                          : FileState{.size = Combined(found.nFileSizeHigh, found.nFileSizeLow),
                                      .write_time = Combined(found.ftLastWriteTime.dwHighDateTime,
                                                             found.ftLastWriteTime.dwLowDateTime)};
        if (directory && (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
            ListFolder(path, files);
    } while (FindNextFileW(search.get(), &found));
}

// A reg.exe export of a root in a view, as UTF-8 text.
std::string Export(const std::string& root, const std::string& view) {
    const std::filesystem::path folder = HostPath(E2E_BUILD_DIR "/e2e-snapshot");
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / (root + view + ".reg");
    RunProgram(L"reg.exe export " + Wide(root) + L" \"" + file.wstring() + L"\" /y /reg:" +
               Wide(view));
    const std::string bytes = ReadBytes(file.wstring());
    std::filesystem::remove(file);
    std::wstring text(bytes.size() / 2, L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    if (!text.empty() && text.front() == 0xFEFF)
        text.erase(0, 1);
    return Utf8(text);
}

// The export's keys and values as snapshot lines; a value continued over lines ("\" at the end)
// made one line.
void AddRegistryLines(const std::string& text, const std::string& view,
                      std::set<std::string>& lines) {
    std::string key;
    bool skipped = false;
    std::string value;
    for (const std::string& raw : Lines(text)) {
        if (!value.empty()) {
            value += Trimmed(raw);
        } else if (raw.starts_with('[') && raw.ends_with(']')) {
            key = raw.substr(1, raw.size() - 2);
            const std::string lower = Lower(key);
            skipped = std::ranges::any_of(kVolatileKeys, [&](std::string_view volatile_key) {
                return lower.starts_with(volatile_key) &&
                       (lower.size() == volatile_key.size() || lower[volatile_key.size()] == '\\');
            });
            if (!skipped)
                lines.insert(view + " " + key);
            continue;
        } else if (raw.empty() || key.empty()) {
            continue;
        } else {
            value = raw;
        }
        if (value.ends_with('\\')) {
            value.pop_back();
            continue;
        }
        if (!skipped)
            lines.insert(view + " " + key + ": " + value);
        value.clear();
    }
}

}  // namespace

MachineSnapshot TakeMachineSnapshot() {
    MachineSnapshot snapshot;
    ListFolder("C:", snapshot.files);
    for (const char* view : {"64", "32"}) {
        for (const char* root : {"HKLM", "HKCU", "HKCR"})
            AddRegistryLines(Export(root, view), std::string("reg") + view, snapshot.registry);
    }
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    std::string section;
    for (const std::string& raw : Lines(ReadAnsiFile(std::wstring(windows) + L"\\win.ini"))) {
        const std::string line = Trimmed(raw);
        if (line.starts_with('[') && line.ends_with(']'))
            section = line;
        else if (!line.empty() && !line.starts_with(';'))
            snapshot.win_ini.insert(section + " " + line);
    }
    return snapshot;
}

std::vector<std::string> SnapshotDifferences(const MachineSnapshot& before,
                                             const MachineSnapshot& after) {
    std::vector<std::string> lines;
    for (const auto& [path, state] : before.files) {
        const auto now = after.files.find(path);
        if (now == after.files.end()) {
            lines.push_back("- " + path);
        } else if (!state.directory && !now->second.directory && state != now->second) {
            lines.push_back("~ " + path + " (size " + std::to_string(state.size) + " -> " +
                            std::to_string(now->second.size) +
                            (state.write_time != now->second.write_time ? ", time changed)" : ")"));
        } else if (state.directory != now->second.directory) {
            lines.push_back("~ " + path +
                            (now->second.directory ? " (now a folder)" : " (now a file)"));
        }
    }
    for (const auto& [path, state] : after.files) {
        if (!before.files.contains(path))
            lines.push_back("+ " + path);
    }
    const auto compare = [&lines](const std::set<std::string>& old_lines,
                                  const std::set<std::string>& new_lines, const std::string& tag) {
        for (const std::string& line : old_lines) {
            if (!new_lines.contains(line))
                lines.push_back("- " + tag + line);
        }
        for (const std::string& line : new_lines) {
            if (!old_lines.contains(line))
                lines.push_back("+ " + tag + line);
        }
    };
    compare(before.registry, after.registry, "");
    compare(before.win_ini, after.win_ini, "win.ini ");
    return lines;
}

}  // namespace e2e
