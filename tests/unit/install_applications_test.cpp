// Closing the product's running applications, on a clock that moves only when the code waits.
#include <map>

#include "install/product_libraries.h"
#include "install/running_applications.h"
#include "install_fixture.h"
#include "ui/exit_codes.h"

namespace install_test {
namespace {

using ui::DialogButton;
using ui::DialogKind;

constexpr char kAnyAppRun[] =
    "Программа установки обнаружила, что запущено одно из приложений Zinkolar. Для "
    "продолжения установки необходимо завершить его работу. Завершить?";
constexpr char kRealyAbort[] = "Вы действительно хотите прервать установку?";
constexpr char kErrCloseApp[] = "Не удалось завершить работу приложения. Прервать установку?";

// The running processes the fake service library reports: executable name -> the clock time
// at which it closes (never when absent from `closes_at`).
struct Processes {
    const platform::FakeClock* clock = nullptr;
    std::map<std::string, std::uint64_t> closes_at;
    std::vector<std::string> tested;
};
Processes* g_processes = nullptr;

install::ProductInt PRODUCT_STDCALL FakeTestProcessExec(install::ProductInt by, const char* name) {
    g_processes->tested.push_back(name);
    const auto found = g_processes->closes_at.find(name);
    return by == install::kByExecutableName && found != g_processes->closes_at.end() &&
           g_processes->clock->milliseconds < found->second;
}

constexpr std::uint64_t kNever = ~std::uint64_t{0};

class ApplicationsTest : public InstallTest {
  protected:
    ApplicationsTest() {
        processes.clock = &fake.clock;
        g_processes = &processes;
        fake.libraries.Add(install::kServiceLibrary).functions[install::kTestProcessExec] =
            reinterpret_cast<void*>(&FakeTestProcessExec);
    }

    install::StepResult Run() {
        start = fake.clock.milliseconds;
        return install::CloseProductApplications(plan, platform, language, dialogs);
    }
    // How long the loop waited, on the fake clock.
    std::uint64_t Elapsed() const { return fake.clock.milliseconds - start; }

    Processes processes;
    std::uint64_t start = 0;
};

TEST_F(ApplicationsTest, NoneRunning) {
    EXPECT_FALSE(Run());
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_TRUE(fake.system.broadcasts.empty());
    EXPECT_EQ(processes.tested, (std::vector<std::string>{
                                    "zinkolar.exe", "zkmanager.exe", "phbook.exe", "zkdrv32.exe",
                                    "scripted.exe", "logbook.exe", "zksched.exe"}));
    EXPECT_EQ(fake.libraries.LoadedCount(), 0);
    EXPECT_FALSE(fake.system.busy_cursor);
}

TEST_F(ApplicationsTest, OneThatClosesWithinASecond) {
    processes.closes_at["zkdrv32.exe"] = fake.clock.milliseconds + 800;
    EXPECT_FALSE(Run());
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{kAnyAppRun});
    EXPECT_EQ(dialogs.Shown()[0].kind, DialogKind::Warning);
    EXPECT_EQ(fake.system.broadcasts.size(), 8u);
    EXPECT_EQ(fake.system.broadcasts[0], (platform::Broadcast{"ZKCloseAllApplMes", 5000}));
    EXPECT_EQ(Elapsed(), 800u);
    EXPECT_FALSE(fake.system.busy_cursor);
    EXPECT_EQ(fake.libraries.LoadedCount(), 0);
}

TEST_F(ApplicationsTest, OneThatNeverCloses) {
    struct Case {
        const char* name;
        std::vector<DialogButton> answers;
        std::vector<std::string> texts;
        bool halted;
        std::uint64_t waited;  // ms on the clock until the last answer
    };
    const Case cases[] = {
        {"declined, then not aborted",
         {DialogButton::No, DialogButton::No},
         {kAnyAppRun, kRealyAbort},
         false,
         0},
        {"declined, then aborted",
         {DialogButton::No, DialogButton::Yes},
         {kAnyAppRun, kRealyAbort},
         true,
         0},
        // The grace period is over once more than 5 s have passed: after the 51st pause.
        {"go on after the grace period",
         {DialogButton::Yes, DialogButton::No},
         {kAnyAppRun, kErrCloseApp},
         false,
         5100},
        {"abort after the grace period",
         {DialogButton::Yes, DialogButton::Yes},
         {kAnyAppRun, kErrCloseApp},
         true,
         5100},
        // Retry counts another 5 s from the answer.
        {"retry, then go on",
         {DialogButton::Yes, DialogButton::Retry, DialogButton::No},
         {kAnyAppRun, kErrCloseApp, kErrCloseApp},
         false,
         10200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        processes.closes_at = {{"logbook.exe", kNever}};
        dialogs.Clear();
        fake.system.broadcasts.clear();
        for (const DialogButton answer : c.answers)
            dialogs.Answer(answer);
        const install::StepResult stop = Run();
        EXPECT_EQ(stop.has_value(), c.halted);
        if (stop)
            EXPECT_EQ(stop->exit_code, ui::kExitCancelled);
        EXPECT_EQ(dialogs.Texts(), c.texts);
        EXPECT_EQ(Elapsed(), c.waited);
        EXPECT_EQ(fake.system.broadcasts.size(), c.waited == 0 ? 0u : c.waited / 100 + 1);
        EXPECT_FALSE(fake.system.busy_cursor);
        EXPECT_EQ(fake.libraries.LoadedCount(), 0);
    }
    EXPECT_EQ(dialogs.Shown().back().kind, DialogKind::Error);
    EXPECT_EQ(
        dialogs.Shown().back().buttons,
        (std::vector<DialogButton>{DialogButton::Yes, DialogButton::No, DialogButton::Retry}));
}

TEST_F(ApplicationsTest, MissingLibraryOrFunction) {
    struct Case {
        const char* name;
        bool library;
        const char* message;
    };
    const Case cases[] = {
        {"library missing", false, "Ошибка при загрузке znklrf32.dll"},
        {"function missing", true, "Ошибка при загрузке TestProcessExec"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.Clear();
        fake.system.broadcasts.clear();
        fake.libraries.RemoveLibrary(install::kServiceLibrary);
        if (c.library)
            fake.libraries.Add(install::kServiceLibrary);
        processes.closes_at = {{"zinkolar.exe", kNever}};
        EXPECT_FALSE(Run()) << "the run goes on";
        EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(fake.system.broadcasts.size(), 1u);
        EXPECT_EQ(Elapsed(), 0u);
        EXPECT_EQ(fake.libraries.LoadedCount(), 0);
    }
}

}  // namespace
}  // namespace install_test
