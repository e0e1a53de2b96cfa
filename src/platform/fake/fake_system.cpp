#include "platform/fake/fake_system.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/text.h"

namespace platform {
namespace {

std::string CleanKey(const std::string& key) {
    const auto first = key.find_first_not_of('\\');
    if (first == std::string::npos)
        return {};
    return key.substr(first, key.find_last_not_of('\\') - first + 1);
}

// A value's data when it is of the type asked for.
template <typename Type, typename Values, typename Name>
Result<Type> DataOf(const Values& values, const Name& name) {
    const auto found = values.find(name);
    if (found == values.end())
        return Failure(kErrorFileNotFound);
    if (!std::holds_alternative<Type>(found->second))
        return Failure(kErrorInvalidDatatype);
    return std::get<Type>(found->second);
}

// The bytes of a fake link file: a marker line, then one line per property.
constexpr std::string_view kLinkMarker = "[fake shell link]\n";

}  // namespace

FakeRegistry::KeyName FakeRegistry::KeyNameOf(RegistryRoot root, const std::string& key) {
    return {root, ToLower(CleanKey(key))};
}

FakeRegistry::Name FakeRegistry::NameOf(RegistryRoot root, const std::string& key,
                                        const std::string& value) {
    return {root, ToLower(CleanKey(key)), ToLower(value)};
}

void FakeRegistry::Set(RegistryRoot root, const std::string& key, const std::string& value,
                       const std::string& data) {
    const std::string clean = CleanKey(key);
    for (size_t end = clean.find('\\'); end != std::string::npos; end = clean.find('\\', end + 1))
        keys_.emplace(KeyNameOf(root, clean.substr(0, end)), clean.substr(0, end));
    keys_.emplace(KeyNameOf(root, clean), clean);
    values_[NameOf(root, key, value)] = data;
}

bool FakeRegistry::Has(RegistryRoot root, const std::string& key, const std::string& value) const {
    return values_.contains(NameOf(root, key, value));
}

Result<std::string> FakeRegistry::ReadString(RegistryRoot root, const std::string& key,
                                             const std::string& value) const {
    return DataOf<std::string>(values_, NameOf(root, key, value));
}

Result<std::uint32_t> FakeRegistry::ReadDword(RegistryRoot root, const std::string& key,
                                              const std::string& value) const {
    return DataOf<std::uint32_t>(values_, NameOf(root, key, value));
}

Result<void> FakeRegistry::DeleteValue(RegistryRoot root, const std::string& key,
                                       const std::string& value) {
    if (const FailureRule* rule = failures.Check(FakeOperation::DeleteValue, key))
        return Failure(rule->error);
    if (values_.erase(NameOf(root, key, value)) == 0)
        return Failure(kErrorFileNotFound);
    return Success();
}

bool FakeRegistry::KeyExists(RegistryRoot root, const std::string& key) const {
    return CleanKey(key).empty() || keys_.contains(KeyNameOf(root, key));
}

Result<void> FakeRegistry::CreateKey(RegistryRoot root, const std::string& key) {
    const std::string clean = CleanKey(key);
    for (size_t end = 0; end != std::string::npos && !clean.empty();) {
        end = clean.find('\\', end + 1);
        const std::string part = clean.substr(0, end);
        if (KeyExists(root, part))
            continue;
        if (const FailureRule* rule = failures.Check(FakeOperation::CreateKey, part))
            return Failure(rule->error);
        keys_.emplace(KeyNameOf(root, part), part);
    }
    return Success();
}

Result<void> FakeRegistry::WriteString(RegistryRoot root, const std::string& key,
                                       const std::string& name, const std::string& data) {
    return WriteValue(root, key, name, data);
}

Result<void> FakeRegistry::WriteDword(RegistryRoot root, const std::string& key,
                                      const std::string& name, std::uint32_t data) {
    return WriteValue(root, key, name, data);
}

Result<void> FakeRegistry::WriteValue(RegistryRoot root, const std::string& key,
                                      const std::string& name, Data data) {
    if (!KeyExists(root, key))
        return Failure(kErrorFileNotFound);
    if (const FailureRule* rule = failures.Check(FakeOperation::WriteValue, key))
        return Failure(rule->error);
    values_[NameOf(root, key, name)] = std::move(data);
    return Success();
}

Result<void> FakeRegistry::DeletionRefused(RegistryRoot root, const std::string& key) const {
    if (CleanKey(key).empty())
        return Failure(kErrorInvalidParameter);
    if (!KeyExists(root, key))
        return Failure(kErrorFileNotFound);
    if (const FailureRule* rule = failures.Check(FakeOperation::DeleteKey, key))
        return Failure(rule->error);
    return Success();
}

Result<void> FakeRegistry::DeleteTree(RegistryRoot root, const std::string& key) {
    if (Result<void> refused = DeletionRefused(root, key); !refused)
        return refused;
    const KeyName tree = KeyNameOf(root, key);
    const auto inside = [&](RegistryRoot r, const std::string& path) {
        return r == tree.first && (path == tree.second || path.starts_with(tree.second + "\\"));
    };
    std::erase_if(keys_, [&](const auto& k) { return inside(k.first.first, k.first.second); });
    std::erase_if(
        values_, [&](const auto& v) { return inside(std::get<0>(v.first), std::get<1>(v.first)); });
    return Success();
}

Result<void> FakeRegistry::DeleteEmptyKey(RegistryRoot root, const std::string& key) {
    if (Result<void> refused = DeletionRefused(root, key); !refused)
        return refused;
    const KeyName name = KeyNameOf(root, key);
    const bool has_subkey = std::ranges::any_of(keys_, [&](const auto& k) {
        return k.first.first == root && k.first.second.starts_with(name.second + "\\");
    });
    const bool has_value = std::ranges::any_of(values_, [&](const auto& v) {
        return std::get<0>(v.first) == root && std::get<1>(v.first) == name.second;
    });
    if (has_subkey || has_value)
        return Failure(kErrorDirNotEmpty);
    keys_.erase(name);
    return Success();
}

Result<std::string> FakeShell::SpecialFolder(int id) const {
    const auto found = folders.find(id);
    if (found == folders.end())
        return Failure(kErrorFileNotFound);
    return found->second;
}

Result<void> FakeShell::CreateLink(const ShellLink& link, const std::string& file) {
    if (failures.Check(FakeOperation::MakeLink, file))
        return Failure(kErrorNotLinkable);
    if (const FailureRule* rule = failures.Check(FakeOperation::SaveLink, file))
        return Failure(rule->error);
    const auto saved = files_.Open(file, OpenMode::Create);
    if (!saved)
        return saved.error();
    Result<void> written = (*saved)->Write(std::string(kLinkMarker) + link.target + "\n" +
                                           link.arguments + "\n" + link.working_directory);
    if (written)
        links.push_back(file);
    return written;
}

Result<ShellLink> FakeShell::ReadLink(const std::string& file) const {
    const auto bytes = files_.Bytes(file);
    if (!bytes)
        return Failure(kErrorFileNotFound);
    if (!bytes->starts_with(kLinkMarker))
        return Failure(kErrorInvalidData);
    const std::string_view rest = std::string_view(*bytes).substr(kLinkMarker.size());
    const auto first = rest.find('\n');
    const auto second = rest.find('\n', first + 1);
    if (second == std::string_view::npos)
        return Failure(kErrorInvalidData);
    return ShellLink{std::string(rest.substr(0, first)),
                     std::string(rest.substr(first + 1, second - first - 1)),
                     std::string(rest.substr(second + 1))};
}

void FakeSystem::SetWinIni(const std::string& section, const std::string& key,
                           const std::string& value) {
    win_ini[{ToLower(section), ToLower(key)}] = value;
}

std::string FakeSystem::ReadWinIni(const std::string& section, const std::string& key) const {
    const auto found = win_ini.find({ToLower(section), ToLower(key)});
    return found == win_ini.end() ? std::string() : found->second;
}

Result<void> FakeSystem::WriteWinIni(const std::string& section, const std::string& key,
                                     const std::string& value) {
    if (const FailureRule* rule = failures.Check(FakeOperation::WriteWinIni, section))
        return Failure(rule->error);
    SetWinIni(section, key, value);
    win_ini_writes.push_back({section, key, value});
    return Success();
}

Result<void> FakeSystem::DeleteWinIni(const std::string& section, const std::string& key) {
    if (const FailureRule* rule = failures.Check(FakeOperation::WriteWinIni, section))
        return Failure(rule->error);
    win_ini.erase({ToLower(section), ToLower(key)});
    return Success();
}

Result<std::vector<std::string>> FakeSystem::ProcessNames() const {
    if (const FailureRule* rule = failures.Check(FakeOperation::ProcessSnapshot, {}))
        return Failure(rule->error);
    return processes;
}

Result<std::string> FakeSystem::PrinterDriverDirectory() const {
    if (driver_directory_throws)
        throw std::runtime_error("spooler access violation");
    return driver_directory;
}

Result<std::int64_t> FakeSystem::FreeSpace(const std::string& root) const {
    const auto found = free_space.find(ToLower(root));
    if (found == free_space.end())
        return Failure(kErrorNotReady);
    return found->second;
}

Result<std::string> FakeSystem::CurrentDirectoryOf(const std::string& drive) const {
    const auto found = current_directories.find(ToLower(drive.substr(0, 2)));
    // As the platform: a drive never made current is at its root.
    return found == current_directories.end() ? drive.substr(0, 2) + "\\" : found->second;
}

Result<void> FakeSystem::ChangeDirectory(const std::string& path) {
    current_directory = path;
    if (path.size() >= 2)
        current_directories[ToLower(path.substr(0, 2))] = path;
    return Success();
}

}  // namespace platform
