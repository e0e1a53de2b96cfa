#include "platform/fake/fake_system.h"

#include <stdexcept>

#include "platform/text.h"

namespace platform {

FakeRegistry::Name FakeRegistry::NameOf(RegistryRoot root, const std::string& key,
                                        const std::string& value) {
    return {root, ToLower(key), ToLower(value)};
}

void FakeRegistry::Set(RegistryRoot root, const std::string& key, const std::string& value,
                       const std::string& data) {
    values_[NameOf(root, key, value)] = data;
}

bool FakeRegistry::Has(RegistryRoot root, const std::string& key, const std::string& value) const {
    return values_.contains(NameOf(root, key, value));
}

std::optional<std::string> FakeRegistry::ReadString(RegistryRoot root, const std::string& key,
                                                    const std::string& value) const {
    const auto found = values_.find(NameOf(root, key, value));
    if (found == values_.end())
        return std::nullopt;
    return found->second;
}

bool FakeRegistry::DeleteValue(RegistryRoot root, const std::string& key,
                               const std::string& value) {
    return values_.erase(NameOf(root, key, value)) > 0;
}

std::string FakeShell::SpecialFolder(int id) const {
    const auto found = folders.find(id);
    return found == folders.end() ? std::string() : found->second;
}

void FakeSystem::SetWinIni(const std::string& section, const std::string& key,
                           const std::string& value) {
    win_ini[{ToLower(section), ToLower(key)}] = value;
}

std::string FakeSystem::ReadWinIni(const std::string& section, const std::string& key) const {
    const auto found = win_ini.find({ToLower(section), ToLower(key)});
    return found == win_ini.end() ? std::string() : found->second;
}

DriverDirectory FakeSystem::PrinterDriverDirectory() const {
    if (driver_directory_throws)
        throw std::runtime_error("spooler access violation");
    return driver_directory;
}

std::int64_t FakeSystem::FreeSpace(const std::string& root) const {
    const auto found = free_space.find(ToLower(root));
    return found == free_space.end() ? -1 : found->second;
}

std::string FakeSystem::CurrentDirectoryOf(const std::string& drive) const {
    const auto found = current_directories.find(ToLower(drive.substr(0, 2)));
    return found == current_directories.end() ? drive.substr(0, 2) + "\\" : found->second;
}

bool FakeSystem::ChangeDirectory(const std::string& path) {
    current_directory = path;
    if (path.size() >= 2)
        current_directories[ToLower(path.substr(0, 2))] = path;
    return true;
}

}  // namespace platform
