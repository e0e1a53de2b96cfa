#pragma once
// A whole installation of the single sample distribution and what it must leave on the machine,
// read from outside the program: shared by the wizard's installations and the unattended ones.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "driver/strings.h"
#include "driver/wizard.h"
#include "driver/wizard_walk.h"
#include "installed_machine.h"
#include "wizard_pages.h"

namespace e2e {

using Strings = std::vector<std::string>;

inline constexpr char kExtensionsKey[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Extensions";

// The installation folder of one test, empty at its start and removed at its end, with the
// traces that would make a later run propose it (App Paths) or take it for an earlier
// version's folder (win.ini [Kelmo]).
class Destination {
  public:
    Destination() : path_("C:\\ZkE2E\\" + TestName()) { Remove(); }
    // A folder of the caller's choosing, for an installation into a fixed place.
    explicit Destination(std::string path) : path_(std::move(path)) { Remove(); }
    ~Destination() { Remove(); }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

  private:
    void Remove() const {
        std::error_code ignored;
        std::filesystem::remove_all(Wide(path_), ignored);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                       L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zinkolar.exe");
        WriteProfileStringW(L"Kelmo", nullptr, nullptr);
    }
    static std::string TestName() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        // A parameterised test's name holds "/", which no folder name may.
        std::string name = std::string(test->test_suite_name()) + "." + test->name();
        std::replace(name.begin(), name.end(), '/', '_');
        return name;
    }
    std::string path_;
};

inline std::string SpecialFolder(int id) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path);
    return Utf8(path);
}

inline std::string ShortPath(const std::string& path) {
    wchar_t buffer[MAX_PATH] = {};
    GetShortPathNameW(Wide(path).c_str(), buffer, MAX_PATH);
    return Utf8(buffer);
}

// A number value as RegistryValues reads it.
inline std::string DwordText(std::uintmax_t number) {
    char text[24];
    std::snprintf(text, sizeof text, "dword:%08jx", number);
    return text;
}

inline FILETIME WriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) {
        ADD_FAILURE() << "no file " << path;
    }
    return data.ftLastWriteTime;
}

inline std::string Keys(const Records& records) {
    std::string text;
    for (const auto& [key, value] : records) {
        text += key + "=" + value + "\n";
    }
    return text;
}

// From the welcome page to the summary page, keeping every proposal but the folder.
inline void WalkToSummary(const WizardWalk& walk, const std::string& destination) {
    WalkToDestination(walk, kRussian);
    walk.Control(WizardId(kPathField)).Type(destination);
    walk.Press(WizardId(kNextButton), kRussian.shortcuts);
    walk.Press(WizardId(kNextButton), kRussian.group);
    walk.Press(WizardId(kNextButton), kRussian.file_types);
    walk.Press(WizardId(kNextButton), kRussian.summary);
}

// The whole wizard: installs and leaves the finish page without starting anything.
inline void Install(const std::wstring& distribution, const std::string& destination) {
    WizardWalk walk(distribution, ShotsFolder());
    WalkToSummary(walk, destination);
    walk.Press(WizardId(kNextButton), kRussian.finish, kRunTimeout);
    walk.Shoot("finish");
    EXPECT_EQ(LeaveFinishPage(walk), 0u);
}

// The product's files as the single distribution's script places them.
struct Placed {
    const char* source;  // in the distribution
    std::string destination;
};

inline std::vector<Placed> SingleFiles(const Destination& dest) {
    std::vector<Placed> files;
    for (const char* app : {"zinkolar.exe", "zkmanager.exe", "phbook.exe", "zkdrv32.exe",
                            "scripted.exe", "logbook.exe", "zksched.exe", "zkuninst.exe"}) {
        files.push_back({app, dest / app});
    }
    // The uninstaller speaks the installation's language.
    files.push_back({"English.lng", dest / "English.lng"});
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

inline std::vector<Shortcut> SingleShortcuts(const Destination& dest) {
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
    if (std::filesystem::is_directory(Wide(quick_launch))) {
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

// Everything the single distribution's installation into `dest` leaves, the files compared with
// those of the distribution folder `source`.
inline void ExpectSingleInstallation(const std::string& source, const Destination& dest) {
    // The files, with the distribution's content and times.
    const std::vector<Placed> files = SingleFiles(dest);
    std::uintmax_t installed_bytes = 0;
    for (const Placed& file : files) {
        SCOPED_TRACE(file.destination);
        const std::string from = source + "\\" + file.source;
        installed_bytes += ReadBytes(Wide(from)).size();
        EXPECT_EQ(ReadBytes(Wide(file.destination)), ReadBytes(Wide(from)));
        const FILETIME installed = WriteTime(file.destination);
        const FILETIME shipped = WriteTime(from);
        EXPECT_EQ(CompareFileTime(&installed, &shipped), 0);
    }
    EXPECT_TRUE(std::filesystem::is_directory(Wide(dest / "OUT")));
    EXPECT_TRUE(std::filesystem::is_directory(Wide(dest / "Data\\Incoming")));
    EXPECT_TRUE(std::filesystem::is_directory(Wide(dest / "PhoneBooks")));
    EXPECT_FALSE(std::filesystem::exists(Wide(dest / "Backup"))) << "nothing was replaced";
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
        if (!std::filesystem::exists(Wide(shortcut.file))) {
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
                      {"QuietUninstallString", dest / "zkuninst.exe /VERYSILENT /SUPPRESSMSGBOXES"},
                      {"DisplayIcon", dest / "zinkolar.exe,0"},
                      {"URLInfoAbout", "www.zinkolar.example"},
                      {"DisplayVersion", "5.0"},
                      {"Publisher", "Kelmo Association"},
                      {"HelpLink", "mailto:support@zinkolar.example"},
                      {"InstallLocation", dest.Path()},
                      {"EstimatedSize", DwordText((installed_bytes + 1023) / 1024)},
                      {"NoModify", "dword:00000001"},
                      {"NoRepair", "dword:00000001"}}));
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

}  // namespace e2e
