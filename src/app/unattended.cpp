#include "app/unattended.h"

#include <algorithm>
#include <cstdlib>

#include "platform/text.h"
#include "ui/exit_codes.h"

namespace app {
namespace {

using namespace wizard::controls;

// The box of each file type of /FILETYPES, in the order of its names.
constexpr ui::ControlName kFileTypeBoxes[] = {
    kFaxBox, kCoverPageBox, kLogBookBox, kPhoneBookBox, kScheduleBox, kMixBox, kScriptBox};
static_assert(std::size(kFileTypeBoxes) == std::size(kFileTypeNames));

bool Listed(const std::vector<std::string>& names, std::string_view name) {
    return std::ranges::find(names, name) != names.end();
}

// A check box set as a person would: a click where it differs.
void SetBox(ui::Control& box, bool checked, platform::Trace& trace) {
    if (!box.Showing()) {
        trace.Line("Not offered, left out: " + box.Name());
        return;
    }
    if (box.Checked() != checked)
        box.Click();
}

std::optional<std::string> ChooseLanguage(ui::Control& list, const std::string& name) {
    const std::vector<std::string>& items = list.Items();
    const auto found = std::ranges::find_if(
        items, [&](const std::string& item) { return platform::EqualsIgnoreCase(item, name); });
    if (found == items.end())
        return "unknown language \"" + name + "\": " + Join(items, ", ");
    const int index = static_cast<int>(found - items.begin());
    if (index != list.ItemIndex())
        list.Choose(index);
    return std::nullopt;
}

// Sets the controls of the page on screen from the options; an absent choice keeps the
// wizard's proposal.
std::optional<std::string> SetPage(ui::Form& form, wizard::Page page, const Options& options,
                                   platform::Trace& trace) {
    using wizard::Page;
    switch (page) {
        case Page::Welcome:
            if (options.language)
                return ChooseLanguage(form[kLanguageList], *options.language);
            break;
        case Page::Type:
            if (options.type)
                form[options.type == InstallType::Server ? kServerRadio : kClientRadio].Click();
            break;
        case Page::Licence:
            form[kAcceptButton].Click();  // the licence accepted
            break;
        case Page::Destination:
            if (options.dir)
                form[kPathField].Type(*options.dir);
            break;
        case Page::Shortcuts:
            if (options.no_icons)
                SetBox(form[kStartMenuBox], false, trace);
            if (options.tasks) {
                SetBox(form[kDesktopBox], Listed(*options.tasks, "desktop"), trace);
                SetBox(form[kQuickLaunchBox], Listed(*options.tasks, "quicklaunch"), trace);
            }
            break;
        case Page::Group:
            if (options.group)
                form[kPathField].Type(*options.group);
            break;
        case Page::FileTypes:
            if (options.file_types) {
                for (std::size_t i = 0; i < std::size(kFileTypeNames); ++i) {
                    SetBox(form[kFileTypeBoxes[i]], Listed(*options.file_types, kFileTypeNames[i]),
                           trace);
                }
            }
            break;
        default:
            break;
    }
    return std::nullopt;
}

}  // namespace

void UnattendedApplication::Terminate(int exit_code) {
    if (!exit_code_)
        exit_code_ = ui::UnattendedExitCode(exit_code);
    application_.Terminate(*exit_code_);
}

void UnattendedApplication::Halt(int exit_code) {
    application_.Halt(ui::UnattendedExitCode(exit_code));
    std::abort();  // not reached: the compiler does not carry noreturn through the call
}

UnattendedOutcome RunUnattended(wizard::Wizard& wizard, const Options& options,
                                const UnattendedApplication& application,
                                const AnsweringDialogs& dialogs, platform::Trace& trace) {
    if (application.ExitCode())
        return {*application.ExitCode()};  // the distribution is broken: the wizard said why
    if (options.type && !wizard.Config().client_server)
        return {ui::kExitBadUsage, "/TYPE: this distribution has a single installation type"};
    ui::Form& form = wizard.GetForm();
    while (wizard.CurrentPage() < wizard::Page::Installation) {
        const wizard::Page page = wizard.CurrentPage();
        if (auto error = SetPage(form, page, options, trace))
            return {ui::kExitBadUsage, *error};
        form[kNextButton].Click();
        if (application.ExitCode())
            return {*application.ExitCode()};
        if (wizard.CurrentPage() == page) {
            trace.Line("The wizard refused the choices of page " +
                       std::to_string(static_cast<int>(page)));
            return {ui::kExitBadUsage};
        }
    }
    // The run goes on past an error message as the wizard does, but it did not install all.
    const std::vector<std::string>& errors = dialogs.ErrorMessages();
    if (!errors.empty()) {
        trace.Line("Error messages: " + std::to_string(errors.size()));
        for (const std::string& error : errors)
            trace.Line("  " + error);
        return {ui::kExitFatal};
    }
    return {ui::kExitSuccess};
}

}  // namespace app
