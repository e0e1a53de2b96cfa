// Walks the setup wizard the way a person would for `make demo` without a display: Next through
// the pages (accepting the licence), a screenshot of every step, then Cancel (confirmed) or,
// on the finish page, Next without starting anything.
//
//     demo_walk.exe DISTRIBUTION_FOLDER SCREENSHOT_FOLDER
#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

#include "driver/image.h"
#include "driver/setup_process.h"
#include "driver/strings.h"
#include "driver/wizard.h"

namespace {

using namespace e2e;

// Enough for every page, with room for a question answered on the way.
constexpr int kMaxSteps = 30;
constexpr Timeout kPageChangeTimeout = 5s;
// The installation run may take a while before the finish page shows.
constexpr Timeout kRunTimeout = 180s;

class Walk {
  public:
    Walk(const std::string& distribution, std::string screenshots)
        : setup_(HostPath(distribution)), screenshots_(std::move(screenshots)) {}

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
            Shoot(wizard.Control(WizardId("Label1")).Text());
            if (wizard.Control(WizardId("RunProgCBx")).Visible()) {
                return LeaveFinishPage(wizard);
            }
            const RemoteWindow accept = wizard.Control(WizardId("YesBtn"));
            const RemoteWindow next = wizard.Control(WizardId("NextBtn"));
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
    void Shoot(const std::string& what) {
        char name[32];
        std::snprintf(name, sizeof name, "step-%02d.png", ++shots_);
        Image::CaptureSettledScreen().SavePng(HostPath(screenshots_ + "/" + name));
        std::printf("demo: %s/%s  %s\n", screenshots_.c_str(), name, what.c_str());
        std::fflush(stdout);
    }

    // Next moves on to another page, starts the run (the wizard hides) or raises a message.
    bool PressNext(const RemoteWindow& wizard, const RemoteWindow& next) {
        const RemoteWindow title = wizard.Control(WizardId("Label1"));
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
            Shoot("the installation run");
            WaitUntil([&] { return setup_.FindDialog() || wizard.Visible(); }, kRunTimeout,
                      "the end of the installation run");
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
        const RemoteWindow cancel = wizard.Control(WizardId("CancelBtn"));
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
        for (const int id : {WizardId("RunProgCBx"), WizardId("RunProgGroupCBx")}) {
            const RemoteWindow box = wizard.Control(id);
            if (box.Visible() && box.Checked()) {
                box.Click();
            }
        }
        wizard.Control(WizardId("NextBtn")).Click();
        return Finish();
    }

    int Finish() {
        const DWORD code = setup_.WaitExit();
        std::printf("demo: setup.exe ended with exit code %lu after %d screenshots\n",
                    static_cast<unsigned long>(code), shots_);
        return 0;
    }

    SetupProcess setup_;
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
