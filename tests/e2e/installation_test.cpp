// Whole installations of the sample distributions, from the real wizard to the finish page, then
// checked from outside the program: the installed files, install.ini record by record,
// zinkolar.ini, win.ini, the registry, every shortcut and the internet shortcuts. Each test
// installs into a folder of its own, removed again at its end.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/distribution.h"
#include "driver/strings.h"
#include "driver/wizard.h"
#include "driver/wizard_walk.h"
#include "single_installation.h"

namespace {

using namespace e2e;
namespace fs = std::filesystem;

TEST(InstallationTest, SingleDistributionCheckedFromOutside) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    Install(distribution.Folder(), dest.Path());
    ExpectSingleInstallation(Utf8(distribution.Folder()), dest);
}

// A second run into the same folder makes everything anew and records each item once.
TEST(InstallationTest, SecondRunIntoTheSameFolder) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    Install(distribution.Folder(), dest.Path());
    const std::string first = ReadAnsiFile(Wide(dest / "install.ini"));
    Install(distribution.Folder(), dest.Path());
    const std::string second = ReadAnsiFile(Wide(dest / "install.ini"));
    for (const char* section : {"folder", "file", "lregkey", "cregkey", "lregvalue"}) {
        EXPECT_EQ(Keys(ProfileSection(second, section)), Keys(ProfileSection(first, section)))
            << section;
    }
    for (const Shortcut& shortcut : SingleShortcuts(dest)) {
        EXPECT_EQ(ReadLink(Wide(shortcut.file)).target, shortcut.target) << shortcut.file;
    }
    EXPECT_FALSE(fs::exists(Wide(dest / "Backup"))) << "the same files again replace nothing";
}

TEST(InstallationTest, ClientOfTheClientServerDistribution) {
    const Distribution distribution(kDistributions + "clientserver");
    const Destination dest;
    {
        WizardWalk walk(distribution.Folder(), ShotsFolder());
        walk.Press(WizardId("NextBtn"), kRussian.install_type);
        ASSERT_TRUE(walk.Control(WizardId("ClientRb")).Checked());
        WalkToSummary(walk, dest.Path());
        walk.Press(WizardId("NextBtn"), kRussian.finish, kRunTimeout);
        EXPECT_EQ(LeaveFinishPage(walk), 0u);
    }
    const std::string log = ReadAnsiFile(Wide(dest / "install.ini"));
    EXPECT_EQ(ProfileSection(log, "main").at(1).second, "Zinkolar Client 5.0");
    EXPECT_TRUE(fs::exists(Wide(dest / "zinkolar.exe")));
    EXPECT_FALSE(fs::exists(Wide(dest / "scripted.exe"))) << "the client has no script editor";
    EXPECT_FALSE(fs::exists(Wide(dest / "service"))) << "nor the service's folder";
    const std::string group = SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\Zinkolar Client 5.0";
    EXPECT_FALSE(fs::exists(Wide(group + "\\Редактор сценариев.lnk")));
    EXPECT_EQ(ReadLink(Wide(group + "\\Zinkolar Client 5.0.lnk")).target, dest / "zinkolar.exe");
    EXPECT_EQ(RegistryValues("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                             "Uninstall\\Zinkolar Client 5.0")["UninstallString"],
              dest / "zkuninst.exe");
    EXPECT_EQ(ProfileSection(log, "cregkey").size(), 12u) << "no remote-control scripts";
}

// Without the printer-setup library the run stops before anything is copied.
TEST(InstallationTest, WithoutPrinterLibraryNothingIsCopied) {
    const Distribution distribution(kDistributions + "single");
    distribution.Remove("zkprtstp.dll");
    const Destination dest;
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    WalkToSummary(walk, dest.Path());
    const MessageDialog error = walk.PressForDialog(WizardId("NextBtn"));
    walk.Shoot("load-error");
    EXPECT_EQ(error.Title(), "Error");
    EXPECT_EQ(error.Text(), "Ошибка при загрузке zkprtstp.dll");
    error.Press("OK");
    EXPECT_EQ(walk.Setup().WaitExit(), 1u);
    EXPECT_TRUE(fs::exists(Wide(dest / "install.ini")));
    EXPECT_TRUE(fs::is_directory(Wide(dest / "OUT"))) << "the folders come before";
    EXPECT_FALSE(fs::exists(Wide(dest / "zinkolar.exe")));
    EXPECT_FALSE(fs::exists(Wide(dest / "zinkolar.url")));
    EXPECT_TRUE(ProfileSection(ReadAnsiFile(Wide(dest / "install.ini")), "file").empty());
}

// A product application that runs is asked to close by the broadcast, and the run goes on.
TEST(InstallationTest, RunningApplicationIsClosedByTheBroadcast) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    const SetupProcess application(distribution.Folder(), L"zinkolar.exe");
    application.WaitWindow("ZinkolarStandIn");
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    WalkToSummary(walk, dest.Path());
    const MessageDialog question = walk.PressForDialog(WizardId("NextBtn"));
    EXPECT_EQ(question.Text(),
              "Программа установки обнаружила, что запущено одно из приложений Zinkolar. Для "
              "продолжения установки необходимо завершить его работу. Завершить?");
    WaitUntil(
        [&] {
            const Strings buttons = question.Buttons();
            return std::find(buttons.begin(), buttons.end(), "&Да") != buttons.end();
        },
        kPageTimeout, "the button \"&Да\"");
    walk.Shoot("applications-running");
    WizardWalk::Answer(question, "&Да");
    EXPECT_EQ(application.WaitExit(), 0u) << "the stand-in closes itself";
    walk.WaitPage(kRussian.finish, kRunTimeout);
    EXPECT_EQ(LeaveFinishPage(walk), 0u);
    EXPECT_TRUE(fs::exists(Wide(dest / "zinkolar.exe")));
}

}  // namespace
