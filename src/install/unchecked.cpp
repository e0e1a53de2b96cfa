#include "install/unchecked.h"

#include <stdexcept>

namespace install {

namespace {

std::string RootName(platform::RegistryRoot root) {
    switch (root) {
        case platform::RegistryRoot::LocalMachine:
            return "HKEY_LOCAL_MACHINE";
        case platform::RegistryRoot::CurrentUser:
            return "HKEY_CURRENT_USER";
        case platform::RegistryRoot::ClassesRoot:
            return "HKEY_CLASSES_ROOT";
    }
    return {};
}

[[noreturn]] void ThrowValueError(platform::RegistryRoot root, const std::string& key,
                                  const std::string& name, const platform::Result<void>& status) {
    ThrowPlatformError("Cannot write the value \"" + name + "\" of " + RootName(root) + "\\" + key,
                       status);
}

}  // namespace

std::string PlatformErrorText(const std::string& what, const platform::Result<void>& status) {
    return what + ": error " + std::to_string(status.code());
}

void ThrowPlatformError(const std::string& what, const platform::Result<void>& status) {
    throw std::runtime_error(PlatformErrorText(what, status));
}

void WriteStringOrThrow(platform::Registry& registry, platform::RegistryRoot root,
                        const std::string& key, const std::string& name, const std::string& data) {
    if (const platform::Result<void> status = registry.WriteString(root, key, name, data); !status)
        ThrowValueError(root, key, name, status);
}

void WriteDwordOrThrow(platform::Registry& registry, platform::RegistryRoot root,
                       const std::string& key, const std::string& name, std::uint32_t data) {
    if (const platform::Result<void> status = registry.WriteDword(root, key, name, data); !status)
        ThrowValueError(root, key, name, status);
}

void WriteFileOrThrow(platform::FileSystem& files, const std::string& path,
                      std::string_view bytes) {
    // Put in place only when whole: a file cut short by a full disk is removed, not left.
    const auto file = files.CreatePending(path);
    platform::Result<void> status = file ? (*file)->Write(bytes) : file.error();
    if (status)
        status = (*file)->Commit();
    if (!status)
        ThrowPlatformError("Cannot write " + path, status);
}

platform::Result<void> RecordOrThrowLog::LogItem(std::string_view section, std::string_view key,
                                                 bool flag) {
    return Checked(log_->LogItem(section, key, flag), "record", section,
                   std::string(key) + (flag ? "=1" : "=0"));
}

platform::Result<void> RecordOrThrowLog::LogText(std::string_view section, std::string_view key,
                                                 std::string_view text) {
    return Checked(log_->LogText(section, key, text), "record", section,
                   std::string(key) + "=" + std::string(text));
}

platform::Result<void> RecordOrThrowLog::UnlogItem(std::string_view section, std::string_view key) {
    return Checked(log_->UnlogItem(section, key), "remove the record", section, key);
}

platform::Result<void> RecordOrThrowLog::Finish() {
    platform::Result<void> status = log_->Finish();
    if (!status)
        ThrowPlatformError("Cannot write " + path_, status);
    return status;
}

platform::Result<void> RecordOrThrowLog::Checked(platform::Result<void> status,
                                                 std::string_view what, std::string_view section,
                                                 std::string_view record) const {
    if (!status) {
        ThrowPlatformError("Cannot " + std::string(what) + " [" + std::string(section) + "] " +
                               std::string(record) + " in " + path_,
                           status);
    }
    return status;
}

}  // namespace install
