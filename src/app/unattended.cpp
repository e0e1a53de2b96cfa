#include "app/unattended.h"

#include <algorithm>
#include <cstdlib>

#include "platform/text.h"
#include "ui/exit_codes.h"

namespace app {
namespace {

constexpr int kRunPage = 8;

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
std::optional<std::string> SetPage(ui::Form& form, int page, const Options& options,
                                   platform::Trace& trace) {
    switch (page) {
        case 0:
            if (options.language)
                return ChooseLanguage(form["SelectLangCmb"], *options.language);
            break;
        case 1:
            if (options.type)
                form[options.type == InstallType::Server ? "ServerRb" : "ClientRb"].Click();
            break;
        case 2:
            form["YesBtn"].Click();  // the licence accepted
            break;
        case 3:
            if (options.dir)
                form["PathEdit"].Type(*options.dir);
            break;
        case 4:
            if (options.no_icons)
                SetBox(form["AddLinkToStartCBx"], false, trace);
            if (options.tasks) {
                SetBox(form["AddLinkToDeskTopCBx"], Listed(*options.tasks, "desktop"), trace);
                SetBox(form["AddLinkToQuickLaunchCBx"], Listed(*options.tasks, "quicklaunch"),
                       trace);
            }
            break;
        case 5:
            if (options.group)
                form["PathEdit"].Type(*options.group);
            break;
        case 6:
            if (options.file_types) {
                for (const char* type : kFileTypeNames) {
                    std::string box = type;
                    std::ranges::transform(box, box.begin(),
                                           [](char c) { return static_cast<char>(c - 'a' + 'A'); });
                    SetBox(form[box + "CBx"], Listed(*options.file_types, type), trace);
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
    while (wizard.Page() < kRunPage) {
        const int page = wizard.Page();
        if (auto error = SetPage(form, page, options, trace))
            return {ui::kExitBadUsage, *error};
        form["NextBtn"].Click();
        if (application.ExitCode())
            return {*application.ExitCode()};
        if (wizard.Page() == page) {
            trace.Line("The wizard refused the choices of page " + std::to_string(page));
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
