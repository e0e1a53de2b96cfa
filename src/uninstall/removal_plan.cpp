#include "uninstall/removal_plan.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "install/file_types.h"
#include "install/product_libraries.h"
#include "install/registration.h"
#include "platform/text.h"
#include "script/install_log.h"

namespace uninstall {
namespace {

using platform::RegistryRoot;

constexpr char kBackupFolder[] = "Backup";
constexpr char kServiceExecutable[] = "zkdrv32.exe";
constexpr char kUninstallList[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr char kAppPathsList[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr char kSoftwareKey[] = "SOFTWARE";
constexpr char kMicrosoftKey[] = "Software\\Microsoft";
constexpr char kNotPlain[] = "not a plain full path";
// A folder that is a link to another place: what lies "below" it lies elsewhere.
constexpr std::uint32_t kAttributeReparsePoint = 0x400;

std::string Lower(std::string_view text) {
    return platform::ToLower(text);
}

std::string ParentOf(std::string_view path) {
    const std::size_t cut = path.rfind('\\');
    return std::string(path.substr(0, cut == std::string_view::npos ? 0 : cut));
}

std::string NameOf(std::string_view path) {
    return std::string(path.substr(path.rfind('\\') + 1));
}

std::string WithoutTrailingBackslash(std::string path) {
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           platform::EqualsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

bool SameFolder(std::string_view a, std::string_view b) {
    return !a.empty() && platform::EqualsIgnoreCase(WithoutTrailingBackslash(std::string(a)),
                                                    WithoutTrailingBackslash(std::string(b)));
}

// Below the folder, not the folder itself.
bool Below(std::string_view path, std::string_view folder) {
    return install::IsInsideFolder(path, folder) && !SameFolder(path, folder);
}

std::size_t Depth(std::string_view path) {
    return static_cast<std::size_t>(std::ranges::count(path, '\\'));
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

// "name.N": the name a second saved file of the same name gets in a backup folder.
bool IsNumberedName(std::string_view name, std::string_view base) {
    return name.size() > base.size() + 1 &&
           platform::EqualsIgnoreCase(name.substr(0, base.size()), base) &&
           name[base.size()] == '.' && AllDigits(name.substr(base.size() + 1));
}

struct Record {
    std::string section;
    std::string key;
    bool made = false;
    std::string Name() const { return "[" + section + "] " + key; }
};

std::vector<Record> Records(const platform::Profile& log, const char* section) {
    std::vector<Record> records;
    for (platform::ProfileEntry& entry : log.Entries(section, platform::KeyLimit::None))
        records.push_back({section, std::move(entry.key), entry.value == "1"});
    return records;
}

const install::FileTypeEntry* FileTypeOfKey(std::string_view key) {
    for (const install::FileTypeEntry& entry : install::kFileTypeTable) {
        if (platform::EqualsIgnoreCase(key, entry.extension) ||
            platform::EqualsIgnoreCase(key, entry.type_key))
            return &entry;
    }
    return nullptr;
}

class Planner {
  public:
    Planner(const platform::Profile& log, const Installation& installation,
            const platform::Platform& platform)
        : log_(log),
          installation_(installation),
          platform_(platform),
          rules_(installation.Rules()) {}

    RemovalPlan Make() {
        SortFiles();
        PlanLibraries();
        PlanBackups();
        PlanRegistry();
        PlanFolders();
        std::ranges::stable_sort(plan_.operations, {}, [](const Operation& operation) {
            return static_cast<int>(operation.step);
        });
        return std::move(plan_);
    }

  private:
    void Add(Step step, Action action, std::string path, std::string detail = {},
             RegistryRoot root = RegistryRoot::LocalMachine, std::string prune_below = {}) {
        plan_.operations.push_back(
            {step, action, std::move(path), std::move(detail), root, std::move(prune_below)});
    }
    void Refuse(const Record& record, std::string reason,
                Refusal::Kind kind = Refusal::Kind::Unsound) {
        plan_.refused.push_back({record.Name(), std::move(reason), kind});
    }

    // Text that names a path in this installation's folder, in its long or its short form.
    bool NamesFolder(std::string_view text) const {
        const std::string lower = Lower(text);
        const auto names = [&lower](const std::string& folder) {
            return !folder.empty() && (lower.find(Lower(folder) + "\\") != std::string::npos ||
                                       SameFolder(lower, folder));
        };
        return names(installation_.folder) || names(installation_.short_folder);
    }

    // A folder between the installation folder and the path that links elsewhere.
    bool LinkOnTheWay(const std::string& path) {
        const std::string parent = ParentOf(path);
        std::string lower_parent = Lower(parent);
        if (clear_ways_.contains(lower_parent))
            return false;
        for (std::string folder = parent; Below(folder, installation_.folder);
             folder = ParentOf(folder)) {
            auto [known, added] = linked_.try_emplace(Lower(folder), false);
            if (added) {
                const auto info = platform_.files.Info(folder);
                known->second = info && (info->attributes & kAttributeReparsePoint) != 0;
            }
            if (known->second)
                return true;
        }
        clear_ways_.insert(std::move(lower_parent));
        return false;
    }

    // A record's path that may be acted on inside the installation folder; refused otherwise.
    bool SoundBelow(const Record& record) {
        if (LinkOnTheWay(record.key)) {
            Refuse(record, "a folder on its way links to another place");
            return false;
        }
        return true;
    }

    // A file of the system or printer-driver folder or below them, as the run counts them.
    bool IsSharedFile(std::string_view path) {
        const install::SystemFolders& folders = installation_.folders;
        if (install::IsInsideFolder(path, folders.system_dir))
            return true;
        if (!printer_driver_dir_)
            printer_driver_dir_ =
                folders.printer_driver_dir.empty() && installation_.find_printer_driver_dir
                    ? installation_.find_printer_driver_dir()
                    : folders.printer_driver_dir;
        return install::IsInsideFolder(path, *printer_driver_dir_);
    }

    // Sorts the [file] records into the steps; backups and the files removed last wait.
    void SortFiles() {
        const std::string& folder = installation_.folder;
        for (const Record& record : Records(log_, script::kLogFile)) {
            if (!record.made) {
                Refuse(record, "never made (flag \"0\")", Refusal::Kind::NotMade);
                continue;
            }
            if (!install::IsPlainAbsolutePath(record.key)) {
                Refuse(record, kNotPlain);
                continue;
            }
            const bool shortcut =
                EndsWithIgnoreCase(record.key, ".lnk") || EndsWithIgnoreCase(record.key, ".url");
            if (!Below(record.key, folder)) {
                if (!shortcut && IsSharedFile(record.key)) {
                    Add(Step::SharedFiles, Action::ReleaseSharedFile, record.key);
                } else if (!shortcut) {
                    Refuse(record, "outside the installation folder");
                } else if (const install::Verdict link =
                               rules_.Shortcut(record.key, platform_.shell)) {
                    Add(Step::Shortcuts, Action::DeleteFile, record.key);
                } else {
                    Refuse(record, std::string(link.reason));
                }
                continue;
            }
            if (!SoundBelow(record))
                continue;
            made_inside_.push_back(record.key);
            const std::string relative = record.key.substr(folder.size() + 1);
            const std::string parent = ParentOf(relative);
            if (shortcut) {
                Add(Step::Shortcuts, Action::DeleteFile, record.key);
            } else if (Depth(relative) == 2 &&
                       platform::EqualsIgnoreCase(ParentOf(parent), kBackupFolder) &&
                       AllDigits(NameOf(parent))) {
                backups_.push_back(record);
            } else if (Depth(relative) == 0 &&
                       (platform::EqualsIgnoreCase(relative, kSettingsFileName) ||
                        platform::EqualsIgnoreCase(relative, kUninstallerName))) {
                last_files_.push_back(record.key);
            } else {
                files_.push_back(record.key);
            }
        }
    }

    // The service and the virtual printer go before their files: a running service holds its
    // program, and the service library is itself one of the shared files.
    void PlanLibraries() {
        const auto holds = [this](std::string_view name) {
            const auto found = std::ranges::find_if(plan_.operations, [&](const Operation& op) {
                return op.action == Action::ReleaseSharedFile &&
                       platform::EqualsIgnoreCase(
                           op.path, installation_.folders.system_dir + "\\" + std::string(name));
            });
            return found != plan_.operations.end();
        };
        const bool service_program = std::ranges::any_of(files_, [](const std::string& file) {
            return platform::EqualsIgnoreCase(NameOf(file), kServiceExecutable);
        });
        if (holds(install::kServiceLibrary) && service_program)
            Add(Step::ProductLibraries, Action::RemoveService, install::kProductService);
        if (holds(install::kPrinterLibrary))
            Add(Step::ProductLibraries, Action::DeletePrinter, install::kPrinterLibrary);
    }

    // A replaced file is put back from its newest saved copy when exactly one record of the log
    // can be that copy's original; otherwise the copies stay for the user.
    void PlanBackups() {
        std::map<std::string, std::vector<const Record*>> by_name;  // lower-case file name
        for (const Record& backup : backups_)
            by_name[Lower(NameOf(backup.key))].push_back(&backup);
        std::set<std::string> restored;
        for (auto& [lower_name, copies] : by_name) {
            const std::string& name = lower_name;
            std::vector<std::string> originals;
            for (const std::string& file : files_) {
                if (Lower(NameOf(file)) == name)
                    originals.push_back(file);
            }
            const bool numbered = std::ranges::any_of(by_name, [&](const auto& other) {
                return IsNumberedName(other.first, name) ||
                       std::ranges::any_of(files_, [&](const std::string& file) {
                           return IsNumberedName(name, NameOf(file));
                       });
            });
            // Newest first: the backup folders are numbered upwards.
            std::ranges::sort(copies, std::greater{},
                              [](const Record* copy) { return Lower(ParentOf(copy->key)); });
            const auto newest = std::ranges::find_if(copies, [this](const Record* copy) {
                return platform_.files.FileExists(copy->key);
            });
            if (originals.size() != 1 || numbered || newest == copies.end()) {
                for (const Record* copy : copies)
                    Refuse(*copy, "the backup stays: its original is not certain",
                           Refusal::Kind::Kept);
                continue;
            }
            Add(Step::Files, Action::RestoreBackup, originals.front(), (*newest)->key);
            restored.insert(Lower(originals.front()));
            for (const Record* copy : copies) {
                if (copy != *newest)
                    Add(Step::Files, Action::DeleteFile, copy->key);
            }
        }
        for (const std::string& file : files_) {
            if (!restored.contains(Lower(file)))
                Add(Step::Files, Action::DeleteFile, file);
        }
    }

    void PlanRegistry() {
        for (const Record& record : Records(log_, script::kLogLocalKey)) {
            const install::Verdict verdict = rules_.LocalKey(record.key);
            if (!record.made) {
                Refuse(record, "never made (flag \"0\")", Refusal::Kind::NotMade);
            } else if (!verdict) {
                Refuse(record, std::string(verdict.reason));
            } else if (platform_.registry.KeyExists(RegistryRoot::LocalMachine, record.key)) {
                const auto command = platform_.registry.ReadString(RegistryRoot::LocalMachine,
                                                                   record.key, "UninstallString");
                if (command && !NamesFolder(*command))
                    Refuse(record, "the entry of an installation in another folder",
                           Refusal::Kind::Elsewhere);
                else
                    Add(Step::Registry, Action::DeleteKey, record.key, {},
                        RegistryRoot::LocalMachine, kUninstallList);
            }
        }
        for (const Record& record : Records(log_, script::kLogClassesKey)) {
            const install::Verdict verdict = rules_.ClassesKey(record.key);
            const install::FileTypeEntry* type = FileTypeOfKey(record.key);
            if (!record.made) {
                Refuse(record, "never made (flag \"0\")", Refusal::Kind::NotMade);
            } else if (!verdict || type == nullptr) {
                Refuse(record, std::string(verdict.reason));
            } else if (platform_.registry.KeyExists(RegistryRoot::ClassesRoot, record.key)) {
                if (FileTypeOwned(*type, record.key))
                    Add(Step::Registry, Action::DeleteKey, record.key, {},
                        RegistryRoot::ClassesRoot);
                else
                    Refuse(record, "registered by an installation in another folder",
                           Refusal::Kind::Elsewhere);
            }
        }
        for (const Record& record : Records(log_, script::kLogLocalValue)) {
            const install::Verdict verdict = rules_.LocalValue(record.key);
            const auto split = install::SplitValueRecord(record.key);
            if (!record.made) {
                Refuse(record, "never made (flag \"0\")", Refusal::Kind::NotMade);
            } else if (!verdict || !split) {
                Refuse(record, std::string(verdict.reason));
            } else if (const auto data = platform_.registry.ReadString(RegistryRoot::LocalMachine,
                                                                       split->key, split->value)) {
                const auto& [key, value] = *split;
                if (NamesFolder(*data))
                    Add(Step::Registry, Action::DeleteValue, key, value, RegistryRoot::LocalMachine,
                        kCurrentVersionKey);
                else
                    Refuse(record, "registered by an installation in another folder",
                           Refusal::Kind::Elsewhere);
            }
        }
        PlanUnrecordedItems();
    }

    // A type key whose open command runs a program of this folder (or has none), and an
    // extension that still names such a type.
    bool FileTypeOwned(const install::FileTypeEntry& type, std::string_view key) const {
        const platform::Registry& registry = platform_.registry;
        const std::string type_key(type.type_key);
        const auto command =
            registry.ReadString(RegistryRoot::ClassesRoot, type_key + "\\shell\\open\\command", "");
        if (command && !NamesFolder(*command))
            return false;
        if (!platform::EqualsIgnoreCase(key, type.extension))
            return true;
        const auto named = registry.ReadString(RegistryRoot::ClassesRoot, std::string(key), "");
        return !named || platform::EqualsIgnoreCase(*named, type_key);
    }

    // What the run writes without records, each while it still names this folder: a newer
    // installation elsewhere keeps its own.
    void PlanUnrecordedItems() {
        const platform::Registry& registry = platform_.registry;
        if (SameFolder(platform_.system.ReadWinIni(install::kWinIniSection, "Path"),
                       installation_.folder)) {
            Add(Step::Registry, Action::DeleteWinIni, install::kWinIniSection, "Path");
            Add(Step::Registry, Action::DeleteWinIni, install::kWinIniSection, "Version");
        }
        if (SameFolder(registry.ReadString(RegistryRoot::LocalMachine, install::kProductKey, "Path")
                           .value_or(""),
                       installation_.folder))
            Add(Step::Registry, Action::DeleteKey, install::kProductKey, {},
                RegistryRoot::LocalMachine, kSoftwareKey);
        const std::string& product = installation_.product_name;
        if (product.empty() ||
            !SameFolder(
                registry.ReadString(RegistryRoot::LocalMachine, install::kAppPathsKey, product)
                    .value_or(""),
                installation_.folder))
            return;
        Add(Step::Registry, Action::DeleteValue, install::kAppPathsKey, product,
            RegistryRoot::LocalMachine, kAppPathsList);
        // The word processor's values name no folder: they go with the App Paths value, which
        // tells the machine's current installation.
        for (const char* word_key : install::kWordKeys) {
            const std::string key = word_key + product;
            if (registry.ReadString(RegistryRoot::LocalMachine, key, "Flags"))
                Add(Step::Registry, Action::DeleteValue, key, "Flags", RegistryRoot::LocalMachine,
                    kMicrosoftKey);
        }
    }

    bool InProgramsFolder(std::string_view folder) const {
        return Below(folder, installation_.folders.programs_dir);
    }

    // Folders deepest first, each only when empty; the installation's own files last, so that
    // an uninstallation that stops half-way can be started again; then the installation folder
    // and the levels up to the log's "rootfolder".
    void PlanFolders() {
        const std::string& folder = installation_.folder;
        std::map<std::string, std::string> folders;  // lower-case path -> path
        for (const Record& record : Records(log_, script::kLogFolder)) {
            if (!record.made) {
                Refuse(record, "never made (flag \"0\")", Refusal::Kind::NotMade);
            } else if (!install::IsPlainAbsolutePath(record.key)) {
                Refuse(record, kNotPlain);
            } else if (Below(record.key, folder)) {
                if (!LinkOnTheWay(record.key + "\\."))
                    folders.emplace(Lower(record.key), record.key);
                else
                    Refuse(record, "a folder on its way links to another place");
            } else if (InProgramsFolder(record.key)) {
                folders.emplace(Lower(record.key), record.key);
            } else if (!SameFolder(record.key, folder)) {
                Refuse(record, "outside the installation folder");
            }
        }
        std::set<std::string> walked;  // lower-case folders whose parents are in folders
        for (const std::string& file : made_inside_) {
            for (std::string parent = ParentOf(file); Below(parent, folder);
                 parent = ParentOf(parent)) {
                std::string lower = Lower(parent);
                if (!walked.insert(lower).second)
                    break;
                folders.emplace(std::move(lower), parent);
            }
        }
        std::vector<std::string> ordered;
        ordered.reserve(folders.size());
        for (auto& [lower, path] : folders)
            ordered.push_back(path);
        std::ranges::stable_sort(ordered, std::greater{},
                                 [](const std::string& path) { return Depth(path); });
        for (const std::string& path : ordered)
            Add(Step::Folders, Action::RemoveFolder, path);
        Add(Step::Folders, Action::DeleteFile, folder + "\\" + kLogFileName);
        std::ranges::sort(last_files_, {}, [](const std::string& path) {
            return !EndsWithIgnoreCase(path, kSettingsFileName);
        });
        for (const std::string& file : last_files_)
            Add(Step::Folders, Action::DeleteFile, file);
        Add(Step::Folders, Action::RemoveFolder, folder);
        const std::string root =
            WithoutTrailingBackslash(log_.Read(script::kLogMain, "rootfolder"));
        if (!Below(folder, root) || !Below(root, installation_.folders.program_files_dir))
            return;
        for (std::string parent = ParentOf(folder); Below(parent, ParentOf(root));
             parent = ParentOf(parent))
            Add(Step::Folders, Action::RemoveFolder, parent);
    }

    const platform::Profile& log_;
    const Installation& installation_;
    const platform::Platform& platform_;
    const install::RemovalRules rules_;
    RemovalPlan plan_;
    std::map<std::string, bool> linked_;  // lower-case folder -> links elsewhere
    std::set<std::string> clear_ways_;    // lower-case folders with no link up to the installation
    std::optional<std::string> printer_driver_dir_;  // once a record needed it
    std::vector<std::string> made_inside_;
    std::vector<std::string> files_;
    std::vector<std::string> last_files_;
    std::vector<Record> backups_;
};

}  // namespace

std::string Describe(const Operation& operation) {
    const auto root = [&operation]() -> std::string {
        switch (operation.root) {
            case RegistryRoot::LocalMachine:
                return "HKLM\\";
            case RegistryRoot::CurrentUser:
                return "HKCU\\";
            case RegistryRoot::ClassesRoot:
                return "HKCR\\";
        }
        return "";
    };
    switch (operation.action) {
        case Action::RemoveService:
            return "remove service " + operation.path;
        case Action::DeletePrinter:
            return "delete printer through " + operation.path;
        case Action::DeleteFile:
            return "delete file " + operation.path;
        case Action::RestoreBackup:
            return "restore " + operation.path + " from " + operation.detail;
        case Action::ReleaseSharedFile:
            return "release shared file " + operation.path;
        case Action::DeleteKey:
            return "delete key " + root() + operation.path;
        case Action::DeleteValue:
            return "delete value " + root() + operation.path + "|" + operation.detail;
        case Action::DeleteWinIni:
            return "delete win.ini [" + operation.path + "] " + operation.detail;
        case Action::RemoveFolder:
            return "remove folder " + operation.path;
    }
    return {};
}

install::RemovalRules Installation::Rules() const {
    return install::RemovalRules(product_name, folder, install::ShortcutFoldersOf(folders));
}

Installation ReadInstallation(const platform::Platform& platform, const std::string& folder,
                              const platform::Profile& log, install::SystemFolders folders) {
    const platform::Profile settings =
        platform::LoadProfile(platform.files, platform.codec, folder + "\\" + kSettingsFileName);
    return {
        .folder = folder,
        .short_folder = platform.files.ShortPath(folder).value_or(""),
        .product_name = settings.Read("History", "ProductName"),
        .title = log.Read(script::kLogMain, "version"),
        .folders = std::move(folders),
    };
}

RemovalPlan PlanRemoval(const platform::Profile& log, const Installation& installation,
                        const platform::Platform& platform) {
    return Planner(log, installation, platform).Make();
}

}  // namespace uninstall
