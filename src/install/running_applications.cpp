#include "install/running_applications.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "install/product_libraries.h"
#include "language/format.h"
#include "language/message_dialogs.h"
#include "ui/exit_codes.h"

namespace install {

namespace {

using ui::DialogButton;
using ui::DialogKind;
namespace keys = language::keys;

// The product's applications by executable name, in the order they are tested.
constexpr const char* kProductExecutables[] = {"zinkolar.exe", "zkmanager.exe", "phbook.exe",
                                               "zkdrv32.exe",  "scripted.exe",  "logbook.exe",
                                               "zksched.exe"};
// Registered by every product application, which closes itself on receiving it.
constexpr char kCloseRequest[] = "ZKCloseAllApplMes";
constexpr unsigned kBroadcastTimeoutMs = 5000;
constexpr std::uint64_t kGracePeriodMs = 5000;
constexpr unsigned kPollIntervalMs = 100;
// The user's abort ends the program like a confirmed cancellation of the wizard.
constexpr Stop kAbort{ui::kExitCancelled};

// The first product application found running; null when none runs.
const char* RunningApplication(const ProcessTest& test) {
    const auto found = std::ranges::find_if(kProductExecutables,
                                            [&](const char* name) { return test.IsRunning(name); });
    return found == std::end(kProductExecutables) ? nullptr : *found;
}

// The hourglass while the applications are being closed, the arrow again on every way out.
class BusyCursor {
  public:
    explicit BusyCursor(platform::System& system) : system_(system) { system_.SetBusyCursor(true); }
    ~BusyCursor() { system_.SetBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    platform::System& system_;
};

// Without the service library's process test: the error shown, the request broadcast once.
void AskToCloseUnchecked(const platform::Error& failure, const platform::Platform& platform,
                         const language::Language& language, ui::MessageDialogs& dialogs) {
    language::ShowErrorBox(
        dialogs, language,
        language::FormatText(language.Lookup(keys::msgLoadError), {failure.text}),
        keys::msgLoadError.key);
    platform.trace.Line("Asked applications to close, unchecked: " + failure.text + " missing");
    platform.system.BroadcastMessage(kCloseRequest, kBroadcastTimeoutMs);
}

// The questions of the loop, in the language of the run.
class Questions {
  public:
    Questions(const language::Language& language, ui::MessageDialogs& dialogs)
        : language_(language), dialogs_(dialogs) {}

    // The first sight of a running application: Yes asks them to close; otherwise the run stops
    // when the user confirms the abort, and goes on without them when not.
    std::optional<StepResult> AskToClose(const std::string& product_name) const {
        if (Ask(keys::cAnyAppRun,
                language::FormatText(language_.Lookup(keys::cAnyAppRun), {product_name}),
                DialogKind::Warning, {DialogButton::Yes, DialogButton::No}) == DialogButton::Yes)
            return std::nullopt;
        if (Ask(keys::cRealyAbort, language_.Lookup(keys::cRealyAbort), DialogKind::Confirmation,
                {DialogButton::Yes, DialogButton::No}) == DialogButton::Yes)
            return kAbort;
        return kGoOn;
    }

    // After the grace period: Retry waits another one, Yes aborts, No goes on.
    DialogButton StillRunning() const {
        return Ask(keys::cErrCloseApp, language_.Lookup(keys::cErrCloseApp), DialogKind::Error,
                   {DialogButton::Yes, DialogButton::No, DialogButton::Retry});
    }

  private:
    DialogButton Ask(const language::TextKey& key, const std::string& text, DialogKind kind,
                     std::vector<DialogButton> buttons) const {
        return language::ShowMessageDialog(dialogs_, language_, key.key, text, kind,
                                           std::move(buttons));
    }

    const language::Language& language_;
    ui::MessageDialogs& dialogs_;
};

}  // namespace

StepResult CloseProductApplications(const InstallationPlan& plan,
                                    const platform::Platform& platform,
                                    const language::Language& language,
                                    ui::MessageDialogs& dialogs) {
    const auto test = ProcessTest::Load(platform.libraries);
    if (!test) {
        AskToCloseUnchecked(test.error(), platform, language, dialogs);
        return kGoOn;
    }
    const Questions questions(language, dialogs);
    const BusyCursor busy(platform.system);
    platform::Clock& clock = platform.clock;
    bool asked = false;
    std::uint64_t start = 0;
    std::string told;  // the running application last told to the trace
    while (const char* running = RunningApplication(*test)) {
        if (told != running) {
            told = running;
            platform.trace.Line("Application running: " + told);
        }
        if (!asked) {
            if (const auto answer = questions.AskToClose(plan.config.product_name))
                return *answer;
            start = clock.Milliseconds();
        }
        platform.system.BroadcastMessage(kCloseRequest, kBroadcastTimeoutMs);
        if (!asked)
            platform.trace.Line("Asked applications to close");
        asked = true;
        if (clock.Milliseconds() - start > kGracePeriodMs) {
            switch (questions.StillRunning()) {
                case DialogButton::Retry:
                    start = clock.Milliseconds();
                    break;
                case DialogButton::Yes:
                    return kAbort;
                case DialogButton::No:
                    return kGoOn;
                default:
                    break;
            }
        }
        clock.Sleep(kPollIntervalMs);
    }
    if (asked)
        platform.trace.Line("Applications closed");
    return kGoOn;
}

}  // namespace install
