// The user's choices, read from the wizard's controls into the plan the installation run takes.
#include "wizard/wizard.h"

namespace wizard {

install::InstallationPlan Wizard::Plan() const {
    using install::FileType;
    install::InstallationPlan plan{.config = config_, .folders = folders_};
    plan.destination = destination_;
    plan.program_group = form_["PathEdit"].Text();
    plan.start_menu_shortcuts = form_["AddLinkToStartCBx"].Checked();
    plan.desktop_shortcut = form_["AddLinkToDeskTopCBx"].Checked();
    plan.quick_launch_shortcut = form_["AddLinkToQuickLaunchCBx"].Checked();
    plan.server = form_["ServerRb"].Checked();
    plan.language = language_.CurrentName();
    constexpr std::pair<FileType, const char*> kBoxes[] = {
        {FileType::Mix, "MIXCBx"},       {FileType::PhoneBook, "BZKCBx"},
        {FileType::Script, "ZKACBx"},    {FileType::LogBook, "ZKLCBx"},
        {FileType::Schedule, "ZKSCBx"},  {FileType::Fax, "ZKXCBx"},
        {FileType::CoverPage, "ZKCCBx"},
    };
    for (const auto& [type, box] : kBoxes)
        plan.file_types[static_cast<std::size_t>(type)] = form_[box].Checked();
    return plan;
}

}  // namespace wizard
