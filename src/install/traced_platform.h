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

    platform::Result<std::string> ReadString(platform::RegistryRoot root, const std::string& key,
                                             const std::string& value) const override {
        return registry_.ReadString(root, key, value);
    }
    platform::Result<std::uint32_t> ReadDword(platform::RegistryRoot root, const std::string& key,
                                              const std::string& value) const override {
        return registry_.ReadDword(root, key, value);
    }
    bool KeyExists(platform::RegistryRoot root, const std::string& key) const override {
        return registry_.KeyExists(root, key);
    }
    platform::Result<void> DeleteValue(platform::RegistryRoot root, const std::string& key,
                                       const std::string& value) override;
    platform::Result<void> CreateKey(platform::RegistryRoot root, const std::string& key) override;
    platform::Result<void> WriteString(platform::RegistryRoot root, const std::string& key,
                                       const std::string& name, const std::string& data) override;
    platform::Result<void> WriteDword(platform::RegistryRoot root, const std::string& key,
                                      const std::string& name, std::uint32_t data) override;
    platform::Result<void> DeleteTree(platform::RegistryRoot root, const std::string& key) override;
    platform::Result<void> DeleteEmptyKey(platform::RegistryRoot root,
                                          const std::string& key) override;

  private:
    platform::Registry& registry_;
    platform::Trace& trace_;
};

class TracedShell final : public platform::Shell {
  public:
    TracedShell(platform::Shell& shell, platform::Trace& trace) : shell_(shell), trace_(trace) {}

    platform::Result<std::string> SpecialFolder(int id) const override {
        return shell_.SpecialFolder(id);
    }
    platform::Result<void> Open(const std::string& target) override { return shell_.Open(target); }
    platform::Result<void> CreateLink(const platform::ShellLink& link,
                                      const std::string& file) override;
    void AnnounceLinks() override { shell_.AnnounceLinks(); }
    platform::Result<platform::ShellLink> ReadLink(const std::string& file) const override {
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
