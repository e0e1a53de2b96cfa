#include "registry_export.h"

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "driver/strings.h"
#include "driver/wizard_walk.h"
#include "program_runner.h"

namespace e2e {

std::map<std::string, std::string> RegistryValues(const std::string& key) {
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

}  // namespace e2e
