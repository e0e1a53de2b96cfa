#include "install/traced_platform.h"

#include "script/trace_text.h"

namespace install {

namespace {

using platform::RegistryRoot;
using platform::Result;

std::string KeyPath(RegistryRoot root, const std::string& key) {
    switch (root) {
        case RegistryRoot::LocalMachine:
            return "HKLM\\" + key;
        case RegistryRoot::CurrentUser:
            return "HKCU\\" + key;
        case RegistryRoot::ClassesRoot:
            return "HKCR\\" + key;
    }
    return key;
}

// "name=data", the key's default value named as the registry editor names it.
std::string Value(const std::string& name, const std::string& data) {
    return (name.empty() ? "(Default)" : name) + "=" + data;
}

// The line for an operation's outcome: the failed form gets the platform's error.
std::string Outcome(const Result<void>& status, const std::string& done,
                    const std::string& failed) {
    return status ? done : failed + ": " + script::ErrorText(status);
}

}  // namespace

Result<void> TracedRegistry::DeleteValue(RegistryRoot root, const std::string& key,
                                         const std::string& value) {
    Result<void> deleted = registry_.DeleteValue(root, key, value);
    trace_.Line(std::string(deleted ? "Registry value deleted: " : "Registry value not deleted: ") +
                KeyPath(root, key) + ": " + value);
    return deleted;
}

Result<void> TracedRegistry::CreateKey(RegistryRoot root, const std::string& key) {
    Result<void> status = registry_.CreateKey(root, key);
    if (!status)  // an opened key is told by the values written into it
        trace_.Line("Registry key not opened: " + KeyPath(root, key) + ": " +
                    script::ErrorText(status));
    return status;
}

Result<void> TracedRegistry::WriteString(RegistryRoot root, const std::string& key,
                                         const std::string& name, const std::string& data) {
    Result<void> status = registry_.WriteString(root, key, name, data);
    const std::string value = KeyPath(root, key) + ": " + Value(name, data);
    trace_.Line(Outcome(status, "Registry " + value, "Registry write failed: " + value));
    return status;
}

Result<void> TracedRegistry::WriteDword(RegistryRoot root, const std::string& key,
                                        const std::string& name, std::uint32_t data) {
    Result<void> status = registry_.WriteDword(root, key, name, data);
    const std::string value = KeyPath(root, key) + ": " + Value(name, std::to_string(data));
    trace_.Line(Outcome(status, "Registry " + value + " (number)",
                        "Registry write failed: " + value + " (number)"));
    return status;
}

Result<void> TracedRegistry::DeleteTree(RegistryRoot root, const std::string& key) {
    Result<void> status = registry_.DeleteTree(root, key);
    trace_.Line(Outcome(status, "Registry key deleted: " + KeyPath(root, key),
                        "Registry key not deleted: " + KeyPath(root, key)));
    return status;
}

// An empty key that stays is the normal case (it holds something): only a removal is told.
Result<void> TracedRegistry::DeleteEmptyKey(RegistryRoot root, const std::string& key) {
    Result<void> status = registry_.DeleteEmptyKey(root, key);
    if (status)
        trace_.Line("Registry key deleted: " + KeyPath(root, key));
    return status;
}

Result<void> TracedShell::CreateLink(const platform::ShellLink& link, const std::string& file) {
    Result<void> saved = shell_.CreateLink(link, file);
    const std::string what =
        file + " -> " + link.target + (link.arguments.empty() ? "" : " " + link.arguments);
    trace_.Line(saved.code() != platform::kErrorNotLinkable
                    ? Outcome(saved, "Shortcut " + what, "Shortcut failed: " + what)
                    : "Shortcut failed: " + what + ": no link can name the target");
    return saved;
}

platform::Platform WithTracedChanges(const platform::Platform& platform, TracedRegistry& registry,
                                     TracedShell& shell) {
    return {platform.files, platform.libraries, platform.codec, registry,
            shell,          platform.system,    platform.clock, platform.trace};
}

}  // namespace install
