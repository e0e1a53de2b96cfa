// One setup at a time: a second start while the wizard runs hands the user the wizard that is
// already there and ends by itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/win32/single_instance.h"
#include "driver/distribution.h"
#include "driver/setup_process.h"
#include "driver/strings.h"
#include "driver/wizard.h"
#include "driver/wizard_walk.h"
#include "e2e_paths.h"

namespace {

using namespace e2e;

struct Count {
    int wizards = 0;
};

BOOL CALLBACK CountShownWizard(HWND window, LPARAM data) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (IsWindowVisible(window) && Utf8(name) == kWizardClass) {
        ++reinterpret_cast<Count*>(data)->wizards;  // NOLINT(performance-no-int-to-ptr)
    }
    return TRUE;
}

int ShownWizards() {
    Count count;
    EnumWindows(CountShownWizard, reinterpret_cast<LPARAM>(&count));
    return count.wizards;
}

// A window of the driver's own in front of everything, as another program would be.
class OtherWindow {
  public:
    OtherWindow()
        : window_(CreateWindowExW(0, L"STATIC", L"Another program", WS_POPUP | WS_VISIBLE, 0, 0,
                                  400, 300, nullptr, nullptr, nullptr, nullptr)) {
        SetForegroundWindow(window_);
        WaitUntil([&] { return GetForegroundWindow() == window_; }, 5s,
                  "another window to come to the front");
    }
    ~OtherWindow() { DestroyWindow(window_); }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;

  private:
    HWND window_;
};

TEST(SingleSetupTest, SecondStartBringsTheRunningWizardToTheFrontAndEnds) {
    const Distribution distribution(kDistributions + "single");
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    const OtherWindow other;

    const SetupProcess second(distribution.Folder());
    EXPECT_EQ(second.WaitExit(), static_cast<DWORD>(ui::kExitAnotherSetup));
    WaitUntil([&] { return GetForegroundWindow() == walk.Wizard().Handle(); }, 5s,
              "the running wizard to come to the front");
    EXPECT_EQ(ShownWizards(), 1);
    EXPECT_TRUE(walk.Setup().Running());
    walk.Shoot("after-second-start");
}

}  // namespace
