#include "install/removal_rules.h"

#include <algorithm>
#include <utility>

#include "install/file_types.h"
#include "install/registration.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace install {

namespace {

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           platform::EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

// A name the platform takes as it is written: not empty, no character that a file name cannot
// hold, and no trailing dot or blank, which the platform would trim.
bool IsPlainComponent(std::string_view name) {
    return !name.empty() && !name.ends_with('.') && !name.ends_with(' ') &&
           std::ranges::none_of(name, [](char c) {
               switch (c) {
                   case '/':
                   case ':':
                   case '*':
                   case '?':
                   case '"':
                   case '<':
                   case '>':
                   case '|':
                       return true;
                   default:
                       return static_cast<unsigned char>(c) < 0x20;
               }
           });
}

// Each part between backslashes is plain.
bool ArePlainComponents(std::string_view names) {
    for (;;) {
        const std::size_t end = names.find('\\');
        if (!IsPlainComponent(names.substr(0, end)))
            return false;
        if (end == std::string_view::npos)
            return true;
        names.remove_prefix(end + 1);
    }
}

std::string_view WithoutTrailingBackslash(std::string_view folder) {
    if (folder.ends_with('\\'))
        folder.remove_suffix(1);
    return folder;
}

bool IsSameFolder(std::string_view a, std::string_view b) {
    a = WithoutTrailingBackslash(a);
    b = WithoutTrailingBackslash(b);
    return a.size() == b.size() && IsInsideFolder(a, b);
}

constexpr Verdict Allowed() {
    return {true, {}};
}

constexpr Verdict Refused(std::string_view reason) {
    return {false, reason};
}

}  // namespace

bool IsPlainAbsolutePath(std::string_view path) {
    const std::size_t root = platform::PathRootLength(path);
    if (root == 0 || root >= path.size() || path[root] != '\\')
        return false;
    if (root == 2) {
        const char drive = path[0];
        if (!((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z')))
            return false;
    } else if (!ArePlainComponents(path.substr(2, root - 2))) {  // server and share
        return false;
    }
    return ArePlainComponents(path.substr(root + 1));
}

bool IsInsideFolder(std::string_view path, std::string_view folder) {
    folder = WithoutTrailingBackslash(folder);
    if (!IsPlainAbsolutePath(path) || !IsPlainAbsolutePath(folder))
        return false;
    return StartsWithIgnoreCase(path, folder) &&
           (path.size() == folder.size() || path[folder.size()] == '\\');
}

ShortcutFolders ShortcutFoldersOf(const SystemFolders& folders) {
    return {folders.programs_dir, folders.desktop_dir, folders.send_to_dir,
            folders.quick_launch_dir};
}

std::optional<ValueRecord> SplitValueRecord(std::string_view record) {
    const std::size_t bar = record.find('|');
    if (bar == std::string_view::npos)
        return std::nullopt;
    return ValueRecord{std::string(record.substr(0, bar)), std::string(record.substr(bar + 1))};
}

RemovalRules::RemovalRules(std::string product_name, std::string installation_folder,
                           ShortcutFolders shortcut_folders)
    : product_name_(std::move(product_name)),
      installation_folder_(std::move(installation_folder)),
      shortcut_folders_(std::move(shortcut_folders)) {}

RemovalRules RemovalRules::ForPlan(const InstallationPlan& plan) {
    return RemovalRules(plan.config.product_name, plan.destination,
                        ShortcutFoldersOf(plan.folders));
}

bool RemovalRules::InShortcutFolder(std::string_view file) const {
    const std::string_view folder = file.substr(0, file.rfind('\\'));
    const ShortcutFolders& f = shortcut_folders_;
    return IsInsideFolder(folder, f.programs) || IsSameFolder(folder, f.desktop) ||
           IsSameFolder(folder, f.send_to) || IsSameFolder(folder, f.quick_launch);
}

Verdict RemovalRules::Shortcut(const std::string& file, const platform::Shell& shell) const {
    if (!file.ends_with(".lnk"))
        return Refused("not a shortcut file");
    if (!IsPlainAbsolutePath(file))
        return Refused("not a plain absolute path");
    if (!InShortcutFolder(file))
        return Refused("not in a folder the installer makes shortcuts in");
    const platform::Result<platform::ShellLink> link = shell.ReadLink(file);
    if (!link)
        return Refused("not a readable shortcut");
    if (!IsInsideFolder(link->target, installation_folder_))
        return Refused("the shortcut points outside the installation folder");
    return Allowed();
}

Verdict RemovalRules::LocalKey(std::string_view key) const {
    if (!StartsWithIgnoreCase(key, kUninstallRoot))
        return Refused("not an uninstall entry");
    const std::string_view name = key.substr(std::string_view(kUninstallRoot).size());
    // The product's name, then a blank or nothing: "Zinkolar Server 5.0", not "Zinkolarix".
    const bool product = !product_name_.empty() && StartsWithIgnoreCase(name, product_name_) &&
                         (name.size() == product_name_.size() || name[product_name_.size()] == ' ');
    if (!product || name.find('\\') != std::string_view::npos)
        return Refused("not the product's uninstall entry");
    return Allowed();
}

Verdict RemovalRules::ClassesKey(std::string_view key) const {
    const bool product_type = std::ranges::any_of(kFileTypeTable, [&](const FileTypeEntry& entry) {
        return platform::EqualsIgnoreCase(key, entry.extension) ||
               platform::EqualsIgnoreCase(key, entry.type_key);
    });
    return product_type ? Allowed() : Refused("not a key of the product's file types");
}

Verdict RemovalRules::LocalValue(std::string_view record) const {
    const std::optional<ValueRecord> value = SplitValueRecord(record);
    if (!value || value->value.empty() || !platform::EqualsIgnoreCase(value->key, kExtensionsKey))
        return Refused("not a value of the shared \"Extensions\" key");
    return Allowed();
}

}  // namespace install
