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
                                  const std::string& name, platform::Status status) {
    ThrowPlatformError("Cannot write the value \"" + name + "\" of " + RootName(root) + "\\" + key,
                       status);
}

}  // namespace

std::string PlatformErrorText(const std::string& what, platform::Status status) {
    return what + ": error " + std::to_string(status.error);
}

void ThrowPlatformError(const std::string& what, platform::Status status) {
    throw std::runtime_error(PlatformErrorText(what, status));
}

void WriteStringOrThrow(platform::Registry& registry, platform::RegistryRoot root,
                        const std::string& key, const std::string& name, const std::string& data) {
    if (const platform::Status status = registry.WriteString(root, key, name, data); !status)
        ThrowValueError(root, key, name, status);
}

void WriteDwordOrThrow(platform::Registry& registry, platform::RegistryRoot root,
                       const std::string& key, const std::string& name, std::uint32_t data) {
    if (const platform::Status status = registry.WriteDword(root, key, name, data); !status)
        ThrowValueError(root, key, name, status);
}

void WriteFileOrThrow(platform::FileSystem& files, const std::string& path,
                      std::string_view bytes) {
    // Put in place only when whole: a file cut short by a full disk is removed, not left.
    platform::Status status;
    const auto file = files.CreatePending(path, status);
    if (file)
        status = file->Write(bytes);
    if (status)
        status = file->Commit();
    if (!status)
        ThrowPlatformError("Cannot write " + path, status);
}

platform::Status RecordOrThrowLog::LogItem(std::string_view section, std::string_view key,
                                           bool flag) {
    return Checked(log_->LogItem(section, key, flag), "record", section,
                   std::string(key) + (flag ? "=1" : "=0"));
}

platform::Status RecordOrThrowLog::LogText(std::string_view section, std::string_view key,
                                           std::string_view text) {
    return Checked(log_->LogText(section, key, text), "record", section,
                   std::string(key) + "=" + std::string(text));
}

platform::Status RecordOrThrowLog::UnlogItem(std::string_view section, std::string_view key) {
    return Checked(log_->UnlogItem(section, key), "remove the record", section, key);
}

platform::Status RecordOrThrowLog::Finish() {
    const platform::Status status = log_->Finish();
    if (!status)
        ThrowPlatformError("Cannot write " + path_, status);
    return status;
}

platform::Status RecordOrThrowLog::Checked(platform::Status status, std::string_view what,
                                           std::string_view section,
                                           std::string_view record) const {
    if (!status) {
        ThrowPlatformError("Cannot " + std::string(what) + " [" + std::string(section) + "] " +
                               std::string(record) + " in " + path_,
                           status);
    }
    return status;
}

}  // namespace install
