#pragma once
// The machine after an installation, read from outside the setup program with readers of its
// own: profile files parsed here, the registry through the system's reg.exe, shell links through
// lnkinfo (liblnk-utils), an independent reader of the link format run on the Linux side.
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "driver/strings.h"
#include "driver/wait.h"
#include "driver/wizard_walk.h"

namespace e2e {

// "key=value" lines of one section of a profile file, in file order, blanks around both dropped.
using Records = std::vector<std::pair<std::string, std::string>>;

inline std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The sections of a profile text in file order, each with its records.
inline std::vector<std::pair<std::string, Records>> ProfileSections(const std::string& text) {
    std::vector<std::pair<std::string, Records>> sections;
    for (const std::string& raw : Lines(text)) {
        const std::string line = Trimmed(raw);
        if (line.starts_with('[') && line.ends_with(']')) {
            sections.emplace_back(line.substr(1, line.size() - 2), Records{});
        } else if (const auto equals = line.find('=');
                   equals != std::string::npos && !sections.empty()) {
            sections.back().second.emplace_back(Trimmed(line.substr(0, equals)),
                                                Trimmed(line.substr(equals + 1)));
        }
    }
    return sections;
}

inline Records ProfileSection(const std::string& text, const std::string& section) {
    for (const auto& [name, records] : ProfileSections(text)) {
        if (lstrcmpiW(Wide(name).c_str(), Wide(section).c_str()) == 0) {
            return records;
        }
    }
    return {};
}

// Runs a Windows program to its end; throws when it cannot start or fails.
inline void RunProgram(std::wstring command) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                       nullptr, &startup, &info) == 0) {
        throw std::runtime_error("cannot start " + Utf8(command));
    }
    CloseHandle(info.hThread);
    WaitForSingleObject(info.hProcess, 30000);
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    if (code != 0) {
        throw std::runtime_error(Utf8(command) + " ended with " + std::to_string(code));
    }
}

// The string values of one registry key (not its subkeys) by name, the default value under "",
// as the system's reg.exe exports them; empty when the key is not there.
inline std::map<std::string, std::string> RegistryValues(const std::string& key) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("zk-e2e-" + std::to_string(GetCurrentProcessId()) + ".reg");
    std::filesystem::remove(file);
    try {
        RunProgram(L"reg.exe export \"" + Wide(key) + L"\" \"" + file.wstring() + L"\" /y");
    } catch (const std::runtime_error&) {
        return {};
    }
    const std::string bytes = ReadBytes(file.wstring());
    std::filesystem::remove(file);
    // UTF-16LE with a byte-order mark.
    std::wstring text(bytes.size() / 2, L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    if (!text.empty() && text.front() == 0xFEFF) {
        text.erase(0, 1);
    }
    std::map<std::string, std::string> values;
    bool in_key = false;
    for (const std::string& line : Lines(Utf8(text))) {
        if (line.starts_with('[')) {
            // Only the key itself, not the subkeys that follow it.
            in_key = !in_key && values.empty();
            continue;
        }
        if (!in_key || line.empty()) {
            continue;
        }
        std::string name;
        size_t at = 0;
        if (line[0] == '@') {
            at = 1;
        } else if (line[0] == '"') {
            for (at = 1; at < line.size() && line[at] != '"'; ++at) {
                if (line[at] == '\\') {
                    ++at;
                }
                name += line[at];
            }
            ++at;
        }
        // A number value reads as reg.exe writes it: "dword:" and eight hex digits.
        if (line.compare(at, 7, "=dword:") == 0) {
            values[name] = line.substr(at + 1);
            continue;
        }
        if (line.compare(at, 2, "=\"") != 0) {
            continue;  // neither a string nor a number value
        }
        std::string data;
        for (at += 2; at < line.size() && line[at] != '"'; ++at) {
            if (line[at] == '\\') {
                ++at;
            }
            data += line[at];
        }
        values[name] = data;
    }
    return values;
}

// The Linux path of a Windows path, through Wine's own conversion.
inline std::string UnixPath(const std::wstring& path) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unix_name = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unix_name != nullptr ? unix_name(path.c_str()) : nullptr;
    if (name == nullptr) {
        throw std::runtime_error("no Linux path for " + Utf8(path));
    }
    std::string text = name;
    HeapFree(GetProcessHeap(), 0, name);
    return text;
}

// A link as lnkinfo reads it.
struct LinkFields {
    std::string target;
    std::string arguments;
    std::string working_directory;
};

// Runs lnkinfo on a link file. Wine starts a Linux program from CreateProcess but hands back no
// handle to wait on, so the program's output is written under a temporary name and renamed
// when complete.
inline LinkFields ReadLink(const std::wstring& link) {
    const std::wstring output = std::filesystem::temp_directory_path().wstring() + L"zk-lnkinfo-" +
                                std::to_wstring(GetCurrentProcessId()) + L".txt";
    DeleteFileW(output.c_str());
    const std::string out = UnixPath(output);
    std::wstring command = Wide("sh -c \"/usr/bin/lnkinfo '" + UnixPath(link) + "' > '" + out +
                                ".part' 2>&1; /bin/mv '" + out + ".part' '" + out + "'\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(L"Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info) == 0) {
        throw std::runtime_error("cannot start lnkinfo, error " + std::to_string(GetLastError()));
    }
    if (info.hProcess != nullptr) {
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    WaitUntil([&] { return GetFileAttributesW(output.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10s,
              "lnkinfo on " + Utf8(link));
    const std::string text = ReadBytes(output);
    DeleteFileW(output.c_str());
    LinkFields fields;
    for (const std::string& line : Lines(text)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        const std::string name = Trimmed(line.substr(0, colon));
        const std::string value = Trimmed(line.substr(colon + 1));
        if (name == "Local path") {
            fields.target = value;
        } else if (name == "Command line arguments") {
            fields.arguments = value;
        } else if (name == "Working directory") {
            fields.working_directory = value;
        }
    }
    if (fields.target.empty()) {
        throw std::runtime_error("lnkinfo found no target in " + Utf8(link) + ":\n" + text);
    }
    return fields;
}

}  // namespace e2e
