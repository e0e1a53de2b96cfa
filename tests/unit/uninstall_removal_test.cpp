// The uninstaller's reading of the log: which records become which operations, in which order,
// which are refused, and what a failing machine leaves.
#include "uninstall_fixture.h"

namespace uninstall_test {
namespace {

using uninstall::LeftItem;
using uninstall::Refusal;

// Commands name the programs by their short paths.
constexpr char kProgram[] = "C:\\PROGRA~1\\Kelmo\\Zinkolar\\ZKMANA~1.EXE";
constexpr char kExtensions[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Extensions";
constexpr char kAppPaths[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zinkolar.exe";

// The sample installation: folders, files, shortcuts, a backup, shared files, registry.
class SampleInstallation : public UninstallTest {
  protected:
    SampleInstallation() {
        for (const char* folder : {"service", "Data", "Data\\Incoming"})
            Record("folder", In(folder));
        Record("folder", std::string(kPrograms) + "\\Zinkolar");
        Record("file", In("zinkolar.url"));
        Record("file", In("zinkolar.exe"));
        Record("file", In("zkuninst.exe"));
        Record("file", In("service\\zkdrv32.exe"));
        Record("file", std::string(kSystem) + "\\znklrf32.dll");
        Record("file", In("Backup\\00001\\cover.zkc"));
        Record("file", In("cover.zkc"));
        const std::string link = std::string(kPrograms) + "\\Zinkolar\\Zinkolar 5.0.lnk";
        fake.files.AddDirectory(std::string(kPrograms) + "\\Zinkolar");
        EXPECT_TRUE(fake.shell.CreateLink({In("zinkolar.exe"), "", kFolder}, link));
        Record("file", link);
        Record("file", In("zinkolar.ini"));
        Record("lregkey", kEntry);
        Record("cregkey", ".zkx");
        Record("cregkey", "Zinkolar.ImageFile");
        Record("lregvalue", std::string(kExtensions) + "|.zkx");
        auto& registry = fake.registry;
        registry.Set(RegistryRoot::LocalMachine, kEntry, "UninstallString", In("zkuninst.exe"));
        registry.Set(RegistryRoot::ClassesRoot, ".zkx", "", "Zinkolar.ImageFile");
        registry.Set(RegistryRoot::ClassesRoot, "Zinkolar.ImageFile\\shell\\open\\command", "",
                     std::string(kProgram) + " \"%1\"");
        registry.Set(RegistryRoot::LocalMachine, kExtensions, ".zkx",
                     std::string(kProgram) + " ^.zkx");
        registry.Set(RegistryRoot::LocalMachine, "SOFTWARE\\Kelmo\\Zinkolar", "Path", kFolder);
        registry.Set(RegistryRoot::LocalMachine, kAppPaths, "Zinkolar", kFolder);
        registry.Set(RegistryRoot::LocalMachine, "Software\\Microsoft\\Office\\8.0\\Word\\Zinkolar",
                     "Flags", "8192");
        fake.system.SetWinIni("Kelmo", "Path", kFolder);
        fake.system.SetWinIni("Kelmo", "Version", "5.0");
        CountShared(std::string(kSystem) + "\\znklrf32.dll", 2);
    }
};

TEST_F(SampleInstallation, RecordsBecomeOperationsInTheirStepsOrder) {
    const auto plan = Plan();
    const std::vector<std::string> expected = {
        "remove service ZkDrv32",
        "delete file " + In("zinkolar.url"),
        "delete file C:\\Menu\\Programs\\Zinkolar\\Zinkolar 5.0.lnk",
        "restore " + In("cover.zkc") + " from " + In("Backup\\00001\\cover.zkc"),
        "delete file " + In("zinkolar.exe"),
        "delete file " + In("service\\zkdrv32.exe"),
        "release shared file C:\\WINDOWS\\system32\\znklrf32.dll",
        "delete key HKLM\\" + std::string(kEntry),
        "delete key HKCR\\.zkx",
        "delete key HKCR\\Zinkolar.ImageFile",
        "delete value HKLM\\" + std::string(kExtensions) + "|.zkx",
        "delete win.ini [Kelmo] Path",
        "delete win.ini [Kelmo] Version",
        "delete key HKLM\\SOFTWARE\\Kelmo\\Zinkolar",
        "delete value HKLM\\" + std::string(kAppPaths) + "|Zinkolar",
        "delete value HKLM\\Software\\Microsoft\\Office\\8.0\\Word\\Zinkolar|Flags",
        // Deepest first.
        "remove folder " + In("Backup\\00001"),
        "remove folder " + In("Data\\Incoming"),
        "remove folder " + In("Backup"),
        "remove folder " + In("Data"),
        "remove folder " + In("service"),
        "remove folder C:\\Menu\\Programs\\Zinkolar",
        "delete file " + In("install.ini"),
        "delete file " + In("zinkolar.ini"),
        "delete file " + In("zkuninst.exe"),
        "remove folder " + std::string(kFolder),
        "remove folder C:\\Program Files\\Kelmo",
    };
    EXPECT_EQ(Described(plan), expected);
    EXPECT_TRUE(plan.refused.empty());
    EXPECT_EQ(services_removed, 0);  // planning changes nothing
}

TEST_F(SampleInstallation, RemovesEverythingButTheUsersFileAndItsFolders) {
    fake.files.AddFile(In("Data\\phones.zkb"), "the user's");
    fake.files.AddFile(In("cover.zkc"), "installed");
    fake.files.AddFile(In("Backup\\00001\\cover.zkc"), "the user's cover");
    const auto outcome = Remove();

    EXPECT_FALSE(outcome.Incomplete());
    EXPECT_EQ(fake.files.Bytes(In("Data\\phones.zkb")), "the user's");
    EXPECT_EQ(fake.files.Bytes(In("cover.zkc")), "the user's cover");
    for (const char* gone : {"zinkolar.exe", "install.ini", "zinkolar.ini", "zkuninst.exe",
                             "Backup\\00001\\cover.zkc", "Data\\Incoming", "service", "Backup"}) {
        EXPECT_FALSE(fake.files.FileExists(In(gone)) || fake.files.DirectoryExists(In(gone)))
            << gone;
    }
    EXPECT_TRUE(fake.files.FileExists(std::string(kSystem) + "\\znklrf32.dll"));
    EXPECT_FALSE(fake.files.DirectoryExists(std::string(kPrograms) + "\\Zinkolar"));
    // The folders that stay are named where they hold the user's files (the put-back cover
    // among them), not where they only hold such a folder.
    std::vector<std::string> left;
    for (const LeftItem& item : outcome.left)
        left.push_back(item.what);
    EXPECT_EQ(left, (std::vector<std::string>{std::string(kSystem) + "\\znklrf32.dll", kFolder,
                                              In("Data")}));
    EXPECT_EQ(outcome.left[0].kind, LeftItem::Kind::Shared);
    EXPECT_EQ(outcome.left[2].kind, LeftItem::Kind::UserContent);
    EXPECT_FALSE(fake.registry.KeyExists(RegistryRoot::LocalMachine, "SOFTWARE\\Kelmo"));
    EXPECT_EQ(services_removed, 1);
    EXPECT_TRUE(fake.files.DirectoryExists(kFolder));

    const auto& registry = fake.registry;
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, kEntry));
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::ClassesRoot, ".zkx"));
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::ClassesRoot, "Zinkolar.ImageFile"));
    // The keys the values leave empty go up to the shared ones; the others stay.
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, "SOFTWARE\\Kelmo"));
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, kAppPaths));
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, kExtensions));
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, "Software\\Microsoft\\Office"));
    EXPECT_TRUE(registry.KeyExists(RegistryRoot::LocalMachine,
                                   "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"));
    EXPECT_TRUE(fake.system.ReadWinIni("Kelmo", "Path").empty());
}

TEST_F(SampleInstallation, ASharedFileGoesWhenItsCountReachesZero) {
    CountShared(std::string(kSystem) + "\\znklrf32.dll", 1);
    const auto outcome = Remove();
    EXPECT_FALSE(fake.files.FileExists(std::string(kSystem) + "\\znklrf32.dll"));
    EXPECT_TRUE(std::ranges::none_of(
        outcome.left, [](const LeftItem& item) { return item.kind == LeftItem::Kind::Shared; }));
}

// Files the run counts, in the system and printer-driver folders or below them, are released;
// the printer-driver folder is asked for only when a record lies outside the installation and
// system folders, and once.
struct SharedCase {
    const char* name;
    std::vector<std::string> records;
    bool released;
    int lookups;
};

class SharedFolders : public UninstallTest, public ::testing::WithParamInterface<SharedCase> {};

TEST_P(SharedFolders, AreTheFoldersTheRunCounts) {
    const SharedCase& c = GetParam();
    folders.printer_driver_dir.clear();
    int lookups = 0;
    for (const std::string& file : c.records) {
        Record("file", file);
        CountShared(file, 1);
    }
    Record("file", In("zinkolar.exe"));
    const auto profile = platform::Profile::Parse(LogText());
    installation = uninstall::ReadInstallation(platform, kFolder, profile, folders);
    installation.find_printer_driver_dir = [&lookups] {
        ++lookups;
        return std::string("D:\\Spool\\Drivers");  // a spooler that keeps them elsewhere
    };
    const auto plan = uninstall::PlanRemoval(profile, installation, platform);
    for (const std::string& file : c.records) {
        const bool released = std::ranges::any_of(plan.operations, [&](const auto& operation) {
            return operation.action == uninstall::Action::ReleaseSharedFile &&
                   operation.path == file;
        });
        EXPECT_EQ(released, c.released) << file;
    }
    EXPECT_EQ(plan.refused.empty(), c.released);
    EXPECT_EQ(lookups, c.lookups);
}

const std::string kDrivers = std::string(kSystem) + "\\spool\\drivers\\x64";
INSTANTIATE_TEST_SUITE_P(
    UninstallTest, SharedFolders,
    ::testing::Values(
        SharedCase{"NoneOutside", {}, true, 0},
        SharedCase{"System", {std::string(kSystem) + "\\znklrf32.dll"}, true, 0},
        SharedCase{"BelowSystem", {std::string(kSystem) + "\\Kelmo\\zkfax.dll"}, true, 0},
        SharedCase{"PrinterDriversBelowSystem", {kDrivers + "\\zkfax.ppd"}, true, 0},
        SharedCase{"PrinterDriversElsewhere", {"D:\\Spool\\Drivers\\zkfax.ppd"}, true, 1},
        SharedCase{"ElsewhereTwice", {"D:\\Drivers\\a.ppd", "D:\\Drivers\\b.ppd"}, false, 1},
        SharedCase{"Windows", {"C:\\WINDOWS\\zkfax.ini"}, false, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// Items the run writes without records stay when a later installation elsewhere took them.
TEST_F(SampleInstallation, ItemsNamingAnotherFolderStay) {
    const std::string elsewhere = "D:\\Fax";
    fake.system.SetWinIni("Kelmo", "Path", elsewhere);
    fake.registry.Set(RegistryRoot::LocalMachine, "SOFTWARE\\Kelmo\\Zinkolar", "Path", elsewhere);
    fake.registry.Set(RegistryRoot::LocalMachine, kAppPaths, "Zinkolar", elsewhere);
    fake.registry.Set(RegistryRoot::LocalMachine, kEntry, "UninstallString",
                      elsewhere + "\\zkuninst.exe");
    fake.registry.Set(RegistryRoot::ClassesRoot, "Zinkolar.ImageFile\\shell\\open\\command", "",
                      elsewhere + "\\zkmanager.exe \"%1\"");
    fake.registry.Set(RegistryRoot::LocalMachine, kExtensions, ".zkx", "D:\\Fax\\x.exe ^.zkx");
    Remove();
    EXPECT_EQ(fake.system.ReadWinIni("Kelmo", "Path"), elsewhere);
    EXPECT_EQ(fake.system.ReadWinIni("Kelmo", "Version"), "5.0");
    const auto& registry = fake.registry;
    EXPECT_TRUE(registry.Has(RegistryRoot::LocalMachine, "SOFTWARE\\Kelmo\\Zinkolar", "Path"));
    EXPECT_TRUE(registry.Has(RegistryRoot::LocalMachine, kAppPaths, "Zinkolar"));
    EXPECT_TRUE(registry.Has(RegistryRoot::LocalMachine,
                             "Software\\Microsoft\\Office\\8.0\\Word\\Zinkolar", "Flags"));
    EXPECT_TRUE(registry.KeyExists(RegistryRoot::LocalMachine, kEntry));
    EXPECT_TRUE(registry.KeyExists(RegistryRoot::ClassesRoot, ".zkx"));
    EXPECT_TRUE(registry.KeyExists(RegistryRoot::ClassesRoot, "Zinkolar.ImageFile"));
    EXPECT_TRUE(registry.Has(RegistryRoot::LocalMachine, kExtensions, ".zkx"));
}

// The virtual printer goes through the printer library's delete call, with the platform code of
// the service library, where the installation put that library in the system folder.
int printer_deleted_with = 0;
void PRODUCT_STDCALL FakePrinterDelete(install::ProductInt platform_code) {
    printer_deleted_with = platform_code;
}
install::ProductInt PRODUCT_STDCALL FakeGetVer() {
    return 3;
}

struct PrinterCase {
    const char* name;
    bool recorded;         // the printer library is a shared file of the log
    bool exports;          // it exports its delete call
    int deleted_with;      // the platform code of the call; 0 when not called
    std::string not_done;  // the failure listed, if any
};

class PrinterRemoval : public SampleInstallation,
                       public ::testing::WithParamInterface<PrinterCase> {};

TEST_P(PrinterRemoval, GoesThroughTheProductsLibrary) {
    const PrinterCase& c = GetParam();
    printer_deleted_with = 0;
    fake.libraries.Add(install::kServiceLibrary).functions[install::kGetVer] =
        reinterpret_cast<void*>(&FakeGetVer);
    auto& printer = fake.libraries.Add(install::kPrinterLibrary).functions;
    if (c.exports)
        printer[install::kPrinterDelete] = reinterpret_cast<void*>(&FakePrinterDelete);
    const std::string library = std::string(kSystem) + "\\" + install::kPrinterLibrary;
    if (c.recorded) {
        Record("file", library);
        CountShared(library, 1);
    }
    const auto outcome = Remove();

    EXPECT_EQ(printer_deleted_with, c.deleted_with);
    EXPECT_EQ(services_removed, 1);
    std::vector<std::string> failed;
    for (const LeftItem& item : outcome.left)
        if (item.kind == LeftItem::Kind::Failed)
            failed.push_back(item.what + ": " + item.why);
    EXPECT_EQ(failed, c.not_done.empty() ? std::vector<std::string>{}
                                         : std::vector<std::string>{c.not_done});
    EXPECT_FALSE(fake.files.FileExists(library)) << "its file goes all the same";
}

INSTANTIATE_TEST_SUITE_P(Uninstall, PrinterRemoval,
                         ::testing::Values(PrinterCase{"Deleted", true, true, 3, ""},
                                           PrinterCase{"NotInTheInstallation", false, true, 0, ""},
                                           PrinterCase{"WithoutTheDeleteCall", true, false, 0,
                                                       "zkprtstp.dll: PrinterDelete missing"}),
                         [](const auto& info) { return info.param.name; });

struct RefusedCase {
    const char* name;
    std::string section;
    std::string record;
    const char* flag;
    std::string reason;
    Refusal::Kind kind;
};

class RefusedRecords : public UninstallTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedRecords, AreListedAndTheirItemStays) {
    const RefusedCase& c = GetParam();
    const std::string path = c.record.substr(0, c.record.find('|'));
    if (c.section == "file" || c.section == "folder") {
        if (path.size() > 2 && path[1] == ':')
            fake.files.AddFile(path + (c.section == "folder" ? "\\keep.txt" : ""), "kept");
    } else {
        fake.registry.Set(
            c.section == "cregkey" ? RegistryRoot::ClassesRoot : RegistryRoot::LocalMachine, path,
            c.section == "lregvalue" ? c.record.substr(path.size() + 1) : "Probe", "x");
    }
    Record(c.section, c.record, c.flag);
    const auto plan = Plan();

    ASSERT_EQ(plan.refused.size(), 1u);
    EXPECT_EQ(plan.refused[0], (Refusal{"[" + c.section + "] " + c.record, c.reason, c.kind}));
    for (const uninstall::Operation& operation : plan.operations)
        EXPECT_FALSE(platform::EqualsIgnoreCase(operation.path, path)) << Describe(operation);
    const auto outcome = Remove();
    EXPECT_EQ(outcome.Incomplete(), c.kind == Refusal::Kind::Unsound);
}

const std::string kOutside = "outside the installation folder";
const std::string kNotPlain = "not a plain full path";

INSTANTIATE_TEST_SUITE_P(
    Uninstall, RefusedRecords,
    ::testing::Values(
        RefusedCase{"FileOutside", "file", "C:\\WINDOWS\\win.ini", "1", kOutside,
                    Refusal::Kind::Unsound},
        RefusedCase{"FileInASiblingFolder", "file", "C:\\Program Files\\Kelmo\\Zinkolar2\\a.exe",
                    "1", kOutside, Refusal::Kind::Unsound},
        RefusedCase{"FileOnAShare", "file", "\\\\server\\share\\a.exe", "1", kOutside,
                    Refusal::Kind::Unsound},
        RefusedCase{"FileThroughParent", "file", In("..\\..\\Other\\a.exe"), "1", kNotPlain,
                    Refusal::Kind::Unsound},
        RefusedCase{"FileThroughDot", "file", In(".\\a.exe"), "1", kNotPlain,
                    Refusal::Kind::Unsound},
        RefusedCase{"RelativeFile", "file", "Zinkolar\\a.exe", "1", kNotPlain,
                    Refusal::Kind::Unsound},
        RefusedCase{"ForwardSlash", "file", In("a/../../x.exe"), "1", kNotPlain,
                    Refusal::Kind::Unsound},
        RefusedCase{"TrailingDot", "file", In("a.exe."), "1", kNotPlain, Refusal::Kind::Unsound},
        RefusedCase{"Stream", "file", In("a.exe:stream"), "1", kNotPlain, Refusal::Kind::Unsound},
        RefusedCase{"NotMade", "file", In("a.exe"), "0", "never made (flag \"0\")",
                    Refusal::Kind::NotMade},
        RefusedCase{"AnotherProductsLink", "file", "C:\\Users\\Public\\Desktop\\Other.lnk", "1",
                    "not a readable shortcut", Refusal::Kind::Unsound},
        RefusedCase{"LinkInAnotherFolder", "file", "C:\\WINDOWS\\Other.lnk", "1",
                    "not in a folder the installer makes shortcuts in", Refusal::Kind::Unsound},
        RefusedCase{"InternetShortcutOutside", "file", "C:\\Menu\\Programs\\Other.url", "1",
                    "not a shortcut file", Refusal::Kind::Unsound},
        RefusedCase{"FolderOutside", "folder", "C:\\WINDOWS\\Temp", "1", kOutside,
                    Refusal::Kind::Unsound},
        RefusedCase{"FolderThroughParent", "folder", In(".."), "1", kNotPlain,
                    Refusal::Kind::Unsound},
        RefusedCase{"AnotherProductsKey", "lregkey",
                    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other 1.0", "1",
                    "not the product's uninstall entry", Refusal::Kind::Unsound},
        RefusedCase{"AnotherClassesKey", "cregkey", ".txt", "1",
                    "not a key of the product's file types", Refusal::Kind::Unsound},
        RefusedCase{"AnotherValue", "lregvalue", "SOFTWARE\\Kelmo\\Zinkolar|Path", "1",
                    "not a value of the shared \"Extensions\" key", Refusal::Kind::Unsound},
        RefusedCase{"AnotherProgramsExtensionsValue", "lregvalue",
                    std::string(kExtensions) + "|.txt", "1",
                    "registered by an installation in another folder", Refusal::Kind::Elsewhere}),
    [](const auto& info) { return info.param.name; });

struct BackupCase {
    const char* name;
    std::vector<std::string> originals;  // relative, recorded "1"
    std::vector<std::string> backups;    // relative, recorded "1" and present
    std::vector<std::string> lines;      // expected restore and delete lines of the Files step
    int kept = 0;                        // backups left for the user
};

class Backups : public UninstallTest, public ::testing::WithParamInterface<BackupCase> {};

TEST_P(Backups, ArePutBackOnlyWhenTheOriginalIsCertain) {
    const BackupCase& c = GetParam();
    for (const std::string& file : c.originals)
        Record("file", In(file));
    for (const std::string& file : c.backups)
        Record("file", In(file));
    const auto plan = Plan();
    std::vector<std::string> lines;
    for (const uninstall::Operation& operation : plan.operations) {
        if (operation.step == uninstall::Step::Files)
            lines.push_back(Describe(operation));
    }
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(std::ranges::count(plan.refused, Refusal::Kind::Kept, &Refusal::kind), c.kept);
}

INSTANTIATE_TEST_SUITE_P(
    Uninstall, Backups,
    ::testing::Values(
        BackupCase{"One",
                   {"cover.zkc"},
                   {"Backup\\00001\\cover.zkc"},
                   {"restore " + In("cover.zkc") + " from " + In("Backup\\00001\\cover.zkc")}},
        BackupCase{"NewestOfTwo",
                   {"cover.zkc"},
                   {"Backup\\00001\\cover.zkc", "Backup\\00002\\COVER.ZKC"},
                   {"restore " + In("cover.zkc") + " from " + In("Backup\\00002\\COVER.ZKC"),
                    "delete file " + In("Backup\\00001\\cover.zkc")}},
        BackupCase{"TwoOriginalsOfOneName",
                   {"cover.zkc", "Doc\\cover.zkc"},
                   {"Backup\\00001\\cover.zkc"},
                   {"delete file " + In("cover.zkc"), "delete file " + In("Doc\\cover.zkc")},
                   1},
        BackupCase{"NumberedCopies",
                   {"cover.zkc"},
                   {"Backup\\00001\\cover.zkc", "Backup\\00001\\cover.zkc.2"},
                   {"delete file " + In("cover.zkc")},
                   2},
        BackupCase{"NoOriginal", {}, {"Backup\\00001\\cover.zkc"}, {}, 1},
        BackupCase{
            "NotABackupFolder",
            {"cover.zkc"},
            {"Backup\\old\\cover.zkc"},
            {"delete file " + In("cover.zkc"), "delete file " + In("Backup\\old\\cover.zkc")}}),
    [](const auto& info) { return info.param.name; });

TEST_F(UninstallTest, AMissingNewestBackupGivesWayToTheOlder) {
    Record("file", In("cover.zkc"));
    Record("file", In("Backup\\00001\\cover.zkc"));
    Record("file", In("Backup\\00002\\cover.zkc"));
    fake.files.Remove(In("Backup\\00002\\cover.zkc"));
    const auto plan = Plan();
    EXPECT_EQ(Describe(plan.operations[0]),
              "restore " + In("cover.zkc") + " from " + In("Backup\\00001\\cover.zkc"));
}

struct FailureCase {
    const char* name;
    platform::FakeOperation operation;
    std::string path;  // the failing item
    std::string what;  // as the left item names it
    int failed = 1;    // items that fail
};

class PlatformFailures : public SampleInstallation,
                         public ::testing::WithParamInterface<FailureCase> {};

TEST_P(PlatformFailures, AreListedAndTheRestIsDone) {
    const FailureCase& c = GetParam();
    const platform::FailureRule rule{c.operation, c.path, platform::kErrorSharingViolation};
    fake.files.failures.Add(rule);
    fake.registry.failures.Add(rule);
    fake.system.failures.Add(rule);
    const auto outcome = Remove();

    EXPECT_TRUE(outcome.Incomplete());
    const auto failed = std::ranges::find(outcome.left, LeftItem::Kind::Failed, &LeftItem::kind);
    ASSERT_NE(failed, outcome.left.end());
    EXPECT_EQ(failed->what, c.what);
    EXPECT_EQ(failed->why, "error 32");
    EXPECT_EQ(std::ranges::count(outcome.left, LeftItem::Kind::Failed, &LeftItem::kind), c.failed);
    // Everything else went.
    EXPECT_FALSE(fake.files.FileExists(In("zinkolar.ini")));
    EXPECT_FALSE(fake.files.DirectoryExists(In("service")));
    EXPECT_FALSE(fake.registry.KeyExists(RegistryRoot::ClassesRoot, ".zkx"));
}

INSTANTIATE_TEST_SUITE_P(
    Uninstall, PlatformFailures,
    ::testing::Values(FailureCase{"FileInUse", platform::FakeOperation::Delete, "zinkolar.exe",
                                  In("zinkolar.exe")},
                      FailureCase{"BackupNotPutBack", platform::FakeOperation::Move, "cover.zkc",
                                  In("cover.zkc")},
                      FailureCase{"KeyNotDeleted", platform::FakeOperation::DeleteKey,
                                  "Uninstall\\Zinkolar", kEntry},
                      FailureCase{"WinIniNotWritten", platform::FakeOperation::WriteWinIni, "Kelmo",
                                  "win.ini [Kelmo] Path", 2}),
    [](const auto& info) { return info.param.name; });

// Installed files keep their source's attributes: a read-only file the log names is made
// writable to go, and only such a file.
struct ReadOnlyCase {
    const char* name;
    std::string file;  // made read-only before the removal
    std::optional<platform::FailureRule> failure;
    bool gone;
};

class ReadOnlyFiles : public SampleInstallation,
                      public ::testing::WithParamInterface<ReadOnlyCase> {};

TEST_P(ReadOnlyFiles, GoOnlyWhereTheLogNamesThem) {
    const ReadOnlyCase& c = GetParam();
    fake.files.AddFile(In("Data\\phones.zkb"), "the user's");
    fake.files.AddFile(In("Backup\\00001\\cover.zkc"), "the user's cover");
    CountShared(std::string(kSystem) + "\\znklrf32.dll", 1);
    const auto read_only = platform::kAttributeArchive | platform::kAttributeReadOnly;
    ASSERT_TRUE(fake.files.SetAttributes(c.file, read_only));
    if (c.failure)
        fake.files.failures.Add(*c.failure);
    const auto outcome = Remove();

    if (c.gone) {
        EXPECT_FALSE(outcome.Incomplete());
        EXPECT_NE(fake.files.Bytes(c.file), "bytes") << "replaced or deleted";
        return;
    }
    EXPECT_EQ(fake.files.Info(c.file)->attributes, read_only) << "as it was";
    const bool named = c.file != In("Data\\phones.zkb");
    EXPECT_EQ(outcome.Incomplete(), named);
    EXPECT_EQ(std::ranges::count(outcome.left, LeftItem::Kind::Failed, &LeftItem::kind),
              named ? 1 : 0);
    EXPECT_FALSE(fake.files.FileExists(In("zinkolar.ini"))) << "the rest is done";
}

INSTANTIATE_TEST_SUITE_P(
    Uninstall, ReadOnlyFiles,
    ::testing::Values(
        ReadOnlyCase{"InstalledFileGoes", In("zinkolar.exe"), std::nullopt, true},
        ReadOnlyCase{"ReplacedFileIsPutBack", In("cover.zkc"), std::nullopt, true},
        ReadOnlyCase{"SharedFileGoes", std::string(kSystem) + "\\znklrf32.dll", std::nullopt, true},
        ReadOnlyCase{"TheUsersFileIsNotTouched", In("Data\\phones.zkb"), std::nullopt, false},
        ReadOnlyCase{"AttributeNotCleared", In("zinkolar.exe"),
                     platform::FailureRule{platform::FakeOperation::SetAttributes, "zinkolar.exe"},
                     false},
        ReadOnlyCase{"InUseGetsItsAttributeBack", In("zinkolar.exe"),
                     platform::FailureRule{platform::FakeOperation::Delete, "zinkolar.exe",
                                           platform::kErrorSharingViolation, 2},
                     false}),
    [](const auto& info) { return info.param.name; });

TEST_F(UninstallTest, AFolderThatLinksElsewhereIsNotFollowed) {
    Record("file", In("Data\\a.txt"));
    ASSERT_TRUE(fake.files.SetAttributes(In("Data"), platform::kAttributeDirectory | 0x400));
    const auto plan = Plan();
    ASSERT_EQ(plan.refused.size(), 1u);
    EXPECT_EQ(plan.refused[0].reason, "a folder on its way links to another place");
}

}  // namespace
}  // namespace uninstall_test
