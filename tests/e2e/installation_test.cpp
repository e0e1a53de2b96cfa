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
#include "installed_machine.h"
#include "wizard_pages.h"

namespace {

using namespace e2e;
namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

constexpr char kExtensionsKey[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Extensions";

// The installation folder of one test, empty at its start and removed at its end, with the
// traces that would make a later run propose it (App Paths) or take it for an earlier
// version's folder (win.ini [Kelmo]).
class Destination {
  public:
    Destination() : path_("C:\\ZkE2E\\" + TestName()) { Remove(); }
    ~Destination() { Remove(); }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

  private:
    void Remove() const {
        std::error_code ignored;
        fs::remove_all(Wide(path_), ignored);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                       L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zinkolar.exe");
        WriteProfileStringW(L"Kelmo", nullptr, nullptr);
    }
    static std::string TestName() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        return std::string(test->test_suite_name()) + "." + test->name();
    }
    std::string path_;
};

std::string SpecialFolder(int id) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path);
    return Utf8(path);
}

std::string ShortPath(const std::string& path) {
    wchar_t buffer[MAX_PATH] = {};
    GetShortPathNameW(Wide(path).c_str(), buffer, MAX_PATH);
    return Utf8(buffer);
}

FILETIME WriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) {
        ADD_FAILURE() << "no file " << path;
    }
    return data.ftLastWriteTime;
}

std::string Keys(const Records& records) {
    std::string text;
    for (const auto& [key, value] : records) {
        text += key + "=" + value + "\n";
    }
    return text;
}

// From the welcome page to the summary page, keeping every proposal but the folder.
void WalkToSummary(const WizardWalk& walk, const std::string& destination) {
    WalkToDestination(walk, kRussian);
    walk.Control(WizardId("PathEdit")).Type(destination);
    walk.Press(WizardId("NextBtn"), kRussian.shortcuts);
    walk.Press(WizardId("NextBtn"), kRussian.group);
    walk.Press(WizardId("NextBtn"), kRussian.file_types);
    walk.Press(WizardId("NextBtn"), kRussian.summary);
}

// The whole wizard: installs and leaves the finish page without starting anything.
void Install(const std::wstring& distribution, const std::string& destination) {
    WizardWalk walk(distribution, ShotsFolder());
    WalkToSummary(walk, destination);
    walk.Press(WizardId("NextBtn"), kRussian.finish, kRunTimeout);
    walk.Shoot("finish");
    EXPECT_EQ(LeaveFinishPage(walk), 0u);
}

// The product's files as the single distribution's script places them.
struct Placed {
    const char* source;  // in the distribution
    std::string destination;
};

std::vector<Placed> SingleFiles(const Destination& dest) {
    std::vector<Placed> files;
    for (const char* app : {"zinkolar.exe", "zkmanager.exe", "phbook.exe", "zkdrv32.exe",
                            "scripted.exe", "logbook.exe", "zksched.exe", "zkuninst.exe"}) {
        files.push_back({app, dest / app});
    }
    files.push_back({"files\\zinkolar.hlp", dest / "zinkolar.hlp"});
    files.push_back({"files\\readme.txt", dest / "readme.txt"});
    files.push_back({"files\\whatsnew.txt", dest / "Doc\\whatsnew.txt"});
    files.push_back({"files\\zkdrv32.ini", dest / "service\\zkdrv32.ini"});
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    files.push_back({"znklrf32.dll", Utf8(system) + "\\znklrf32.dll"});
    files.push_back({"files\\zkfax.ppd", Utf8(system) + "\\spool\\drivers\\" +
                                             (sizeof(void*) == 8 ? "x64" : "w32x86") +
                                             "\\zkfax.ppd"});
    files.push_back({"files\\signature.txt", dest / "Data\\signature.txt"});
    files.push_back({"files\\cover.zkc", dest / "cover.zkc"});
    files.push_back({"read_2k.txt", dest / "read_2k.txt"});
    return files;
}

// A shortcut the run makes: its file and what lnkinfo must read in it.
struct Shortcut {
    std::string file;
    std::string target;
    std::string arguments;
};

std::vector<Shortcut> SingleShortcuts(const Destination& dest) {
    const std::string group = SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\Zinkolar 5.0\\";
    const std::string quick_launch =
        SpecialFolder(CSIDL_APPDATA) + "\\Microsoft\\Internet Explorer\\Quick Launch\\";
    std::vector<Shortcut> shortcuts = {
        {group + "Напишите нам.lnk", dest / "mailto.url", ""},
        {group + "Удаление Zinkolar.lnk", dest / "zkuninst.exe", ""},
        {group + "Официальный сайт поддержки.lnk", dest / "zinkolar.url", ""},
        {group + "Журнал.lnk", dest / "logbook.exe", ""},
        {group + "Телефонный справочник.lnk", dest / "phbook.exe", ""},
        {group + "Редактор сценариев.lnk", dest / "scripted.exe", ""},
        {group + "Менеджер сообщений.lnk", dest / "zkmanager.exe", ""},
        {group + "Расписание.lnk", dest / "zksched.exe", ""},
        {group + "Учебник.lnk", dest / "tutorial.url", ""},
        {group + "Zinkolar 5.0.lnk", dest / "zinkolar.exe", ""},
        {group + "Справка Zinkolar.lnk", dest / "zinkolar.hlp", ""},
        {group + "Прочти меня.lnk", dest / "readme.txt", ""},
        {group + "Что нового в Zinkolar 5.lnk", dest / "Doc\\whatsnew.txt", ""},
        {group + "Отправить факс.lnk", dest / "zkmanager.exe", "/send"},
        {SpecialFolder(CSIDL_SENDTO) + "\\Zinkolar.lnk", dest / "zinkolar.exe", "%1"},
        {SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\Zinkolar 5.0.lnk", dest / "zinkolar.exe",
         ""},
    };
    // A fresh Wine prefix has no Quick Launch folder, and the wizard then offers none.
    if (fs::is_directory(Wide(quick_launch))) {
        shortcuts.push_back({quick_launch + "Zinkolar 5.0.lnk", dest / "zinkolar.exe", ""});
    }
    return shortcuts;
}

// The file types of the voice edition, in the order of registration.
struct FileType {
    const char* extension;
    const char* type_key;
    const char* description;
    const char* program;
    bool takes_document;
};
constexpr FileType kFileTypes[] = {
    {".mix", "Zinkolar.MixFile", "Zinkolar Mixed Message File", "zkmanager.exe", true},
    {".bzk", "Zinkolar.PhoneBookFile", "Zinkolar Phone Book File", "phbook.exe", true},
    {".zka", "Zinkolar.ScriptFile", "Zinkolar Remote Control Script File", "scripted.exe", true},
    {".zlg", "Zinkolar.LogBookFile", "Zinkolar Log Book File", "logbook.exe", true},
    {".zks", "Zinkolar.SchedFile", "Zinkolar Delivery Schedule File", "zksched.exe", false},
    {".zkx", "Zinkolar.ImageFile", "Zinkolar Faсsimile Message File", "zkmanager.exe", true},
    {".zkc", "Zinkolar.CoverPageFile", "Zinkolar Cover Page File", "zkmanager.exe", true},
};

TEST(InstallationTest, SingleDistributionCheckedFromOutside) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    const std::string source = Utf8(distribution.Folder());
    Install(distribution.Folder(), dest.Path());

    // The files, with the distribution's content and times.
    const std::vector<Placed> files = SingleFiles(dest);
    for (const Placed& file : files) {
        SCOPED_TRACE(file.destination);
        const std::string from = source + "\\" + file.source;
        EXPECT_EQ(ReadBytes(Wide(file.destination)), ReadBytes(Wide(from)));
        const FILETIME installed = WriteTime(file.destination);
        const FILETIME shipped = WriteTime(from);
        EXPECT_EQ(CompareFileTime(&installed, &shipped), 0);
    }
    EXPECT_TRUE(fs::is_directory(Wide(dest / "OUT")));
    EXPECT_TRUE(fs::is_directory(Wide(dest / "Data\\Incoming")));
    EXPECT_TRUE(fs::is_directory(Wide(dest / "PhoneBooks")));
    EXPECT_FALSE(fs::exists(Wide(dest / "Backup"))) << "nothing was replaced";
    EXPECT_EQ(Lines(ReadAnsiFile(Wide(dest / "zinkolar.url"))),
              (Strings{"[InternetShortcut]", "URL=http://www.zinkolar.example"}));
    EXPECT_EQ(Lines(ReadAnsiFile(Wide(dest / "mailto.url"))),
              (Strings{"[InternetShortcut]", "URL=mailto:support@zinkolar.example"}));
    EXPECT_EQ(Lines(ReadAnsiFile(Wide(dest / "tutorial.url"))),
              (Strings{"[InternetShortcut]", "URL=http://www.zinkolar.example/tutorial"}));

    // install.ini, record by record.
    const std::string log = ReadAnsiFile(Wide(dest / "install.ini"));
    Strings sections;
    for (const auto& [name, records] : ProfileSections(log)) {
        sections.push_back(name);
    }
    EXPECT_EQ(sections, (Strings{"main", "folder", "file", "lregkey", "cregkey", "lregvalue"}));
    const Records main = ProfileSection(log, "main");
    ASSERT_EQ(main.size(), 3u) << Keys(main);
    EXPECT_EQ(main[0].first, "start");
    EXPECT_EQ(main[0].second.size(), std::string("14:03:27 06.12.2026").size()) << main[0].second;
    EXPECT_EQ(main[1], (std::pair<std::string, std::string>{"version", "Zinkolar 5.0"}));
    const std::string program_files = SpecialFolder(CSIDL_PROGRAM_FILES);
    EXPECT_EQ(main[2],
              (std::pair<std::string, std::string>{"rootfolder", program_files + "\\Zinkolar"}));
    const std::string group = SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\Zinkolar 5.0";
    const Records expected_folders = {
        {dest / "service", "1"},
        {dest / "PhoneBooks", "1"},
        {dest / "OUT", "1"},
        {dest / "Data", "1"},
        {dest / "Data\\Incoming", "1"},
        {dest / "Doc", "1"},
        {group, "1"},
    };
    EXPECT_EQ(ProfileSection(log, "folder"), expected_folders) << log;
    Records expected_files = {
        {dest / "zinkolar.url", "1"}, {dest / "mailto.url", "1"}, {dest / "tutorial.url", "1"}};
    for (const Placed& file : files) {
        expected_files.emplace_back(file.destination, "1");
    }
    const std::vector<Shortcut> shortcuts = SingleShortcuts(dest);
    for (const Shortcut& shortcut : shortcuts) {
        expected_files.emplace_back(shortcut.file, "1");
    }
    expected_files.emplace_back(dest / "zinkolar.ini", "1");
    EXPECT_EQ(Keys(ProfileSection(log, "file")), Keys(expected_files));
    const std::string uninstall_key =
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zinkolar 5.0";
    EXPECT_EQ(ProfileSection(log, "lregkey"), (Records{{uninstall_key, "1"}}));
    Records types, values;
    for (const FileType& type : kFileTypes) {
        types.emplace_back(type.extension, "1");
        types.emplace_back(type.type_key, "1");
        values.emplace_back(std::string(kExtensionsKey).substr(19) + "|" + type.extension, "1");
    }
    EXPECT_EQ(ProfileSection(log, "cregkey"), types);
    EXPECT_EQ(ProfileSection(log, "lregvalue"), values);

    // Every shortcut, read by lnkinfo.
    for (const Shortcut& shortcut : shortcuts) {
        SCOPED_TRACE(shortcut.file);
        if (!fs::exists(Wide(shortcut.file))) {
            ADD_FAILURE() << "no shortcut";
            continue;
        }
        const LinkFields link = ReadLink(Wide(shortcut.file));
        EXPECT_EQ(link.target, shortcut.target);
        EXPECT_EQ(link.arguments, shortcut.arguments);
        EXPECT_EQ(link.working_directory, dest.Path());
    }

    // The product's settings.
    const std::string settings = ReadAnsiFile(Wide(dest / "zinkolar.ini"));
    EXPECT_EQ(ProfileSection(settings, "History"),
              (Records{{"Title", "Zinkolar"}, {"ProductName", "Zinkolar"}, {"Version", "5.0"}}));
    EXPECT_EQ(ProfileSection(settings, "User"), (Records{{"Language", "Russian"}}));
    EXPECT_EQ(ProfileSection(settings, "Setup"), (Records{{"Instructions", "read_2k.txt"}}));
    EXPECT_EQ(ProfileSection(settings, "Send"), (Records{{"SendPath", dest / "OUT\\"}}));
    EXPECT_EQ(ProfileSection(settings, "Report"), (Records{{"Records", "1000"}}));

    // win.ini [Kelmo].
    wchar_t value[MAX_PATH] = {};
    GetProfileStringW(L"Kelmo", L"Path", L"", value, MAX_PATH);
    EXPECT_EQ(Utf8(value), dest.Path());
    GetProfileStringW(L"Kelmo", L"Version", L"", value, MAX_PATH);
    EXPECT_EQ(Utf8(value), "5.0");

    // The registry.
    using Values = std::map<std::string, std::string>;
    EXPECT_EQ(RegistryValues("HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelmo\\Zinkolar"),
              (Values{{"DataPath", dest.Path()}, {"Path", dest.Path()}}));
    EXPECT_EQ(RegistryValues("HKEY_LOCAL_MACHINE\\" + uninstall_key),
              (Values{{"DisplayName", "Zinkolar 5.0 (удаление/восстановление)"},
                      {"UninstallString", dest / "zkuninst.exe"},
                      {"DisplayIcon", dest / "zinkolar.exe,0"},
                      {"URLInfoAbout", "www.zinkolar.example"},
                      {"DisplayVersion", "5.0"},
                      {"Publisher", "Kelmo Association"},
                      {"HelpLink", "mailto:support@zinkolar.example"}}));
    EXPECT_EQ(RegistryValues("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                             "App Paths\\zinkolar.exe")["Zinkolar"],
              dest.Path());
    const Values extensions = RegistryValues(kExtensionsKey);
    for (const FileType& type : kFileTypes) {
        SCOPED_TRACE(type.extension);
        const std::string program = ShortPath(dest / type.program);
        EXPECT_EQ(RegistryValues(std::string("HKEY_CLASSES_ROOT\\") + type.extension),
                  (Values{{"", type.type_key}}));
        EXPECT_EQ(RegistryValues(std::string("HKEY_CLASSES_ROOT\\") + type.type_key),
                  (Values{{"", type.description}}));
        EXPECT_EQ(RegistryValues(std::string("HKEY_CLASSES_ROOT\\") + type.type_key +
                                 "\\shell\\open\\command"),
                  (Values{{"", program + (type.takes_document ? " \"%1\"" : "")}}));
        const auto entry = extensions.find(type.extension);
        ASSERT_NE(entry, extensions.end());
        EXPECT_EQ(entry->second, program + " ^" + type.extension);
    }
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
