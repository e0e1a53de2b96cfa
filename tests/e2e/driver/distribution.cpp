#include "distribution.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "strings.h"

namespace e2e {

namespace fs = std::filesystem;

Distribution::Distribution(std::string_view source) {
    const fs::path from = HostPath(source);
    if (!fs::is_directory(from)) {
        throw std::runtime_error("no distribution at " + std::string(source));
    }
    static int copies = 0;
    const fs::path to =
        fs::temp_directory_path() /
        (L"zk-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++copies));
    fs::remove_all(to);
    fs::create_directories(to);
    fs::copy(from, to, fs::copy_options::recursive);
    folder_ = to.wstring();
}

Distribution::~Distribution() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

void Distribution::Remove(std::string_view name) const {
    if (!fs::remove(fs::path(folder_) / Wide(name))) {
        throw std::runtime_error("the distribution has no " + std::string(name) + " to remove");
    }
}

void Distribution::Write(std::string_view name, std::string_view bytes) const {
    std::ofstream file(fs::path(folder_) / Wide(name), std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        throw std::runtime_error("cannot write " + std::string(name) + " into the distribution");
    }
}

}  // namespace e2e
