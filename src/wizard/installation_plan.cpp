// The user's choices, read from the wizard's controls into the plan the installation run takes.
#include "wizard/wizard.h"

namespace wizard {

install::InstallationPlan Wizard::Plan() const {
    using install::FileType;
    install::InstallationPlan plan{.config = config_, .folders = folders_};
    plan.destination = destination_;
    plan.program_group = form_[kPathField].Text();
    plan.start_menu_shortcuts = form_[kStartMenuBox].Checked();
    plan.desktop_shortcut = form_[kDesktopBox].Checked();
    plan.quick_launch_shortcut = form_[kQuickLaunchBox].Checked();
    plan.server = form_[kServerRadio].Checked();
    plan.language = language_.CurrentName();
    constexpr std::pair<FileType, ui::ControlName> kBoxes[] = {
        {FileType::Mix, kMixBox},
        {FileType::PhoneBook, kPhoneBookBox},
        {FileType::Script, kScriptBox},
        {FileType::LogBook, kLogBookBox},
        {FileType::Schedule, kScheduleBox},
        {FileType::Fax, kFaxBox},
        {FileType::CoverPage, kCoverPageBox},
    };
    for (const auto& [type, box] : kBoxes)
        plan.file_types[static_cast<std::size_t>(type)] = form_[box].Checked();
    return plan;
}

}  // namespace wizard
