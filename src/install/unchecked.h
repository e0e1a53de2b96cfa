#pragma once
// Operations whose failure the installation run has no answer for: they throw
// std::runtime_error with what failed and the platform's error code, and the run's boundary
// shows that text and ends the program.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/status.h"
#include "platform/system.h"

namespace install {

[[noreturn]] void ThrowPlatformError(const std::string& what, platform::Status status);

// Writes a string value into an existing key; the key is not created here, so a key that could
// not be opened before makes this throw.
void WriteStringOrThrow(platform::Registry& registry, platform::RegistryRoot root,
                        const std::string& key, const std::string& name, const std::string& data);
void WriteDwordOrThrow(platform::Registry& registry, platform::RegistryRoot root,
                       const std::string& key, const std::string& name, std::uint32_t data);

// Replaces a file with the bytes, whole or not at all.
void WriteFileOrThrow(platform::FileSystem& files, const std::string& path, std::string_view bytes);

}  // namespace install
