#pragma once
// What the uninstaller does to the machine, decided from the installation log before anything is
// touched: the log's records turned into operations in the order they are carried out, and the
// records that are not followed, each with its reason.
//
// The log is input, not an order: install.ini may lie in a folder that people without
// administrator rights can write, and the uninstaller runs elevated. So a record is followed only
// when its flag is "1" and its path is a full local path without "." or ".." names that lies in
// the installation folder. The exceptions: shortcut files that the clean-up rule gives to this
// installation, files of the system and printer-driver folders through their shared count, the
// program group folder below the programs folder, the registry items the rule allows, and the
// unrecorded items of the run (win.ini [Kelmo], the product key, the App Paths value, the
// word-processor values), each only while it still names this installation's folder.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "install/installation_plan.h"
#include "install/removal_rules.h"
#include "platform/platform.h"
#include "platform/profile.h"

namespace uninstall {

// The installation being removed and the folders of the machine that the rules need.
struct Installation {
    std::string folder;              // where install.ini lies, no trailing backslash
    std::string short_folder;        // its 8.3 form, as file-type commands name it; empty when none
    std::string product_name;        // zinkolar.ini [History] "ProductName"
    std::string title;               // install.ini [main] "version": "Zinkolar 5.0"
    install::SystemFolders folders;  // as the installer finds them
    // Finds the printer-driver folder when folders holds none, once a record outside the
    // installation and system folders needs it: the spooler can take long to answer.
    std::function<std::string()> find_printer_driver_dir;

    // The clean-up rule for this installation's records.
    install::RemovalRules Rules() const;
};

// What the rules need of the installation's own files: its settings and its log.
Installation ReadInstallation(const platform::Platform& platform, const std::string& folder,
                              const platform::Profile& log, install::SystemFolders folders);

// The steps, in the order they are carried out; each has its progress caption.
enum class Step { ProductLibraries, Shortcuts, Files, SharedFiles, Registry, Folders };

enum class Action {
    RemoveService,      // the service library's removal of the product's service
    DeletePrinter,      // the printer-setup library's removal of the virtual printer
    DeleteFile,         // path
    RestoreBackup,      // path put back from detail
    ReleaseSharedFile,  // path deleted when its count drops to zero
    DeleteKey,          // path with everything below it
    DeleteValue,        // detail in key path
    DeleteWinIni,       // win.ini section path, key detail
    RemoveFolder,       // path, only when empty
};

struct Operation {
    Step step;
    Action action;
    std::string path;
    std::string detail;
    platform::RegistryRoot root = platform::RegistryRoot::LocalMachine;
    // Registry: the keys above path that became empty go too, up to this one (not included).
    std::string prune_below;
    bool operator==(const Operation&) const = default;
};

// One line for the account of the run and for tests: "delete file C:\...".
std::string Describe(const Operation& operation);

struct Refusal {
    enum class Kind {
        Unsound,    // a path outside, "..", another product's item: told by the exit code
        NotMade,    // flag "0": there is nothing to remove
        Elsewhere,  // an item that an installation in another folder has taken over
        Kept,       // a backup whose original is not certain: it stays, and the user is told
    };
    std::string record;  // "[section] key"
    std::string reason;
    Kind kind = Kind::Unsound;
    bool operator==(const Refusal&) const = default;
};

struct RemovalPlan {
    std::vector<Operation> operations;
    std::vector<Refusal> refused;
};

// The installation's own files, removed last.
inline constexpr char kLogFileName[] = "install.ini";
inline constexpr char kSettingsFileName[] = "zinkolar.ini";
inline constexpr char kUninstallerName[] = "zkuninst.exe";

// The operations in step order. Reads the machine (registry values, backups, folder links) but
// changes nothing.
RemovalPlan PlanRemoval(const platform::Profile& log, const Installation& installation,
                        const platform::Platform& platform);

}  // namespace uninstall
