#pragma once
// Which records of an installation log may be acted on when an installation is taken apart: by
// the clean-up before a run into a folder that already holds one, and by the uninstaller.
//
// The log lies in the installation folder, which people without administrator rights may be able
// to write (a folder chosen outside Program Files), while setup and the uninstaller run elevated:
// a record is an input, not an order. Only items of the kinds this installer makes, in the places
// it makes them, pass:
// - a shortcut file (a name ending in ".lnk") directly in the desktop, SendTo or Quick Launch
//   folder, or anywhere below the Start-menu programs folder, that is a link whose target lies in
//   the installation folder; a file that is no readable link stays;
// - an uninstall entry right below "...\CurrentVersion\Uninstall\" whose name is the product's
//   name followed by a blank or nothing (an older version's entry goes too);
// - the extension and type keys of the product's file types below HKEY_CLASSES_ROOT;
// - a named value of the shared "Extensions" key.
// Paths are compared only when they are plain absolute paths (see IsPlainAbsolutePath).
#include <optional>
#include <string>
#include <string_view>

#include "install/installation_plan.h"
#include "platform/system.h"

namespace install {

// Whether a path is absolute ("C:\..." or "\\server\share\...") and names its file without any
// detour: no "/", no ":" after the drive, no device prefix ("\\?\", "\\.\"), and no component that
// is empty or ends in a dot or a blank (which covers "." and "..": the platform trims such names,
// and ".." climbs).
bool IsPlainAbsolutePath(std::string_view path);

// Whether path is the folder itself or lies below it: both plain absolute paths, compared without
// regard to letter case, the folder ending at a component boundary (one trailing backslash of the
// folder is ignored). "C:\Apps\Zinkolar2" is not inside "C:\Apps\Zinkolar".
bool IsInsideFolder(std::string_view path, std::string_view folder);

// The folders this installer makes shortcuts in; an empty one holds none.
struct ShortcutFolders {
    std::string programs;  // the Start-menu programs folder: its group folders at any depth
    std::string desktop;   // these three: the folder itself only
    std::string send_to;
    std::string quick_launch;
};

ShortcutFolders ShortcutFoldersOf(const SystemFolders& folders);

// The answer to one record: allowed, or refused with the reason as the account states it.
struct Verdict {
    bool allowed = false;
    std::string_view reason;  // empty when allowed
    explicit operator bool() const { return allowed; }
};

// An [lregvalue] record "key|value" split at its first bar; nullopt without a bar.
struct ValueRecord {
    std::string key;
    std::string value;
};
std::optional<ValueRecord> SplitValueRecord(std::string_view record);

// The rule for the records of one installation.
class RemovalRules {
  public:
    // product_name: setup.ini "ProductName"; installation_folder: the folder whose install.ini
    // holds the records.
    RemovalRules(std::string product_name, std::string installation_folder,
                 ShortcutFolders shortcut_folders);
    // The rule for the run of a plan: its product, its folder, the shortcut folders it found.
    static RemovalRules ForPlan(const InstallationPlan& plan);

    // A [file] record, or a "file: " line of the older install.log, as a shortcut to delete. The
    // link is read through the shell only once its name and folder pass.
    Verdict Shortcut(const std::string& file, const platform::Shell& shell) const;
    // An [lregkey] record below HKEY_LOCAL_MACHINE.
    Verdict LocalKey(std::string_view key) const;
    // A [cregkey] record below HKEY_CLASSES_ROOT.
    Verdict ClassesKey(std::string_view key) const;
    // An [lregvalue] record "key|value" below HKEY_LOCAL_MACHINE.
    Verdict LocalValue(std::string_view record) const;

    const std::string& InstallationFolder() const { return installation_folder_; }

  private:
    bool InShortcutFolder(std::string_view file) const;

    std::string product_name_;
    std::string installation_folder_;
    ShortcutFolders shortcut_folders_;
};

}  // namespace install
