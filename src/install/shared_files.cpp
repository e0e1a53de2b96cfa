#include "install/shared_files.h"

#include <limits>
#include <utility>

#include "install/removal_rules.h"
#include "install/unchecked.h"
#include "platform/profile.h"
#include "script/install_log.h"

namespace install {

using platform::RegistryRoot;

platform::Result<void> CountSharedFileUse(platform::Registry& registry, const std::string& file) {
    if (platform::Result<void> made =
            registry.CreateKey(RegistryRoot::LocalMachine, kSharedDllsKey);
        !made)
        return made;
    const std::uint32_t count =
        registry.ReadDword(RegistryRoot::LocalMachine, kSharedDllsKey, file).value_or(0);
    if (count == std::numeric_limits<std::uint32_t>::max())
        return platform::Success();  // as many as the value holds
    return registry.WriteDword(RegistryRoot::LocalMachine, kSharedDllsKey, file, count + 1);
}

SharedFileRelease ReleaseSharedFileUse(platform::Registry& registry, const std::string& file) {
    const std::uint32_t count =
        registry.ReadDword(RegistryRoot::LocalMachine, kSharedDllsKey, file).value_or(0);
    if (count == 0)
        return {SharedFileUse::NotCounted, {}};
    if (count > 1)
        return {SharedFileUse::StillUsed,
                registry.WriteDword(RegistryRoot::LocalMachine, kSharedDllsKey, file, count - 1)};
    if (!registry.DeleteValue(RegistryRoot::LocalMachine, kSharedDllsKey, file))
        return {SharedFileUse::StillUsed, platform::Failure(platform::kErrorGenFailure)};
    return {SharedFileUse::Unused, {}};
}

std::vector<std::string> SharedFilesRecorded(const platform::Platform& platform,
                                             const std::string& log_path,
                                             const SystemFolders& folders) {
    const platform::Result<std::string> bytes = platform.files.ReadFile(log_path);
    if (!bytes)
        ThrowPlatformError("Cannot read " + log_path, bytes.error());
    const platform::Profile log = platform::Profile::Parse(platform.codec.AnsiToUtf8(*bytes));
    std::vector<std::string> shared;
    for (platform::ProfileEntry& entry : log.Entries(script::kLogFile, platform::KeyLimit::None)) {
        if (entry.value == "1" && (IsInsideFolder(entry.key, folders.system_dir) ||
                                   IsInsideFolder(entry.key, folders.printer_driver_dir)))
            shared.push_back(std::move(entry.key));
    }
    return shared;
}

}  // namespace install
