// The wizard's creation handler: configuration, platform code, system folders, and the
// failures of a broken distribution.
#include "wizard_fixture.h"

namespace wizard_test {
namespace {

// A distribution that cannot run ends with one error dialog, before any window is shown.
struct BrokenCase {
    const char* name;
    bool setup_ini;
    bool service_library;
    bool get_ver;
    const char* message;
    int platform_code = 3;  // what GetVer gives
};

class WizardBrokenDistribution : public WizardTest,
                                 public testing::WithParamInterface<BrokenCase> {};

TEST_P(WizardBrokenDistribution, EndsWithOneLoadErrorAndNoMainWindow) {
    const BrokenCase& c = GetParam();
    write_setup_ini = c.setup_ini;
    if (!c.service_library)
        fake.libraries.RemoveLibrary("znklrf32.dll");
    if (!c.get_ver)
        fake.libraries.Add("znklrf32.dll").functions.clear();
    else if (c.service_library)
        SetPlatformCode(c.platform_code);
    Start();
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].text, c.message);
    EXPECT_EQ(dialogs.Shown()[0].kind, DialogKind::Error);
    EXPECT_EQ(dialogs.Shown()[0].buttons, std::vector{DialogButton::Ok});
    EXPECT_TRUE(app.Terminating());
    EXPECT_FALSE(app.show_main_window);
    EXPECT_EQ(fake.libraries.LoadedCount(), 0) << "every library is released";
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardBrokenDistribution,
    testing::Values(
        BrokenCase{"NoSetupIni", false, true, true, "Ошибка при загрузке setup.ini"},
        BrokenCase{"NoServiceLibrary", true, false, true, "Ошибка при загрузке znklrf32.dll"},
        BrokenCase{"NoGetVer", true, true, false, "Ошибка при загрузке GetVer"},
        BrokenCase{"GetVerFails", true, true, true, "Ошибка при загрузке GetVer", 0},
        BrokenCase{"GetVerNamesNoPlatform", true, true, true, "Ошибка при загрузке GetVer", 4},
        BrokenCase{"LibraryCheckedFirst", false, false, true, "Ошибка при загрузке znklrf32.dll"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WizardTest, LoadErrorIsShownInTheConfiguredLanguage) {
    main["Language"] = "English";
    AddLanguageFile("English",
                    "[COMMON]\r\nmsgLoadError=Error loading %s\r\n[ZINKOLAR]\r\ncError=Error\r\n");
    fake.libraries.RemoveLibrary("znklrf32.dll");
    Start();
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].text, "Error loading znklrf32.dll");
    EXPECT_EQ(dialogs.Shown()[0].title, "Error");
    EXPECT_TRUE(app.Terminating());
}

TEST_F(WizardTest, SetupIniWithOnlyTheProductNameStartsWithDefaults) {
    main = {{"ProductName", "Zinkolar"}};
    Start();
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_FALSE(app.Terminating());
    const wizard::SetupConfig& config = wizard->Config();
    EXPECT_TRUE(config.voice_version);
    EXPECT_EQ(config.language, "Russian");
    EXPECT_EQ(config.need_disk_space, 0);
    EXPECT_EQ(config.install_path, "");
    EXPECT_EQ(config.source_dir, kSourceDir);
    EXPECT_EQ(config.platform_code, 3);
    EXPECT_EQ(wizard->Destination(), "C:\\Program Files\\") << "Program Files with its backslash";
    EXPECT_EQ(C(kLanguageList).Items(), std::vector<std::string>{"Russian"});
}

TEST_F(WizardTest, ReadsIntegersAndBooleansOfMain) {
    main["VoiceVersion"] = "0";
    main["NeedDiskSpace"] = "$100";
    Start();
    EXPECT_FALSE(wizard->Config().voice_version);
    EXPECT_EQ(wizard->Config().need_disk_space, 256);
}

struct BrandingCase {
    const char* name;
    bool library;
    std::map<unsigned, std::string> strings;
    std::string short_name;
    bool client_server;
};

class WizardBranding : public WizardTest, public testing::WithParamInterface<BrandingCase> {};

TEST_P(WizardBranding, GivesShortNameAndDistributionKind) {
    const BrandingCase& c = GetParam();
    if (c.library) {
        fake.libraries.Add("res.dll").strings = c.strings;
    } else {
        fake.libraries.RemoveLibrary("res.dll");
    }
    Start();
    EXPECT_EQ(wizard->Config().short_product_name, c.short_name);
    EXPECT_EQ(wizard->Config().client_server, c.client_server);
    EXPECT_EQ(C(kSidePicture).Picture().has_value(), c.library);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardBranding,
    testing::Values(BrandingCase{"NoLibrary", false, {}, "", false},
                    BrandingCase{"NoStrings", true, {}, "Zinkolar", false},
                    BrandingCase{"Named", true, {{101, "Zk"}, {103, "single"}}, "Zk", false},
                    BrandingCase{"AnyCase", true, {{103, "ClientSERVER"}}, "Zinkolar", true}),
    [](const auto& info) { return std::string(info.param.name); });

// The printer-driver folder: what the spooler says, and what start-up does about it.
struct SpoolerCase {
    const char* name;
    int platform_code;
    platform::Result<std::string> answer;
    bool throws;
    const char* message;  // nullptr: no dialog
    std::string folder;
};

class WizardSpooler : public WizardTest, public testing::WithParamInterface<SpoolerCase> {};

TEST_P(WizardSpooler, FindsTheDriverFolderOrItsFallBack) {
    const SpoolerCase& c = GetParam();
    SetPlatformCode(c.platform_code);
    fake.system.driver_directory = c.answer;
    fake.system.driver_directory_throws = c.throws;
    Start();
    if (c.message == nullptr) {
        EXPECT_TRUE(dialogs.Shown().empty());
    } else {
        EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(dialogs.Shown()[0].kind, DialogKind::Error);
    }
    EXPECT_FALSE(app.Terminating()) << "start-up goes on";
    EXPECT_EQ(wizard->Folders().printer_driver_dir, c.folder);
}

constexpr char kDriverPathError[] =
    "Неизвестна папка для установки драйверов принтера. Продолжение может привести к "
    "некорректной установке виртуального принтера.";

INSTANTIATE_TEST_SUITE_P(
    Table, WizardSpooler,
    testing::Values(SpoolerCase{"Found", 3, std::string("C:\\Spool\\W32X86\\"), false, nullptr,
                                "C:\\Spool\\W32X86"},
                    SpoolerCase{"OtherError", 3, platform::Failure(5), false, kDriverPathError,
                                "C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86"},
                    SpoolerCase{"Exception", 2, std::string("C:\\x"), true, kDriverPathError,
                                "C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86"},
                    SpoolerCase{"Windows9xFallBack", 1, platform::Failure(2), false,
                                kDriverPathError, "C:\\WINDOWS\\system32"},
                    SpoolerCase{"EmptyAnswer", 3, std::string(""), false, nullptr,
                                "C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WizardTest, StoppedSpoolerEndsTheProcessAfterItsMessage) {
    fake.system.driver_directory = platform::Failure(1722);
    EXPECT_THROW(Start(), ui::Halted);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{
                                   "Службы Print Spooler и/или Remote Procedure Call остановлены. "
                                   "Продолжение установки невозможно. Запустите службы и повторите "
                                   "установку."});
    EXPECT_EQ(dialogs.Shown()[0].kind, DialogKind::Error);
}

TEST_F(WizardTest, MissingRegistryValuesFallBackToDriveC) {
    ASSERT_TRUE(
        fake.registry.DeleteValue(RegistryRoot::LocalMachine, kWindowsKey, "ProgramFilesDir"));
    fake.shell.folders.clear();
    Start();
    EXPECT_EQ(wizard->Folders().program_files_dir, "C:\\");
    EXPECT_EQ(wizard->Destination(), "C:\\Zinkolar");
    EXPECT_EQ(wizard->Folders().programs_dir, "");
    EXPECT_EQ(wizard->Folders().desktop_dir, "");
    EXPECT_EQ(C(kFolderList).Items().at(0), "c:\\");
    EXPECT_EQ(C(kGroupList).Items(), std::vector<std::string>{});
    EXPECT_FALSE(C(kQuickLaunchBox).Visible());
}

TEST_F(WizardTest, ShellFoldersFallBackToTheRegistry) {
    fake.shell.folders = {{23, "C:\\Shell\\Programs\\"}};
    fake.registry.Set(RegistryRoot::LocalMachine, kShellFoldersKey, "Desktop", "C:\\Reg\\Desktop");
    fake.registry.Set(RegistryRoot::CurrentUser, kShellFoldersKey, "AppData", "C:\\Reg\\AppData");
    fake.registry.Set(RegistryRoot::CurrentUser, kShellFoldersKey, "SendTo", "C:\\Reg\\SendTo");
    Start();
    const wizard::SystemFolders& folders = wizard->Folders();
    EXPECT_EQ(folders.programs_dir, "C:\\Shell\\Programs") << "one trailing backslash removed";
    EXPECT_EQ(folders.desktop_dir, "C:\\Reg\\Desktop");
    EXPECT_EQ(folders.quick_launch_dir,
              "C:\\Reg\\AppData\\Microsoft\\Internet Explorer\\Quick Launch");
    EXPECT_EQ(folders.send_to_dir, "C:\\Reg\\SendTo");
}

TEST_F(WizardTest, AppPathsValuePathWinsAndIsDeleted) {
    fake.registry.Set(RegistryRoot::LocalMachine, kAppPathsKey, "Path", "E:\\Old");
    fake.registry.Set(RegistryRoot::LocalMachine, kAppPathsKey, "Zinkolar", "E:\\Named");
    Start();
    EXPECT_EQ(wizard->Destination(), "E:\\Old");
    EXPECT_FALSE(fake.registry.Has(RegistryRoot::LocalMachine, kAppPathsKey, "Path"));

    Start();
    EXPECT_EQ(wizard->Destination(), "E:\\Named") << "the next start uses the product's value";
}

// The Quick Launch choice stays only when its folder exists.
struct QuickLaunchCase {
    const char* name;
    int platform_code;
    const char* win_dir;          // HKLM ...\Setup "WinDir"; nullptr: absent
    const char* existing_folder;  // nullptr: none
    bool offered;
};

class WizardQuickLaunch : public WizardTest, public testing::WithParamInterface<QuickLaunchCase> {};

TEST_P(WizardQuickLaunch, ChoiceIsClearedAndHiddenWithoutItsFolder) {
    const QuickLaunchCase& c = GetParam();
    SetPlatformCode(c.platform_code);
    fake.files.Remove(kQuickLaunch);
    if (c.win_dir != nullptr) {
        fake.registry.Set(RegistryRoot::LocalMachine, std::string(kWindowsKey) + "\\Setup",
                          "WinDir", c.win_dir);
    }
    if (c.existing_folder != nullptr)
        fake.files.AddDirectory(c.existing_folder);
    Start();
    EXPECT_EQ(C(kQuickLaunchBox).Visible(), c.offered);
    EXPECT_EQ(C(kQuickLaunchBox).Checked(), c.offered);
}

constexpr char kWin9xQuickLaunch[] =
    "C:\\WINDOWS\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch";

// What an empty "WinDir" must not turn into.
constexpr char kRelativeQuickLaunch[] =
    "Application Data\\Microsoft\\Internet Explorer\\Quick Launch";

INSTANTIATE_TEST_SUITE_P(
    Table, WizardQuickLaunch,
    testing::Values(QuickLaunchCase{"NtPresent", 3, nullptr, kQuickLaunch, true},
                    QuickLaunchCase{"NtMissing", 3, nullptr, nullptr, false},
                    QuickLaunchCase{"Win9xPresent", 1, "C:\\WINDOWS", kWin9xQuickLaunch, true},
                    QuickLaunchCase{"Win9xBackslash", 1, "C:\\WINDOWS\\", kWin9xQuickLaunch, true},
                    QuickLaunchCase{"Win9xEmptyWinDir", 1, "", kRelativeQuickLaunch, false},
                    QuickLaunchCase{"Win9xNoWinDir", 1, nullptr, nullptr, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WizardTest, GroupListHoldsOnlyTheFoldersSorted) {
    fake.files.AddDirectory(std::string(kPrograms) + "\\games");
    Start();
    EXPECT_EQ(C(kGroupList).Items(), (std::vector<std::string>{"Accessories", "games", "Startup"}));
}

TEST_F(WizardTest, DriveListLeavesOutFloppiesAndStartsAtProgramFiles) {
    fake.system.drives = {"a:\\", "b:\\", "c:\\", "d:\\", "e:\\"};
    Start();
    EXPECT_EQ(C(kDriveList).Items(), (std::vector<std::string>{"c:", "d:", "e:"}));
    EXPECT_EQ(C(kDriveList).SelectedItem(), "c:");
    EXPECT_EQ(C(kFolderList).Items().at(0), "c:\\");
    EXPECT_TRUE(C(kFolderList).SelectedItem().ends_with("Program Files"));
}

}  // namespace
}  // namespace wizard_test
