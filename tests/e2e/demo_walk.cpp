// Walks the setup wizard the way a person would for `make demo` without a display: Next through
// the pages (accepting the licence, keeping every proposal), which installs the sample product,
// a screenshot of every step (the progress window during the copy step among them), then, on
// the finish page, Next without starting anything; Cancel (confirmed) where the wizard goes no
// further. At the end it says where the product was installed.
//
//     demo_walk.exe DISTRIBUTION_FOLDER SCREENSHOT_FOLDER
#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

#include "driver/image.h"
#include "driver/progress_window.h"
#include "driver/setup_process.h"
#include "driver/strings.h"
#include "driver/wizard.h"
#include "driver/wizard_walk.h"
#include "installed_machine.h"

namespace {

using namespace e2e;

// Enough for every page, with room for a question answered on the way.
constexpr int kMaxSteps = 30;
constexpr Timeout kPageChangeTimeout = 5s;

class Walk {
  public:
    Walk(const std::string& distribution, std::string screenshots)
        : setup_(HostPath(distribution)),
          destination_(ProposedDestination(HostPath(distribution))),
          screenshots_(std::move(screenshots)) {}

    int Run() {
        // A broken distribution shows one message and no wizard.
        const auto first = WaitFor(
            [&]() -> std::optional<bool> {
                if (setup_.FindDialog()) {
                    return false;
                }
                const auto wizard = setup_.FindTopLevel(kWizardClass);
                return wizard && wizard->Visible() ? std::optional(true) : std::nullopt;
            },
            30s, "the wizard");
        if (!first) {
            AnswerDialog();
            return Finish();
        }
        const RemoteWindow wizard = *setup_.FindTopLevel(kWizardClass);
        for (int step = 0; step < kMaxSteps; ++step) {
            if (setup_.FindDialog()) {
                AnswerDialog();
                continue;
            }
            Shoot(wizard.Control(WizardId(kTitle)).Text());
            if (wizard.Control(WizardId(kRunProgramBox)).Visible()) {
                return LeaveFinishPage(wizard);
            }
            const RemoteWindow accept = wizard.Control(WizardId(kAcceptButton));
            const RemoteWindow next = wizard.Control(WizardId(kNextButton));
            if (accept.Visible() && accept.Enabled() && !next.Enabled()) {
                accept.Click();
                WaitUntil([&] { return next.Enabled(); }, kPageChangeTimeout, "Next enabled");
            }
            if (!next.Visible() || !next.Enabled()) {
                std::printf("demo: Next is not available here; the walk ends\n");
                break;
            }
            if (!PressNext(wizard, next)) {
                std::printf("demo: Next leads nowhere yet; the walk ends\n");
                break;
            }
        }
        return CancelWizard(wizard);
    }

  private:
    // A screenshot once the screen has settled, or at once for what does not stay long.
    void Shoot(const std::string& what, bool at_once = false) {
        char name[32];
        std::snprintf(name, sizeof name, "step-%02d.png", ++shots_);
        const Image screen = at_once ? Image::CaptureScreen() : Image::CaptureSettledScreen();
        screen.SavePng(HostPath(screenshots_ + "/" + name));
        std::printf("demo: %s/%s  %s\n", screenshots_.c_str(), name, what.c_str());
        std::fflush(stdout);
    }

    // The progress window when it shows, and whether it is in its copy layout (its progress
    // bar shows).
    std::optional<bool> ProgressShown() const { return ProgressCopying(setup_); }

    // The run keeps the wizard hidden until the finish page or a question. The copy step is
    // short, so it is caught first, with screenshots taken at once; a later step after it.
    void WatchRun(const RemoteWindow& wizard) {
        bool copy_shot = false;
        bool step_shot = false;
        WaitUntil(
            [&] {
                const std::optional<bool> copying = ProgressShown();
                if (copying && *copying && !copy_shot) {
                    Shoot("the installation run: copying files", true);
                    copy_shot = true;
                } else if (copying && !*copying && !step_shot && copy_shot) {
                    Shoot("the installation run", true);
                    step_shot = true;
                }
                return setup_.FindDialog() || wizard.Visible();
            },
            kRunTimeout, "the end of the installation run");
        if (!copy_shot && wizard.Visible()) {
            std::printf("demo: the copy step passed too quickly for a screenshot\n");
        }
    }

    // Next moves on to another page, starts the run (the wizard hides) or raises a message.
    bool PressNext(const RemoteWindow& wizard, const RemoteWindow& next) {
        const RemoteWindow title = wizard.Control(WizardId(kTitle));
        const std::string before = title.Text();
        next.Click();
        try {
            WaitUntil(
                [&] { return setup_.FindDialog() || !wizard.Visible() || title.Text() != before; },
                kPageChangeTimeout, "another page");
        } catch (const std::runtime_error&) {
            return false;
        }
        if (!wizard.Visible() && !setup_.FindDialog()) {
            WatchRun(wizard);
        }
        return true;
    }

    void AnswerDialog() {
        const MessageDialog dialog = setup_.WaitDialog();
        // The first button goes on: OK, or Yes to a question on the way.
        const auto buttons = dialog.Buttons();
        Shoot(dialog.Title() + ": " + dialog.Text());
        if (!buttons.empty()) {
            dialog.Press(buttons.front());
        }
        WaitUntil([&] { return !dialog.Window().Exists(); }, kPageChangeTimeout,
                  "the dialog to close");
    }

    int CancelWizard(const RemoteWindow& wizard) {
        const RemoteWindow cancel = wizard.Control(WizardId(kCancelButton));
        cancel.Click();
        const MessageDialog confirmation = setup_.WaitDialog();
        // The program puts its own captions on the dialog's buttons on its next timer tick.
        WaitUntil(
            [&] {
                const auto buttons = confirmation.Buttons();
                return std::find(buttons.begin(), buttons.end(), "&Да") != buttons.end();
            },
            kPageChangeTimeout, "the button \"&Да\"");
        Shoot(confirmation.Title() + ": " + confirmation.Text());
        confirmation.Press("&Да");
        return Finish();
    }

    int LeaveFinishPage(const RemoteWindow& wizard) {
        for (const int id : {WizardId(kRunProgramBox), WizardId(kOpenGroupBox)}) {
            const RemoteWindow box = wizard.Control(id);
            if (box.Visible() && box.Checked()) {
                box.Click();
            }
        }
        wizard.Control(WizardId(kNextButton)).Click();
        const int code = Finish();
        std::printf("demo: Zinkolar is installed in %s\ndemo: on this machine: %s\n",
                    destination_.c_str(), UnixPath(Wide(destination_)).c_str());
        return code;
    }

    int Finish() {
        const DWORD code = setup_.WaitExit();
        std::printf("demo: setup.exe ended with exit code %lu after %d screenshots\n",
                    static_cast<unsigned long>(code), shots_);
        return 0;
    }

    SetupProcess setup_;
    std::string destination_;  // the proposed folder, which the walk keeps
    std::string screenshots_;
    int shots_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: demo_walk DISTRIBUTION_FOLDER SCREENSHOT_FOLDER\n");
        return 2;
    }
    try {
        return Walk(argv[1], argv[2]).Run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "demo: %s\n", error.what());
        return 1;
    }
}
