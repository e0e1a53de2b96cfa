#pragma once
// Operations whose failure the installation run has no answer for: they throw
// std::runtime_error with what failed and the platform's error code, and the run's boundary
// shows that text and ends the program.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/result.h"
#include "platform/system.h"
#include "script/install_log.h"

namespace install {

// Why a key's creation may go unchecked before values are written into it: a key that could
// not be made makes the write into it throw.
inline constexpr char kKeyFailureThrows[] = "a key not made makes the write into it throw";

// "what: error N", the text such a failure shows.
std::string PlatformErrorText(const std::string& what, const platform::Result<void>& status);
[[noreturn]] void ThrowPlatformError(const std::string& what, const platform::Result<void>& status);

// Writes a string value into an existing key; the key is not created here, so a key that could
// not be opened before makes this throw.
void WriteStringOrThrow(platform::Registry& registry, platform::RegistryRoot root,
                        const std::string& key, const std::string& name, const std::string& data);
void WriteDwordOrThrow(platform::Registry& registry, platform::RegistryRoot root,
                       const std::string& key, const std::string& name, std::uint32_t data);

// Replaces a file with the bytes, whole or not at all.
void WriteFileOrThrow(platform::FileSystem& files, const std::string& path, std::string_view bytes);

// The run's installation log: a record that cannot be written throws, naming the record, so the
// run never goes on making what the uninstaller would not find; so does a failed Finish.
class RecordOrThrowLog final : public script::InstallLog {
  public:
    RecordOrThrowLog(std::unique_ptr<script::InstallLog> log, std::string path)
        : log_(std::move(log)), path_(std::move(path)) {}

    platform::Result<void> LogItem(std::string_view section, std::string_view key,
                                   bool flag) override;
    platform::Result<void> LogText(std::string_view section, std::string_view key,
                                   std::string_view text) override;
    platform::Result<void> UnlogItem(std::string_view section, std::string_view key) override;
    std::vector<std::string> Keys(std::string_view section) const override {
        return log_->Keys(section);
    }
    platform::Result<void> Finish() override;

  private:
    platform::Result<void> Checked(platform::Result<void> status, std::string_view what,
                                   std::string_view section, std::string_view record) const;

    std::unique_ptr<script::InstallLog> log_;
    std::string path_;
};

}  // namespace install
