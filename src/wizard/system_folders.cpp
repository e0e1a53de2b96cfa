#include "wizard/system_folders.h"

#include <exception>

namespace wizard {
namespace {

using platform::RegistryRoot;

constexpr char kWindowsKey[] = "Software\\MicroSoft\\Windows\\CurrentVersion";
constexpr char kAppPathsKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zinkolar.exe";
constexpr char kShellFoldersKey[] =
    "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kSetupKey[] = "Software\\MicroSoft\\Windows\\CurrentVersion\\Setup";
constexpr char kQuickLaunch[] = "Microsoft\\Internet Explorer\\Quick Launch";
constexpr std::uint32_t kRpcServerUnavailable = 1722;

std::string Read(const platform::Registry& registry, RegistryRoot root, const char* key,
                 const std::string& value) {
    return registry.ReadString(root, key, value).value_or("");
}

// A shell folder, or the registry value when the shell gives none.
std::string ShellFolder(const platform::Platform& p, int id, RegistryRoot root, const char* value) {
    std::string folder = WithoutTrailingBackslash(p.shell.SpecialFolder(id).value_or(""));
    return folder.empty() ? Read(p.registry, root, kShellFoldersKey, value) : folder;
}

}  // namespace

std::string WithoutTrailingBackslash(std::string path) {
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

std::string WithTrailingBackslash(std::string path) {
    if (path.empty() || path.back() != '\\')
        path += '\\';
    return path;
}

std::string ReadProgramFilesDir(const platform::Registry& registry) {
    const std::string dir =
        Read(registry, RegistryRoot::LocalMachine, kWindowsKey, "ProgramFilesDir");
    return dir.empty() ? "C:\\" : WithTrailingBackslash(dir);
}

std::string TakeAppPathsDestination(platform::Registry& registry, const std::string& product_name) {
    if (auto path = registry.ReadString(RegistryRoot::LocalMachine, kAppPathsKey, "Path")) {
        platform::IgnoreFailure(
            registry.DeleteValue(RegistryRoot::LocalMachine, kAppPathsKey, "Path"),
            "a value that stays proposes the same folder again");
        return *path;
    }
    return Read(registry, RegistryRoot::LocalMachine, kAppPathsKey, product_name);
}

void FindShellFolders(const platform::Platform& p, int platform_code, SystemFolders& f) {
    f.send_to_dir = Read(p.registry, RegistryRoot::CurrentUser, kShellFoldersKey, "SendTo");
    if (platform_code == 1) {
        f.desktop_dir = Read(p.registry, RegistryRoot::CurrentUser, kShellFoldersKey, "Desktop");
        f.programs_dir = Read(p.registry, RegistryRoot::CurrentUser, kShellFoldersKey, "Programs");
        const std::string windows =
            Read(p.registry, RegistryRoot::LocalMachine, kSetupKey, "WinDir");
        if (!windows.empty())
            f.quick_launch_dir =
                WithTrailingBackslash(windows) + "Application Data\\" + kQuickLaunch;
        return;
    }
    f.desktop_dir = ShellFolder(p, kCommonDesktop, RegistryRoot::LocalMachine, "Desktop");
    f.programs_dir = ShellFolder(p, kCommonPrograms, RegistryRoot::LocalMachine, "Programs");
    f.quick_launch_dir =
        ShellFolder(p, kAppData, RegistryRoot::CurrentUser, "AppData") + "\\" + kQuickLaunch;
}

std::vector<std::string> ListProgramGroups(const platform::FileSystem& files,
                                           const std::string& programs_dir) {
    std::vector<std::string> groups;
    // Without a programs folder "\\*" would list the root of the current drive.
    if (programs_dir.empty())
        return groups;
    for (const auto& entry : files.FindFiles(programs_dir + "\\*").value_or({})) {
        if (entry.directory && entry.name != "." && entry.name != "..")
            groups.push_back(entry.name);
    }
    return groups;
}

DriverFolderOutcome FindPrinterDriverDir(const platform::System& system, std::string& folder) {
    folder.clear();
    try {
        const platform::Result<std::string> result = system.PrinterDriverDirectory();
        if (result) {
            folder = WithoutTrailingBackslash(*result);
            return DriverFolderOutcome::Found;
        }
        return result.code() == kRpcServerUnavailable ? DriverFolderOutcome::SpoolerStopped
                                                      : DriverFolderOutcome::Unknown;
    } catch (const std::exception&) {
        return DriverFolderOutcome::Unknown;
    }
}

std::string FallbackPrinterDriverDir(const std::string& system_dir, int platform_code) {
    return platform_code == 1 ? system_dir : system_dir + "\\spool\\DRIVERS\\W32X86";
}

}  // namespace wizard
