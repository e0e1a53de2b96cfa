#pragma once
// The installation plan: the distribution's configuration, the system folders and the user's
// choices, built once when the run starts. The run and the engine read it and nothing else of
// the wizard.
#include <array>
#include <cstdint>
#include <string>

#include "platform/trace.h"

namespace install {

// The distribution's configuration, read from setup.ini [main] at start, with the values the
// branding library and the installation type add to it.
struct SetupConfig {
    std::string source_dir;  // the distribution folder, without trailing backslash
    std::string product_name;
    std::string version_number;
    int version_code = 0;
    std::int32_t need_disk_space = 0;  // bytes
    std::string install_path;          // relative to the Program Files folder
    bool voice_version = true;
    std::string mail_to;
    std::string home_page;
    std::string tutorial;
    std::string language;
    std::string search_sub_str;
    int platform_code = 0;  // 1 Windows 95/98/Me, 2 NT 4, 3 Windows 2000 or later
    std::string short_product_name;
    bool client_server = false;
    std::string license_file;
    std::string instructions_file;
    std::string script_file_name;
    std::string edition_suffix;  // " Server", " Client" or empty
    std::string help_file;
};

// The system folders found at start and the traces of an earlier product version.
struct SystemFolders {
    std::string program_files_dir;  // with trailing backslash
    std::string programs_dir;
    std::string desktop_dir;
    std::string quick_launch_dir;
    std::string send_to_dir;
    std::string system_dir;
    std::string printer_driver_dir;
    std::string old_install_path;
    std::string old_version;
};

// The file types of the file-type page, in the order of their registration.
enum class FileType { Mix, PhoneBook, Script, LogBook, Schedule, Fax, CoverPage };
inline constexpr std::size_t kFileTypeCount = 7;

// A name and the version number after a blank; the name alone when there is no number, so that
// no name ends in a blank (a registry key or file name that no log record could hold).
inline std::string WithVersion(const std::string& name, const std::string& version) {
    return version.empty() ? name : name + " " + version;
}

struct InstallationPlan {
    SetupConfig config;
    SystemFolders folders;
    std::string destination;    // the installation folder, without trailing backslash
    std::string program_group;  // relative to the programs folder
    bool start_menu_shortcuts = true;
    bool desktop_shortcut = true;
    bool quick_launch_shortcut = true;
    bool server = true;    // the server type is chosen (client/server distributions)
    std::string language;  // the language chosen, as the language list names it
    std::array<bool, kFileTypeCount> file_types{};  // ticked boxes, by FileType

    bool FileTypeChosen(FileType type) const { return file_types[static_cast<std::size_t>(type)]; }
    // ProductName and the edition: "Zinkolar Server", or "Zinkolar" without a type choice.
    std::string EditionName() const { return config.product_name + config.edition_suffix; }
    // "Zinkolar Server 5.0": the name of the uninstall entry, the main shortcut and the log.
    std::string Title() const { return WithVersion(EditionName(), config.version_number); }
    // The program group folder, one trailing backslash removed.
    std::string GroupDir() const;
    // Without a programs folder on this system the group would land in the drive's root.
    bool MakesProgramGroup() const { return start_menu_shortcuts && !folders.programs_dir.empty(); }
};

// States the plan in the account of the run, one fact a line.
void TracePlan(const InstallationPlan& plan, platform::Trace& trace);

}  // namespace install
