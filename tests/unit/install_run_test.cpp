// The installation run on the fake platform: the order of its steps as the progress window, the
// product's libraries and the wizard see them, with the installation log's records each step
// leaves; the earlier installation's clean-up placed after the last point where the run can
// stop; and the ways the run stops early.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "install/installation_run.h"
#include "install/product_libraries.h"
#include "install/shared_files.h"
#include "platform/fake/fake_platform.h"
#include "script/copy_files_form.h"
#include "ui/exit_codes.h"
#include "ui/fake/headless_application.h"
#include "ui/fake/scripted_dialogs.h"

namespace {

using install::ProductBool;
using install::ProductInt;
using platform::RegistryRoot;
using Strings = std::vector<std::string>;

constexpr char kSource[] = "D:\\Setup";
constexpr char kDestination[] = "C:\\Program Files\\Kelmo\\Zinkolar";
constexpr char kLog[] = "C:\\Program Files\\Kelmo\\Zinkolar\\install.ini";
constexpr char kPrograms[] = "C:\\ProgramData\\Start Menu\\Programs";
constexpr char kSendTo[] = "C:\\Users\\u\\SendTo";
constexpr char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zinkolar 5.0";
constexpr char kOldLink[] = "C:\\ProgramData\\Start Menu\\Programs\\Old\\Zinkolar 4.lnk";
constexpr char kOldUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zinkolar 4.0";

constexpr char kScript[] =
    "[directory list]\r\n"
    "in=Data\\In\r\n"
    "[file list]\r\n"
    "zinkolar.exe=zinkolar.exe\r\n"
    "files\\readme.txt=readme.txt\r\n"
    "[common shortcut list]\r\n"
    "readme.txt=Readme\r\n";

// What the product's libraries were asked, for functions that cannot capture.
struct LibraryCalls {
    Strings* journal = nullptr;
    ProductInt running = 0;  // TestProcessExec's answer
    ProductBool printer_installed = 1;
};
LibraryCalls calls;

ProductInt PRODUCT_STDCALL TestProcessExec(ProductInt, const char*) {
    return calls.running;
}
void PRODUCT_STDCALL RemoveService(const char* name) {
    calls.journal->push_back(std::string("RemoveService ") + name);
}
void PRODUCT_STDCALL PrinterDelete(ProductInt code) {
    calls.journal->push_back("PrinterDelete " + std::to_string(code));
}
ProductBool PRODUCT_STDCALL PrinterInstall(void* host, ProductInt code, void* language_file) {
    calls.journal->push_back("PrinterInstall " + std::to_string(code) +
                             (host != nullptr ? " host" : "") +
                             (language_file != nullptr ? " language" : ""));
    return calls.printer_installed;
}

class InstallRunTest : public testing::Test {
  public:
    InstallRunTest() {
        calls = {&journal, 0, 1};
        fake.files.AddFile(std::string(kSource) + "\\setup.ini", kScript);
        fake.files.AddFile(std::string(kSource) + "\\zinkolar.exe", "MZ");
        fake.files.AddFile(std::string(kSource) + "\\files\\readme.txt", "Read me");
        for (const char* folder : {kPrograms, kSendTo})
            fake.files.AddDirectory(folder);
        auto& service = fake.libraries.Add(install::kServiceLibrary).functions;
        service[install::kTestProcessExec] = reinterpret_cast<void*>(&TestProcessExec);
        service[install::kRemoveService] = reinterpret_cast<void*>(&RemoveService);
        auto& printer = fake.libraries.Add(install::kPrinterLibrary).functions;
        printer[install::kPrinterDelete] = reinterpret_cast<void*>(&PrinterDelete);
        printer[install::kPrinterInstall] = reinterpret_cast<void*>(&PrinterInstall);
        language.BuildList("Russian");
        language.Select(language.BuiltInIndex());
        progress.Attach(fake.clock, app);

        plan.config = {.source_dir = kSource,
                       .product_name = "Zinkolar",
                       .version_number = "5.0",
                       .need_disk_space = 1000,
                       .install_path = "Kelmo\\Zinkolar",
                       .mail_to = "support@zinkolar.example",
                       .home_page = "www.zinkolar.example",
                       .language = "Russian",
                       .platform_code = 3,
                       .instructions_file = "read_2k.txt",
                       .script_file_name = "setup.ini",
                       .help_file = "zinkolar.hlp"};
        plan.folders = {.program_files_dir = "C:\\Program Files\\",
                        .programs_dir = kPrograms,
                        .send_to_dir = kSendTo,
                        .system_dir = "C:\\WINDOWS\\system32",
                        .printer_driver_dir = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86"};
        plan.destination = kDestination;
        plan.program_group = "Zinkolar";
        plan.desktop_shortcut = false;
        plan.quick_launch_shortcut = false;
        plan.language = "Russian";
        plan.file_types[static_cast<std::size_t>(install::FileType::PhoneBook)] = true;
    }

    // An earlier installation into the same folder: a shortcut and an uninstall entry it
    // recorded.
    void AddEarlierInstallation() {
        fake.files.AddDirectory(std::string(kOldLink).substr(0, std::string(kOldLink).rfind('\\')));
        ASSERT_TRUE(fake.shell.CreateLink({std::string(kDestination) + "\\zinkolar.exe", "", ""},
                                          kOldLink));
        fake.shell.links.clear();  // made before the run
        fake.registry.Set(RegistryRoot::LocalMachine, kOldUninstallKey, "DisplayName", "old");
        fake.files.AddFile(kLog, std::string("[file]\r\n") + kOldLink + "=1\r\n[lregkey]\r\n" +
                                     kOldUninstallKey + "=1\r\n");
    }
    void ExpectEarlierInstallationInPlace(bool kept) const {
        EXPECT_EQ(fake.files.FileExists(kOldLink), kept);
        EXPECT_EQ(fake.registry.KeyExists(RegistryRoot::LocalMachine, kOldUninstallKey), kept);
    }

    void Run() {
        const install::RunEnvironment environment{
            .platform = platform_,
            .language = language,
            .dialogs = dialogs,
            .application = app,
            .progress = progress,
            .windows = {.hide_wizard = [this] { Note("hide wizard"); },
                        .update_background = [] {},
                        .refresh = [this] { NoteStep(); },
                        .show_finish_page = [this] { Note("finish page"); }},
            .host = this,
        };
        install::RunInstallation(plan, environment);
    }

    // The log as "[section] key=value" lines in file order.
    Strings LogRecords() const {
        Strings records;
        std::string section;
        std::istringstream text(fake.codec.AnsiToUtf8(fake.files.Bytes(kLog).value_or("")));
        for (std::string line; std::getline(text, line);) {
            while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
                line.pop_back();
            if (line.starts_with('['))
                section = line;
            else if (!line.empty())
                records.push_back(section + " " + line);
        }
        return records;
    }

    // An event, followed by the log records that appeared since the previous event.
    void Note(const std::string& event) {
        const Strings records = LogRecords();
        for (const std::string& record : records) {
            if (!seen_.contains(record))
                journal.push_back("  " + record);
        }
        seen_.insert(records.begin(), records.end());
        journal.push_back(event);
    }
    // A refresh: the caption on show, when it changed.
    void NoteStep() {
        const ui::Form& form = progress.GetForm();
        const std::string caption = form[script::CopyFilesForm::kProgressBar].Visible()
                                        ? form[script::CopyFilesForm::kFileLine].Text()
                                        : form[script::CopyFilesForm::kStepText].Text();
        if (caption != last_caption_)
            Note("step " + caption);
        last_caption_ = caption;
    }
    Strings Events() const {
        Strings events;
        std::copy_if(journal.begin(), journal.end(), std::back_inserter(events),
                     [](const std::string& line) { return !line.starts_with(' '); });
        return events;
    }

    platform::FakePlatform fake;
    language::Language language{fake.files, fake.codec, kSource};
    ui::ScriptedDialogs dialogs;
    ui::HeadlessApplication app;
    script::CopyFilesForm progress;
    install::InstallationPlan plan;
    Strings journal;
    std::unique_ptr<platform::OpenFile> other_process;  // a handle another program holds

  private:
    platform::Platform platform_ = fake.Get();
    std::set<std::string> seen_;
    std::string last_caption_;
};

// A flat listing of what happened, for the failure message.
std::string Listing(const Strings& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

TEST_F(InstallRunTest, StepsInOrderWithTheRecordsEachLeaves) {
    Run();
    const std::string dest = kDestination;
    const std::string group = std::string(kPrograms) + "\\Zinkolar";
    const Strings expected = {
        "hide wizard",
        "  [main] start=14:03:27 06.12.2026",
        "  [main] version=Zinkolar 5.0",
        "  [main] rootfolder=C:\\Program Files\\Kelmo",
        "  [folder] " + dest + "\\Data\\In=1",
        "  [folder] " + dest + "\\Data=1",
        "step Завершение работы приложений Zinkolar...",
        "RemoveService ZkDrv32",
        "step Добавление информации в win.ini...",
        "step Подготовка к установке \"виртуального принтера\"...",
        "PrinterDelete 3",
        "  [file] " + dest + "\\zinkolar.url=1",
        "  [file] " + dest + "\\mailto.url=1",
        "step Копируется файл:",
        "  [file] " + dest + "\\zinkolar.exe=1",
        "  [file] " + dest + "\\readme.txt=1",
        "step Создание ярлыков...",
        "  [folder] " + group + "=1",
        "  [file] " + group + "\\Напишите нам.lnk=1",
        "  [file] " + group + "\\Удаление Zinkolar.lnk=1",
        "  [file] " + group + "\\Официальный сайт поддержки.lnk=1",
        "  [file] " + group + "\\Журнал.lnk=1",
        "  [file] " + group + "\\Телефонный справочник.lnk=1",
        "  [file] " + group + "\\Редактор сценариев.lnk=1",
        "  [file] " + group + "\\Менеджер сообщений.lnk=1",
        "  [file] " + group + "\\Расписание.lnk=1",
        "  [file] " + group + "\\Zinkolar 5.0.lnk=1",
        "  [file] " + group + "\\Справка Zinkolar.lnk=1",
        "  [file] " + group + "\\Readme.lnk=1",
        "  [file] " + std::string(kSendTo) + "\\Zinkolar.lnk=1",
        "step Добавление в реестр информации для деинсталляции...",
        "  [lregkey] " + std::string(kUninstallKey) + "=1",
        "step Регистрация расширений файлов...",
        // The settings file is written after the file types, with no step shown between.
        "  [file] " + dest + "\\zinkolar.ini=1",
        "  [cregkey] .bzk=1",
        "  [cregkey] Zinkolar.PhoneBookFile=1",
        "  [lregvalue] SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Extensions|.bzk=1",
        "step Установка \"виртуального принтера\"...",
        "PrinterInstall 3 host",
        "finish page",
    };
    EXPECT_EQ(journal, expected) << Listing(journal);
    EXPECT_TRUE(dialogs.Texts().empty()) << Listing(dialogs.Texts());
    EXPECT_FALSE(app.Terminating());
    EXPECT_FALSE(progress.GetForm().Visible());
    EXPECT_EQ(progress.GetForm().Caption(), "Копирование файлов");
    EXPECT_EQ(fake.files.Bytes(dest + "\\zinkolar.exe"), "MZ");
    EXPECT_EQ(fake.libraries.LoadedCount(), 0) << "a product library stays loaded";
    EXPECT_EQ(fake.shell.links_announced, fake.shell.links.size()) << "the desktop not told";
}

// The records the journal saw appear during the run, in no particular order.
std::set<std::string> JournalRecords(const Strings& journal) {
    std::set<std::string> records;
    for (const std::string& line : journal) {
        if (line.starts_with("  "))
            records.insert(line.substr(2));
    }
    return records;
}

// When the run has written its last record the log is written once more without the blank
// lines that kept a record's cost flat: a plain profile file with every record. When that fails,
// the log stays as it was, slack and all, and the run ends as on any failed log write.
TEST_F(InstallRunTest, TheLogEndsPlain) {
    Run();
    const std::string bytes = fake.files.Bytes(kLog).value_or("");
    EXPECT_EQ(bytes.find("\r\n\r\n"), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find(" \r\n"), std::string::npos) << bytes;
    EXPECT_TRUE(bytes.starts_with("[main]\r\n") && bytes.ends_with("=1\r\n")) << bytes;
    const Strings records = LogRecords();
    EXPECT_EQ(std::set<std::string>(records.begin(), records.end()), JournalRecords(journal));
    EXPECT_EQ(records.size(), JournalRecords(journal).size());
}

TEST_F(InstallRunTest, AFailedPlainLogKeepsTheLogWhole) {
    fake.files.failures.Add({platform::FakeOperation::Move, "install.ini"});
    Run();
    EXPECT_EQ(dialogs.Texts(), Strings{"Cannot write " + std::string(kLog) + ": error 5"});
    EXPECT_EQ(app.exit_code, ui::kExitFailed);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "finish page"), 0);
    const std::string bytes = fake.files.Bytes(kLog).value_or("");
    EXPECT_NE(bytes.find(std::string(100, ' ')), std::string::npos) << "its slack is gone";
    const Strings records = LogRecords();
    EXPECT_EQ(std::set<std::string>(records.begin(), records.end()), JournalRecords(journal));
    EXPECT_TRUE(fake.files.FindFiles(std::string(kDestination) + "\\~zk*")->empty());
}

// The log's sections keep the order in which the run first writes them.
TEST_F(InstallRunTest, LogSectionsInTheOrderTheUninstallerReads) {
    Run();
    Strings sections;
    for (const std::string& record : LogRecords()) {
        const std::string section = record.substr(0, record.find(' '));
        if (sections.empty() || sections.back() != section)
            sections.push_back(section);
    }
    EXPECT_EQ(sections,
              (Strings{"[main]", "[folder]", "[file]", "[lregkey]", "[cregkey]", "[lregvalue]"}));
}

TEST_F(InstallRunTest, ClientInstallationLeavesTheServiceAndNamesTheEdition) {
    plan.config.client_server = true;
    plan.config.edition_suffix = " Client";
    plan.server = false;
    Run();
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "RemoveService ZkDrv32"), 0);
    const Strings records = LogRecords();
    EXPECT_NE(std::find(records.begin(), records.end(), "[main] version=Zinkolar Client 5.0"),
              records.end());
}

// Where the run stops before installing, an earlier installation into the same folder keeps
// its shortcuts and registry entries; once the run goes on to install, they are removed.
struct StopCase {
    const char* name;
    void (*arrange)(InstallRunTest&);
    Strings events;  // what happened, log records left out
    bool earlier_kept;
};

class StopTest : public InstallRunTest, public testing::WithParamInterface<StopCase> {};

TEST_P(StopTest, EarlierInstallationKeptUnlessTheRunInstalls) {
    AddEarlierInstallation();
    GetParam().arrange(*this);
    Run();
    if (app.exit_code)
        Note("halted " + std::to_string(*app.exit_code));
    EXPECT_EQ(Events(), GetParam().events) << Listing(journal) << Listing(dialogs.Texts());
    ExpectEarlierInstallationInPlace(GetParam().earlier_kept);
}

const Strings kUpToPrinter = {
    "hide wizard",
    "step Завершение работы приложений Zinkolar...",
    "RemoveService ZkDrv32",
    "step Добавление информации в win.ini...",
    "step Подготовка к установке \"виртуального принтера\"...",
};

Strings Then(Strings events, std::initializer_list<const char*> more) {
    events.insert(events.end(), more.begin(), more.end());
    return events;
}

INSTANTIATE_TEST_SUITE_P(
    Table, StopTest,
    testing::Values(
        StopCase{"Installs", [](InstallRunTest&) {},
                 Then(kUpToPrinter,
                      {"PrinterDelete 3", "step Копируется файл:", "step Создание ярлыков...",
                       "step Добавление в реестр информации для деинсталляции...",
                       "step Регистрация расширений файлов...",
                       "step Установка \"виртуального принтера\"...", "PrinterInstall 3 host",
                       "finish page"}),
                 false},
        StopCase{"AbortWhileApplicationsRun",
                 [](InstallRunTest& t) {
                     calls.running = 1;
                     t.dialogs.Answer(ui::DialogButton::No);   // close them?
                     t.dialogs.Answer(ui::DialogButton::Yes);  // really abort?
                 },
                 {"hide wizard", "step Завершение работы приложений Zinkolar...", "halted 1602"},
                 true},
        StopCase{
            "NoPrinterSetupLibrary",
            [](InstallRunTest& t) { t.fake.libraries.RemoveLibrary(install::kPrinterLibrary); },
            Then(kUpToPrinter, {"halted 1"}), true},
        StopCase{"NoPrinterDelete",
                 [](InstallRunTest& t) {
                     t.fake.libraries.Add(install::kPrinterLibrary)
                         .functions.erase(install::kPrinterDelete);
                 },
                 Then(kUpToPrinter, {"halted 1"}), true},
        StopCase{
            "NoServiceLibrary",
            [](InstallRunTest& t) { t.fake.libraries.RemoveLibrary(install::kServiceLibrary); },
            {"hide wizard", "step Завершение работы приложений Zinkolar...", "halted 1"},
            true},
        StopCase{"PrinterRefused", [](InstallRunTest&) { calls.printer_installed = 0; },
                 Then(kUpToPrinter,
                      {"PrinterDelete 3", "step Копируется файл:", "step Создание ярлыков...",
                       "step Добавление в реестр информации для деинсталляции...",
                       "step Регистрация расширений файлов...",
                       "step Установка \"виртуального принтера\"...", "PrinterInstall 3 host",
                       "halted 1"}),
                 false}),
    [](const testing::TestParamInfo<StopCase>& info) { return std::string(info.param.name); });

TEST_F(InstallRunTest, WithoutThePrinterLibraryNothingIsCopied) {
    fake.libraries.RemoveLibrary(install::kPrinterLibrary);
    Run();
    EXPECT_EQ(dialogs.Texts(), (Strings{"Ошибка при загрузке zkprtstp.dll"}));
    // The toolkit's own dialog: its title is not the program's.
    EXPECT_EQ(dialogs.Shown().at(0).title, "Error");
    EXPECT_FALSE(fake.files.FileExists(std::string(kDestination) + "\\zinkolar.exe"));
    for (const std::string& record : LogRecords())
        EXPECT_FALSE(record.starts_with("[file]")) << record;
    EXPECT_EQ(fake.system.win_ini_writes.size(), 2U) << "the win.ini step runs before";
}

TEST_F(InstallRunTest, LogThatCannotBeOpenedEndsTheProgramBeforeAnythingElse) {
    fake.files.failures.Add({platform::FakeOperation::Open, "install.ini"});
    Run();
    EXPECT_EQ(dialogs.Texts(), (Strings{"Не создать файл: install.ini"}));
    EXPECT_EQ(Events(), (Strings{"hide wizard"}));
    EXPECT_EQ(app.exit_code, ui::kExitFailed);
    EXPECT_FALSE(app.show_main_window);
    // The progress window shows the first step under its title.
    EXPECT_EQ(progress.GetForm()[script::CopyFilesForm::kStepText].Text(), "Создание папок...");
    EXPECT_EQ(progress.GetForm().Caption(), "Копирование файлов");
    EXPECT_TRUE(fake.system.win_ini_writes.empty());
}

// An operation the run does not check fails: its text is shown and the program ends with a
// failure code instead of showing the finish page.
TEST_F(InstallRunTest, UncheckedFailureShowsItsTextAndEnds) {
    fake.registry.failures.Add({platform::FakeOperation::WriteValue, "Uninstall"});
    Run();
    ASSERT_EQ(dialogs.Shown().size(), 1U);
    EXPECT_NE(dialogs.Texts()[0].find("Uninstall"), std::string::npos) << dialogs.Texts()[0];
    EXPECT_EQ(dialogs.Shown()[0].kind, ui::DialogKind::Error);
    EXPECT_EQ(app.exit_code, ui::kExitFailed);
    const Strings events = Events();
    EXPECT_EQ(std::count(events.begin(), events.end(), "finish page"), 0);
    EXPECT_EQ(events.back(), "step Добавление в реестр информации для деинсталляции...");
}

// A record the log cannot take ends the run with its text, as other failures do; whatever the
// run made by then is in the log, or the account names the record where it stopped.
struct LogFailureCase {
    const char* name;
    void (*arrange)(InstallRunTest&);
};

class LogFailureTest : public InstallRunTest, public testing::WithParamInterface<LogFailureCase> {};

TEST_P(LogFailureTest, EndsTheRunAndLeavesNothingUnaccounted) {
    GetParam().arrange(*this);
    Run();
    ASSERT_EQ(dialogs.Shown().size(), 1U) << Listing(dialogs.Texts());
    const std::string text = dialogs.Texts()[0];
    EXPECT_NE(text.find(kLog), std::string::npos) << text;
    EXPECT_EQ(dialogs.Shown()[0].kind, ui::DialogKind::Error);
    EXPECT_EQ(app.exit_code, ui::kExitFailed);
    const Strings events = Events();
    EXPECT_EQ(std::count(events.begin(), events.end(), "finish page"), 0) << Listing(journal);
    // Every file the run made below its folder is recorded, or is the record it stopped at.
    const Strings records = LogRecords();
    for (const std::string& name : {"zinkolar.url", "mailto.url", "zinkolar.exe", "readme.txt"}) {
        const std::string path = std::string(kDestination) + "\\" + name;
        if (fake.files.FileExists(path) &&
            std::find(records.begin(), records.end(), "[file] " + path + "=1") == records.end()) {
            EXPECT_NE(text.find("[file] " + path + "=1"), std::string::npos) << text;
        }
    }
    const auto& lines = fake.trace.lines;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Run failed: " + text), lines.end());
}

template <std::int64_t kBytes>
void DiskFullAfter(InstallRunTest& t) {
    t.fake.files.failures.Add(
        {platform::FakeOperation::Write, "install.ini", platform::kErrorDiskFull, 0, kBytes});
}

// An earlier log whose start record is shorter than the new one: writing it rewrites the file.
void EarlierLog(InstallRunTest& t) {
    t.fake.files.AddFile(kLog, "[main]\r\nstart=x\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Table, LogFailureTest,
    testing::Values(
        // Disk full as the log grows, at its first record, among the folders,
        // the copied files and the shortcuts.
        LogFailureCase{"DiskFullAtTheHeader", DiskFullAfter<100>},
        LogFailureCase{"DiskFullAmongTheFolders", DiskFullAfter<5000>},
        LogFailureCase{"DiskFullAmongTheCopiedFiles", DiskFullAfter<12600>},
        LogFailureCase{"DiskFullAmongTheShortcuts", DiskFullAfter<13000>},
        LogFailureCase{"RenamedButNotReopened",
                       [](InstallRunTest& t) {
                           EarlierLog(t);
                           // The log itself, install.ini.new, then the log
                           // once more.
                           t.fake.files.failures.Add({platform::FakeOperation::Open, "install.ini",
                                                      platform::kErrorSharingViolation, 3});
                       }},
        LogFailureCase{"HeldOpenByAnotherProcess",
                       [](InstallRunTest& t) {
                           EarlierLog(t);
                           t.other_process = *t.fake.files.Open(kLog, platform::OpenMode::Read);
                       }},
        LogFailureCase{"RecordOutsideTheCodePage",
                       [](InstallRunTest& t) {
                           // The script names a file the log could only record
                           // as another one.
                           t.fake.files.AddFile(std::string(kSource) + "\\setup.ini",
                                                "\xEF\xBB\xBF[file list]\r\nzinkolar.exe="
                                                "zinkolar ü.exe\r\n");
                       }}),
    [](const testing::TestParamInfo<LogFailureCase>& info) {
        return std::string(info.param.name);
    });

// The system's folders in a user profile outside the code page: named by a short form the log
// can hold, or nothing is made there; every record names a file that is there.
struct ProfileCase {
    const char* name;
    std::string send_to;
    std::string alias;     // the short form the volume gives, as a folder of the fake
    std::string recorded;  // the SendTo link's record; empty: no link
};

class ProfileTest : public InstallRunTest, public testing::WithParamInterface<ProfileCase> {};

TEST_P(ProfileTest, SystemFoldersAreRecordedAsTheFolderMade) {
    const ProfileCase& c = GetParam();
    fake.files.AddDirectory(c.send_to);
    if (!c.alias.empty())
        fake.files.AddDirectory(c.alias);
    plan.folders.send_to_dir = c.send_to;
    Run();
    EXPECT_TRUE(dialogs.Texts().empty()) << Listing(dialogs.Texts());
    Strings links;
    for (const std::string& record : LogRecords()) {
        if (!record.starts_with("[file] ") || !record.ends_with("=1"))
            continue;
        const std::string path = record.substr(7, record.size() - 9);
        EXPECT_TRUE(fake.files.FileExists(path)) << path;
        if (path.ends_with("\\Zinkolar.lnk"))
            links.push_back(path);
    }
    EXPECT_EQ(links, c.recorded.empty() ? Strings{} : Strings{c.recorded});
    if (c.recorded.empty()) {
        const auto& lines = fake.trace.lines;
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.starts_with("Nothing made in " + c.send_to);
        }));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileTest,
    testing::Values(ProfileCase{"InTheCodePage", "C:\\Users\\Иван\\SendTo", "",
                                "C:\\Users\\Иван\\SendTo\\Zinkolar.lnk"},
                    ProfileCase{"ShortFormInTheCodePage", "C:\\Users\\Zinkolar ü\\SendTo",
                                "C:\\Users\\ZINKOL~1\\SendTo",
                                "C:\\Users\\ZINKOL~1\\SendTo\\Zinkolar.lnk"},
                    ProfileCase{"NoShortForm", "C:\\Users\\ü\\SendTo", "", ""}),
    [](const testing::TestParamInfo<ProfileCase>& info) { return std::string(info.param.name); });

// An unreadable settings file or script is not an empty one: the run ends with its name and
// writes nothing over it.
struct UnreadableCase {
    const char* name;
    const char* file;
};

class UnreadableTest : public InstallRunTest, public testing::WithParamInterface<UnreadableCase> {};

TEST_P(UnreadableTest, EndsTheRunAndKeepsTheFile) {
    const std::string path = GetParam().file;
    if (!fake.files.FileExists(path))
        fake.files.AddFile(path, "[User]\r\nName=Иван\r\n");
    const std::string before = *fake.files.Bytes(path);
    fake.files.failures.Add({platform::FakeOperation::Read, path});
    Run();
    ASSERT_EQ(dialogs.Texts(), Strings{"Cannot read " + path});
    EXPECT_EQ(app.exit_code, ui::kExitFailed);
    EXPECT_EQ(fake.files.Bytes(path), before);
    EXPECT_FALSE(fake.files.FileExists(std::string(kDestination) + "\\zinkolar.ini.new"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnreadableTest,
    testing::Values(UnreadableCase{"Settings", "C:\\Program Files\\Kelmo\\Zinkolar\\zinkolar.ini"},
                    UnreadableCase{"Script", "D:\\Setup\\setup.ini"}),
    [](const testing::TestParamInfo<UnreadableCase>& info) {
        return std::string(info.param.name);
    });

// Files the run puts in the system and printer-driver folders are counted in SharedDLLs once
// per installation: a second run into the same folder does not count them again, an
// installation into another folder does; a file that could not be copied is not counted.
TEST_F(InstallRunTest, SharedFilesCountedOncePerInstallation) {
    const std::string system = plan.folders.system_dir;
    const std::string drivers = plan.folders.printer_driver_dir;
    fake.files.AddFile(std::string(kSource) + "\\setup.ini",
                       std::string(kScript) +
                           "[WinNT]\r\nshared.dll=$\\shared.dll\r\nfax.ppd=%\\fax.ppd\r\n"
                           "[Win2K]\r\nshared.dll=$\\shared.dll\r\nfax.ppd=%\\fax.ppd\r\n"
                           "gone.dll=$\\gone.dll\r\n");
    for (const char* name : {"shared.dll", "fax.ppd"})
        fake.files.AddFile(std::string(kSource) + "\\" + name, "shared");
    fake.files.AddDirectory(system);
    fake.files.AddDirectory(drivers);
    const auto counts = [&] {
        Strings found;
        for (const std::string& file :
             {system + "\\shared.dll", drivers + "\\fax.ppd", system + "\\gone.dll",
              std::string(kDestination) + "\\zinkolar.exe"}) {
            const auto count =
                fake.registry.ReadDword(RegistryRoot::LocalMachine, install::kSharedDllsKey, file);
            found.push_back(count ? std::to_string(*count) : "-");
        }
        return found;
    };
    dialogs.Answer(ui::DialogButton::Ok);  // gone.dll could not be copied
    Run();
    EXPECT_EQ(counts(), (Strings{"1", "1", "-", "-"})) << Listing(journal);
    dialogs.Answer(ui::DialogButton::Ok);
    Run();
    EXPECT_EQ(counts(), (Strings{"1", "1", "-", "-"}));
    plan.destination = std::string(kDestination) + " 2";
    dialogs.Answer(ui::DialogButton::Ok);
    Run();
    EXPECT_EQ(counts(), (Strings{"2", "2", "-", "-"}));
}

// The shared files' count is what the uninstaller relies on: one that cannot be written ends
// the run like any registry value that cannot be.
TEST_F(InstallRunTest, SharedFileThatCannotBeCountedEndsTheRun) {
    fake.files.AddFile(std::string(kSource) + "\\setup.ini",
                       std::string(kScript) + "[Win2K]\r\nshared.dll=$\\shared.dll\r\n");
    fake.files.AddFile(std::string(kSource) + "\\shared.dll", "shared");
    fake.files.AddDirectory(plan.folders.system_dir);
    fake.registry.failures.Add({platform::FakeOperation::WriteValue, "SharedDLLs"});
    Run();
    ASSERT_EQ(dialogs.Texts().size(), 1U);
    EXPECT_NE(dialogs.Texts()[0].find("shared.dll"), std::string::npos) << dialogs.Texts()[0];
    EXPECT_EQ(app.exit_code, ui::kExitFailed);
}

}  // namespace
