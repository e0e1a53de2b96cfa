// Whole installations of the sample distributions, from the real wizard to the finish page, then
// checked from outside the program: the installed files, install.ini record by record,
// zinkolar.ini, win.ini, the registry, every shortcut and the internet shortcuts. Each test
// installs into a folder of its own, removed again at its end.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "driver/distribution.h"
#include "driver/strings.h"
#include "driver/wizard.h"
#include "driver/wizard_walk.h"
#include "platform/win32/handles.h"
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

// Another product's shortcut on the desktop and its uninstall entry, removed again at the end.
class OtherProduct {
  public:
    static constexpr wchar_t kUninstall[] =
        L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zinkolarix 1.0";
    OtherProduct() : link_(SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\Zinkolarix.lnk") {
        const platform::ComApartment com;
        void* made = nullptr;
        void* persist = nullptr;
        const bool linked =
            SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IShellLinkW, &made)) &&
            SUCCEEDED(static_cast<IShellLinkW*>(made)->QueryInterface(IID_IPersistFile, &persist));
        const platform::UniqueCom<IShellLinkW> link(static_cast<IShellLinkW*>(made));
        const platform::UniqueCom<IPersistFile> file(static_cast<IPersistFile*>(persist));
        if (!linked || FAILED(link->SetPath(L"C:\\Zinkolarix\\zinkolarix.exe")) ||
            FAILED(file->Save(Wide(link_).c_str(), TRUE))) {
            ADD_FAILURE() << "cannot make " << link_;
        }
        HKEY made_key = nullptr;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstall, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &made_key, nullptr);
        const platform::UniqueKey key(made_key);
        RegSetValueExW(key.get(), L"DisplayName", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(L"Zinkolarix"), sizeof L"Zinkolarix");
    }
    ~OtherProduct() {
        DeleteFileW(Wide(link_).c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUninstall);
    }
    const std::string& Link() const { return link_; }

  private:
    std::string link_;
};

// install.ini with records added at the start of their sections.
void PlantRecords(const std::string& log_file, const Records& files, const Records& keys) {
    std::string log = ReadBytes(Wide(log_file));
    const auto plant = [&](const std::string& section, const Records& records) {
        const std::string header = "[" + section + "]\r\n";
        std::string lines;
        for (const auto& [key, value] : records)
            lines += key + "=" + value + "\r\n";
        log.insert(log.find(header) + header.size(), lines);
    };
    plant("file", files);
    plant("lregkey", keys);
    std::ofstream(fs::path(Wide(log_file)), std::ios::binary) << log;
}

// The log of the earlier installation in a folder others may write names another product's
// shortcut and uninstall entry: the second run leaves both, and still removes the product's own.
TEST(InstallationTest, SecondRunKeepsWhatAPlantedRecordNames) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    const OtherProduct other;
    Install(distribution.Folder(), dest.Path());
    // An earlier version's shortcut and uninstall entry, made by hand as its setup would have.
    const std::string desktop = SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
    const std::string old_link = desktop + "\\Zinkolar 4.2.lnk";
    ASSERT_TRUE(
        CopyFileW(Wide(desktop + "\\Zinkolar 5.0.lnk").c_str(), Wide(old_link).c_str(), FALSE));
    const std::string uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    // The product's own entries, each with a value that only their removal takes away.
    for (const char* entry : {"Zinkolar 4.2", "Zinkolar 5.0"}) {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, Wide(uninstall + entry).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr);
        RegSetValueExW(key, L"Planted", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"x"),
                       sizeof L"x");
        RegCloseKey(key);
    }
    PlantRecords(dest / "install.ini", {{other.Link(), "1"}, {old_link, "1"}},
                 {{Utf8(OtherProduct::kUninstall), "1"}, {uninstall + "Zinkolar 4.2", "1"}});

    Install(distribution.Folder(), dest.Path());

    EXPECT_TRUE(fs::exists(Wide(other.Link())));
    EXPECT_EQ(RegistryValues("HKEY_LOCAL_MACHINE\\" + Utf8(OtherProduct::kUninstall)),
              (std::map<std::string, std::string>{{"DisplayName", "Zinkolarix"}}));
    EXPECT_FALSE(fs::exists(Wide(old_link)));
    EXPECT_TRUE(RegistryValues("HKEY_LOCAL_MACHINE\\" + uninstall + "Zinkolar 4.2").empty());
    const auto entry = RegistryValues("HKEY_LOCAL_MACHINE\\" + uninstall + "Zinkolar 5.0");
    EXPECT_FALSE(entry.contains("Planted"));
    EXPECT_EQ(entry.at("InstallLocation"), dest.Path());
    for (const Shortcut& shortcut : SingleShortcuts(dest))
        EXPECT_EQ(ReadLink(Wide(shortcut.file)).target, shortcut.target) << shortcut.file;
    // The planted records stay in the log, as every record of an earlier run does.
    const Records files = ProfileSection(ReadAnsiFile(Wide(dest / "install.ini")), "file");
    EXPECT_EQ(files.front(), (std::pair<std::string, std::string>{other.Link(), "1"}));
}

TEST(InstallationTest, ClientOfTheClientServerDistribution) {
    const Distribution distribution(kDistributions + "clientserver");
    const Destination dest;
    {
        WizardWalk walk(distribution.Folder(), ShotsFolder());
        walk.Press(WizardId(kNextButton), kRussian.install_type);
        ASSERT_TRUE(walk.Control(WizardId(kClientRadio)).Checked());
        WalkToSummary(walk, dest.Path());
        walk.Press(WizardId(kNextButton), kRussian.finish, kRunTimeout);
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
    const MessageDialog error = walk.PressForDialog(WizardId(kNextButton));
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
    const MessageDialog question = walk.PressForDialog(WizardId(kNextButton));
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
