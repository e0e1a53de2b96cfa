#pragma once
// The unattended installation: the real wizard, never shown, set from the command line's choices
// as a person would set it and taken through its pages with Next, so that every check and every
// proposal is the wizard's own.
#include <optional>
#include <string>

#include "app/answering_dialogs.h"
#include "app/command_line.h"
#include "platform/trace.h"
#include "ui/form.h"
#include "wizard/wizard.h"

namespace app {

// The application as the program's ends reach it, with their codes in the unattended
// conventions (the wizard's own codes stay as they are).
class UnattendedApplication final : public ui::Application {
  public:
    explicit UnattendedApplication(ui::Application& application) : application_(application) {}

    // The code the program ended with, mapped; none while it goes on.
    std::optional<int> ExitCode() const { return exit_code_; }

    void SetTitle(const std::string& title) override { application_.SetTitle(title); }
    void Terminate(int exit_code) override;
    bool Terminating() const override { return application_.Terminating(); }
    void SetShowMainWindow(bool show) override { application_.SetShowMainWindow(show); }
    void ProcessMessages() override { application_.ProcessMessages(); }
    void DrainMessages() override { application_.DrainMessages(); }
    [[noreturn]] void Halt(int exit_code) override;

  private:
    ui::Application& application_;
    std::optional<int> exit_code_;
};

struct UnattendedOutcome {
    int exit_code = 0;
    // With ui::kExitBadUsage: a choice the distribution does not offer, for the administrator.
    // Empty when the wizard refused a choice: its own message has said why.
    std::string usage_error;
};

// Takes the wizard, created on the application, from its first page through the installation
// run. The run's finish page is not shown and its actions are not carried out.
UnattendedOutcome RunUnattended(wizard::Wizard& wizard, const Options& options,
                                const UnattendedApplication& application,
                                const AnsweringDialogs& dialogs, platform::Trace& trace);

}  // namespace app
