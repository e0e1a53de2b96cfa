#pragma once
// The run's registry and shell, telling the trace every change they make to the machine: each
// registry value written, key or value deleted, each shell link saved, with the platform's error
// where one failed. Reads pass through untold.
#include <optional>
#include <string>

#include "platform/platform.h"

namespace install {

class TracedRegistry final : public platform::Registry {
  public:
    TracedRegistry(platform::Registry& registry, platform::Trace& trace)
        : registry_(registry), trace_(trace) {}

    std::optional<std::string> ReadString(platform::RegistryRoot root, const std::string& key,
                                          const std::string& value) const override {
        return registry_.ReadString(root, key, value);
    }
    std::optional<std::uint32_t> ReadDword(platform::RegistryRoot root, const std::string& key,
                                           const std::string& value) const override {
        return registry_.ReadDword(root, key, value);
    }
    bool KeyExists(platform::RegistryRoot root, const std::string& key) const override {
        return registry_.KeyExists(root, key);
    }
    bool DeleteValue(platform::RegistryRoot root, const std::string& key,
                     const std::string& value) override;
    platform::Status CreateKey(platform::RegistryRoot root, const std::string& key) override;
    platform::Status WriteString(platform::RegistryRoot root, const std::string& key,
                                 const std::string& name, const std::string& data) override;
    platform::Status WriteDword(platform::RegistryRoot root, const std::string& key,
                                const std::string& name, std::uint32_t data) override;
    platform::Status DeleteTree(platform::RegistryRoot root, const std::string& key) override;
    platform::Status DeleteEmptyKey(platform::RegistryRoot root, const std::string& key) override;

  private:
    platform::Registry& registry_;
    platform::Trace& trace_;
};

class TracedShell final : public platform::Shell {
  public:
    TracedShell(platform::Shell& shell, platform::Trace& trace) : shell_(shell), trace_(trace) {}

    std::string SpecialFolder(int id) const override { return shell_.SpecialFolder(id); }
    void Open(const std::string& target) override { shell_.Open(target); }
    std::optional<platform::Status> CreateLink(const platform::ShellLink& link,
                                               const std::string& file) override;
    void AnnounceLinks() override { shell_.AnnounceLinks(); }
    std::optional<platform::ShellLink> ReadLink(const std::string& file) const override {
        return shell_.ReadLink(file);
    }

  private:
    platform::Shell& shell_;
    platform::Trace& trace_;
};

// The platform bundle with its registry and shell replaced by the traced ones.
platform::Platform WithTracedChanges(const platform::Platform& platform, TracedRegistry& registry,
                                     TracedShell& shell);

}  // namespace install
