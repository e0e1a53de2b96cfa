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
        {"lregkey", RegistryRoot::LocalMachine, std::string(kUninstall) + "\\Other Product 5.0", "",
         false},
        {"lregkey", RegistryRoot::LocalMachine, std::string(kUninstall) + "\\Zinkolarix", "",
         false},
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
        ASSERT_TRUE(
            log->LogItem(c.section, is_value.empty() ? c.key : c.key + "|" + c.value, true));
    }
    // A record of a value whose key is gone is passed over.
    ASSERT_TRUE(log->LogItem("lregvalue", "SOFTWARE\\Gone|.mix", true));

    install::RemovePreviousRegistryEntries(install::RemovalRules::ForPlan(plan), platform, *log);

    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + " " + c.key + " " + c.value);
        EXPECT_EQ(fake.registry.Has(c.root, c.key, c.value.empty() ? "Probe" : c.value),
                  !c.removed);
    }
    EXPECT_FALSE(fake.registry.KeyExists(RegistryRoot::LocalMachine, entry));
    EXPECT_TRUE(fake.registry.KeyExists(RegistryRoot::LocalMachine, kExtensions));
    EXPECT_FALSE(fake.registry.KeyExists(RegistryRoot::LocalMachine, "SOFTWARE\\Gone"));
    EXPECT_EQ(LogRecordCount(), std::size(cases) + 1);  // the records stay
    EXPECT_EQ(1, std::ranges::count(
                     fake.trace.lines,
                     std::string("Earlier record kept: [lregkey] " + std::string(kUninstall) +
                                 "\\Other Product 5.0: not the product's uninstall entry")));
}

TEST_F(CleanupTest, OnlyTheProductsShortcutsAreDeleted) {
    struct Case {
        const char* path;
        const char* target;  // nullptr: a file that is no link
        bool from_old_log;   // a line "file: <path>" of install.log, else a [file] record
        bool deleted;
    };
    const std::string program = std::string(kDestination) + "\\zinkolar.exe";
    const char* ours = program.c_str();
    const Case cases[] = {
        {"C:\\Start Menu\\Programs\\Zinkolar 4\\Old.lnk", ours, true, true},
        {"C:\\Start Menu\\Programs\\Zinkolar 4\\Caps.LNK", ours, true, false},
        {"C:\\Start Menu\\Programs\\Zinkolar 4\\Notes.txt", ours, true, false},
        {"C:\\Apps\\Group\\Old.lnk", ours, true, false},
        {"C:\\Start Menu\\Programs\\Zinkolar\\Zinkolar 5.0.lnk", ours, false, true},
        {"C:\\Desktop\\Zinkolar 5.0.lnk", ours, false, true},
        {"C:\\SendTo\\Zinkolar.lnk", ours, false, true},
        {"C:\\Quick Launch\\Zinkolar 5.0.lnk", ours, false, true},
        {"C:\\Program Files\\Zinkolar\\readme.txt", nullptr, false, false},
        {"C:\\Program Files\\Zinkolar\\zinkolar.lnk.txt", nullptr, false, false},
        {"C:\\Desktop\\Zinkolar.LNK", ours, false, false},
        // Planted records: another product's shortcut, a file that is no link.
        {"C:\\Desktop\\Other Product.lnk", "C:\\Program Files\\Other\\other.exe", false, false},
        {"C:\\Desktop\\Other Old.lnk", "C:\\Program Files\\Other\\other.exe", true, false},
        {"C:\\Start Menu\\Programs\\Zinkolar\\Planted.lnk", nullptr, false, false},
    };
    // Only a line that begins with "file: " has the path from its 7th character on.
    std::string old_log = "Zinkolar 4.2 setup log\r\nfolder: C:\\Apps\r\n";
    old_log += "lnk file: C:\\Desktop\\Other.lnk\r\n";
    ASSERT_EQ(fake.shell.CreateLink({program, "", ""}, "C:\\Desktop\\Other.lnk"),
              platform::Success());
    for (const Case& c : cases) {
        const std::string path = c.path;
        fake.files.AddDirectory(path.substr(0, path.rfind('\\')));
        if (c.target != nullptr)
            ASSERT_EQ(fake.shell.CreateLink({c.target, "", ""}, path), platform::Success());
        else
            fake.files.AddFile(path, "link");
        if (c.from_old_log)
            old_log += "file: " + path + "\n";
        else
            ASSERT_TRUE(log->LogItem("file", path, true));
    }
    fake.files.AddFile(std::string(kDestination) + "\\install.log", old_log);

    install::RemovePreviousShortcuts(install::RemovalRules::ForPlan(plan), platform, *log);

    for (const Case& c : cases)
        EXPECT_EQ(fake.files.FileExists(c.path), !c.deleted) << c.path;
    EXPECT_TRUE(fake.files.FileExists("C:\\Desktop\\Other.lnk"));
    EXPECT_EQ(log->Keys("file").size(), 9u);
    EXPECT_EQ(1, std::ranges::count(fake.trace.lines,
                                    std::string("Earlier record kept: [file] C:\\Desktop\\Other "
                                                "Product.lnk: the shortcut points outside "
                                                "the installation folder")));
}

}  // namespace
}  // namespace install_test
