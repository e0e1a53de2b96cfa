#include "link_reader.h"

#include <windows.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "driver/strings.h"
#include "driver/wait.h"
#include "driver/wizard_walk.h"
#include "platform/win32/handles.h"
#include "profile_records.h"

namespace e2e {

std::string UnixPath(const std::wstring& path) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unix_name = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    // The name is the process heap's to free.
    const auto free_name = [](char* name) { HeapFree(GetProcessHeap(), 0, name); };
    const std::unique_ptr<char, decltype(free_name)> name(
        unix_name != nullptr ? unix_name(path.c_str()) : nullptr, free_name);
    if (name == nullptr) {
        throw std::runtime_error("no Linux path for " + Utf8(path));
    }
    return name.get();
}

// Wine starts a Linux program from CreateProcess but hands back no handle to wait on, so the
// program's output is written under a temporary name and renamed when complete.
LinkFields ReadLink(const std::wstring& link) {
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
    // Whatever handles Wine handed back, closed: there is nothing to wait on.
    const platform::UniqueKernelObject thread(info.hThread);
    const platform::UniqueKernelObject process(info.hProcess);
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
