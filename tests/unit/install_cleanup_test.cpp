// Removing what an earlier installation into the same folder recorded, and nothing else.
#include "install/previous_installation.h"
#include "install_fixture.h"

namespace install_test {
namespace {

constexpr char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char kExtensions[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Extensions";

using CleanupTest = InstallTest;

TEST_F(CleanupTest, RegistryRecordsOutsideTheInstallersOwnAreLeftAlone) {
    struct Case {
        const char* section;
        RegistryRoot root;
        std::string key;    // the registry key the record names
        std::string value;  // for [lregvalue]: the value name; the record is key|value
        bool removed;
    };
    const std::string entry = std::string(kUninstall) + "\\Zinkolar 5.0";
    const Case cases[] = {
        {"lregkey", RegistryRoot::LocalMachine, entry, "", true},
        {"lregkey", RegistryRoot::LocalMachine,
         "software\\microsoft\\windows\\currentversion\\"
         "uninstall\\Zinkolar 4.2",
         "", true},
        {"lregkey", RegistryRoot::LocalMachine, "SOFTWARE", "", false},
        {"lregkey", RegistryRoot::LocalMachine, kUninstall, "", false},
        {"lregkey", RegistryRoot::LocalMachine, std::string(kUninstall) + "\\", "", false},
        {"lregkey", RegistryRoot::LocalMachine, "SOFTWARE\\Kelmo\\Zinkolar", "", false},
        {"cregkey", RegistryRoot::ClassesRoot, ".mix", "", true},
        {"cregkey", RegistryRoot::ClassesRoot, "Zinkolar.CoverPageFile", "", true},
        {"cregkey", RegistryRoot::ClassesRoot, ".txt", "", false},
        {"cregkey", RegistryRoot::ClassesRoot, "CLSID", "", false},
        {"lregvalue", RegistryRoot::LocalMachine, kExtensions, ".zkx", true},
        {"lregvalue", RegistryRoot::LocalMachine, kExtensions, "", false},
        {"lregvalue", RegistryRoot::LocalMachine, "SOFTWARE\\Kelmo\\Zinkolar", "Path", false},
    };
    for (const Case& c : cases) {
        const std::string is_value = std::string(c.section) == "lregvalue" ? "x" : "";
        fake.registry.Set(c.root, c.key, c.value.empty() ? "Probe" : c.value, "data");
        log->LogItem(c.section, is_value.empty() ? c.key : c.key + "|" + c.value, true);
    }
    // A record of a value whose key is gone is passed over.
    log->LogItem("lregvalue", "SOFTWARE\\Gone|.mix", true);

    install::RemovePreviousRegistryEntries(fake.registry, *log);

    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + " " + c.key + " " + c.value);
        EXPECT_EQ(fake.registry.Has(c.root, c.key, c.value.empty() ? "Probe" : c.value),
                  !c.removed);
    }
    EXPECT_FALSE(fake.registry.KeyExists(RegistryRoot::LocalMachine, entry));
    EXPECT_TRUE(fake.registry.KeyExists(RegistryRoot::LocalMachine, kExtensions));
    EXPECT_FALSE(fake.registry.KeyExists(RegistryRoot::LocalMachine, "SOFTWARE\\Gone"));
    EXPECT_EQ(LogRecordCount(), std::size(cases) + 1);  // the records stay
}

TEST_F(CleanupTest, OnlyShortcutFilesAreDeleted) {
    struct Case {
        const char* path;
        bool from_old_log;  // a line "file: <path>" of install.log, else a [file] record
        bool deleted;
    };
    const Case cases[] = {
        {"C:\\Apps\\Group\\Old.lnk", true, true},
        {"C:\\Apps\\Group\\Caps.LNK", true, false},
        {"C:\\Apps\\Group\\Notes.txt", true, false},
        {"C:\\Start Menu\\Programs\\Zinkolar\\Zinkolar 5.0.lnk", false, true},
        {"C:\\Program Files\\Zinkolar\\readme.txt", false, false},
        {"C:\\Program Files\\Zinkolar\\zinkolar.lnk.txt", false, false},
        {"C:\\Desktop\\Zinkolar.LNK", false, false},
    };
    // Only a line that begins with "file: " has the path from its 7th character on.
    std::string old_log = "Zinkolar 4.2 setup log\r\nfolder: C:\\Apps\r\n";
    old_log += "lnk file: C:\\Apps\\Group\\Other.lnk\r\n";
    fake.files.AddFile("C:\\Apps\\Group\\Other.lnk", "link");
    for (const Case& c : cases) {
        fake.files.AddFile(c.path, "link");
        if (c.from_old_log)
            old_log += std::string("file: ") + c.path + "\n";
        else
            log->LogItem("file", c.path, true);
    }
    fake.files.AddFile(std::string(kDestination) + "\\install.log", old_log);

    install::RemovePreviousShortcuts(plan, platform, *log);

    for (const Case& c : cases)
        EXPECT_EQ(fake.files.FileExists(c.path), !c.deleted) << c.path;
    EXPECT_TRUE(fake.files.FileExists("C:\\Apps\\Group\\Other.lnk"));
    EXPECT_EQ(log->Keys("file").size(), 4u);
}

}  // namespace
}  // namespace install_test
