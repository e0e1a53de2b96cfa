#include "install/installation_plan.h"

#include "install/file_types.h"

namespace install {

std::string InstallationPlan::GroupDir() const {
    std::string dir = folders.programs_dir + "\\" + program_group;
    if (dir.ends_with('\\'))
        dir.pop_back();
    return dir;
}

void TracePlan(const InstallationPlan& plan, platform::Trace& trace) {
    const SetupConfig& config = plan.config;
    const auto yes_no = [](bool flag) { return flag ? "yes" : "no"; };
    std::string types;
    for (const FileTypeEntry& entry : kFileTypeTable) {
        if (FileTypeRegistered(plan, entry.type))
            types += " " + std::string(entry.extension);
    }
    const SystemFolders& folders = plan.folders;
    trace.Line("Plan: " + plan.Title() + " from " + config.source_dir);
    trace.Line("Destination: " + plan.destination);
    trace.Line("Program group: " + (plan.MakesProgramGroup() ? plan.GroupDir() : "none"));
    trace.Line(std::string("Shortcuts: desktop ") + yes_no(plan.desktop_shortcut) +
               ", Quick Launch " + yes_no(plan.quick_launch_shortcut));
    trace.Line("File types:" + (types.empty() ? " none" : types));
    trace.Line("Language: " + plan.language);
    trace.Line("Earlier installation: " +
               (folders.old_install_path.empty()
                    ? std::string("none")
                    : folders.old_install_path + " (version " + folders.old_version + ")"));
}

}  // namespace install
