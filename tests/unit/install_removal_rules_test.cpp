// Which records of a log an installation may be taken apart by, and which are refused.
#include <gtest/gtest.h>

#include "install/removal_rules.h"
#include "platform/fake/fake_platform.h"

namespace {

using install::RemovalRules;

TEST(RemovalPathTest, OnlyPlainAbsolutePathsInsideTheFolderPass) {
    struct Case {
        const char* path;
        const char* folder;
        bool inside;
    };
    const Case cases[] = {
        {"C:\\Apps\\Zinkolar\\zinkolar.exe", "C:\\Apps\\Zinkolar", true},
        {"C:\\Apps\\Zinkolar", "C:\\Apps\\Zinkolar", true},
        {"c:\\apps\\ZINKOLAR\\Data\\x.lnk", "C:\\Apps\\Zinkolar\\", true},
        {"C:\\Apps\\Папка\\x.exe", "C:\\Apps\\ПАПКА", true},
        {"\\\\server\\share\\Zinkolar\\x.exe", "\\\\SERVER\\share\\Zinkolar", true},
        // Another folder that begins with the same letters.
        {"C:\\Apps\\Zinkolar2\\x.exe", "C:\\Apps\\Zinkolar", false},
        {"C:\\Apps\\Zinkolar.exe", "C:\\Apps\\Zinkolar", false},
        {"C:\\Apps", "C:\\Apps\\Zinkolar", false},
        {"D:\\Apps\\Zinkolar\\x.exe", "C:\\Apps\\Zinkolar", false},
        // Ways out of the folder, or to a name the platform reads otherwise.
        {"C:\\Apps\\Zinkolar\\..\\Other\\x.exe", "C:\\Apps\\Zinkolar", false},
        {"C:\\Apps\\Zinkolar\\..", "C:\\Apps\\Zinkolar", false},
        {"C:\\Apps\\Zinkolar\\.\\x.exe", "C:\\Apps\\Zinkolar", false},
        {"C:\\Apps\\Zinkolar\\.. \\x.exe", "C:\\Apps\\Zinkolar", false},
        {"C:\\Apps\\Zinkolar\\...\\x.exe", "C:\\Apps\\Zinkolar", false},
        {"C:\\Apps\\Zinkolar\\x.exe.", "C:\\Apps\\Zinkolar", false},
        {"C:\\Apps\\Zinkolar\\x.exe ", "C:\\Apps\\Zinkolar", false},
        {"C:\\Apps\\Zinkolar/../Other/x.exe", "C:\\Apps\\Zinkolar", false},
        {"C:\\Apps\\Zinkolar\\\\x.exe", "C:\\Apps\\Zinkolar", false},
        {"C:\\Apps\\Zinkolar\\x.exe:stream", "C:\\Apps\\Zinkolar", false},
        {"C:\\Apps\\Zinkolar\\*.exe", "C:\\Apps\\Zinkolar", false},
        {"C:\\Apps\\Zinkolar\\a\tb", "C:\\Apps\\Zinkolar", false},
        {"\\\\?\\C:\\Apps\\Zinkolar\\x.exe", "\\\\?\\C:\\Apps\\Zinkolar", false},
        {"\\\\.\\C:\\Apps\\Zinkolar\\x.exe", "\\\\.\\C:\\Apps\\Zinkolar", false},
        // Relative paths, also to the current folder of a drive.
        {"Apps\\Zinkolar\\x.exe", "Apps\\Zinkolar", false},
        {"\\Apps\\Zinkolar\\x.exe", "\\Apps\\Zinkolar", false},
        {"C:Apps\\Zinkolar\\x.exe", "C:Apps\\Zinkolar", false},
        {"1:\\Apps\\Zinkolar\\x.exe", "1:\\Apps\\Zinkolar", false},
        // A drive root or a lone server is no installation folder.
        {"C:\\x.exe", "C:\\", false},
        {"\\\\server\\x.exe", "\\\\server", false},
        {"", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(install::IsInsideFolder(c.path, c.folder), c.inside)
            << c.path << " in " << c.folder;
}

class RemovalRulesTest : public testing::Test {
  protected:
    static constexpr char kFolder[] = "C:\\Apps\\Zinkolar";

    // A link file whose target is the given path.
    void AddLink(const std::string& file, const std::string& target) {
        fake.files.AddDirectory(file.substr(0, file.rfind('\\')));
        ASSERT_EQ(fake.shell.CreateLink({target, "", ""}, file), platform::Success());
    }

    platform::FakePlatform fake;
    const RemovalRules rules{
        "Zinkolar",
        kFolder,
        {"C:\\Menu\\Programs", "C:\\Users\\Public\\Desktop\\", "C:\\Users\\me\\SendTo", ""}};
};

TEST_F(RemovalRulesTest, AShortcutGoesOnlyFromTheShortcutFoldersAndIntoTheInstallation) {
    struct Case {
        const char* file;
        const char* target;  // nullptr: a file that is no link
        bool deleted;
    };
    const std::string program = std::string(kFolder) + "\\zinkolar.exe";
    const Case cases[] = {
        {"C:\\Menu\\Programs\\Zinkolar\\Zinkolar 5.0.lnk", program.c_str(), true},
        {"C:\\Menu\\Programs\\Kelmo\\Zinkolar\\Help.lnk", "C:\\Apps\\Zinkolar\\zk.hlp", true},
        {"C:\\Menu\\Programs\\Top.lnk", program.c_str(), true},
        {"c:\\users\\public\\desktop\\Zinkolar 5.0.lnk", program.c_str(), true},
        {"C:\\Users\\me\\SendTo\\Zinkolar.lnk", "c:\\apps\\zinkolar\\ZINKOLAR.EXE", true},
        // Another product's shortcuts in the same folders.
        {"C:\\Users\\Public\\Desktop\\Other.lnk", "C:\\Apps\\Other\\other.exe", false},
        {"C:\\Menu\\Programs\\Other\\Other.lnk", "C:\\Apps\\Zinkolar2\\x.exe", false},
        {"C:\\Menu\\Programs\\Zinkolar\\Out.lnk", "C:\\Apps\\Zinkolar\\..\\Other\\x.exe", false},
        {"C:\\Menu\\Programs\\Zinkolar\\Relative.lnk", "zinkolar.exe", false},
        // Files that are no links, or links in folders the installer makes none in.
        {"C:\\Menu\\Programs\\Zinkolar\\Planted.lnk", nullptr, false},
        {"C:\\Users\\Public\\Desktop\\Sub\\Zinkolar.lnk", program.c_str(), false},
        {"C:\\Users\\me\\Documents\\Zinkolar.lnk", program.c_str(), false},
        {"C:\\Menu\\Zinkolar.lnk", program.c_str(), false},
        {"C:\\Menu\\Programs\\..\\Zinkolar.lnk", program.c_str(), false},
        {"C:\\Apps\\Zinkolar\\zinkolar.lnk", program.c_str(), false},
        // Only names ending in ".lnk", as the installer writes them.
        {"C:\\Menu\\Programs\\Zinkolar\\zinkolar.url", program.c_str(), false},
        {"C:\\Menu\\Programs\\Zinkolar\\Caps.LNK", program.c_str(), false},
    };
    for (const Case& c : cases) {
        if (c.target != nullptr)
            AddLink(c.file, c.target);
        else
            fake.files.AddFile(c.file, "not a link");
    }
    for (const Case& c : cases) {
        const install::Verdict verdict = rules.Shortcut(c.file, fake.shell);
        EXPECT_EQ(verdict.allowed, c.deleted) << c.file;
        EXPECT_EQ(verdict.reason.empty(), c.deleted) << c.file;
    }
    // A shortcut folder this system lacks (Quick Launch here) holds none.
    AddLink("C:\\Quick Launch\\Zinkolar.lnk", program);
    EXPECT_FALSE(rules.Shortcut("C:\\Quick Launch\\Zinkolar.lnk", fake.shell));
}

TEST_F(RemovalRulesTest, RegistryRecordsPassOnlyForTheProductsOwnItems) {
    struct Case {
        const char* section;
        std::string record;
        bool allowed;
    };
    const std::string uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    const std::string extensions = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Extensions";
    const Case cases[] = {
        {"lregkey", uninstall + "Zinkolar 5.0", true},
        {"lregkey", uninstall + "Zinkolar Server 5.0", true},
        {"lregkey", uninstall + "Zinkolar 4.2", true},
        {"lregkey", uninstall + "Zinkolar", true},
        {"lregkey", "software\\microsoft\\windows\\currentversion\\uninstall\\ZINKOLAR 5.0", true},
        {"lregkey", uninstall + "Zinkolarix 1.0", false},
        {"lregkey", uninstall + "Other Product 5.0", false},
        {"lregkey", uninstall + "{6F1C2A3B-0000-4D5E-8F9A-123456789ABC}", false},
        {"lregkey", uninstall + "Kelmo Zinkolar 5.0", false},
        {"lregkey", uninstall + "Zinkolar 5.0\\..\\Other Product", false},
        {"lregkey", uninstall, false},
        {"lregkey", uninstall.substr(0, uninstall.size() - 1), false},
        {"lregkey", "SOFTWARE", false},
        {"lregkey", "SOFTWARE\\Kelmo\\Zinkolar", false},
        {"cregkey", ".mix", true},
        {"cregkey", ".ZKX", true},
        {"cregkey", "Zinkolar.CoverPageFile", true},
        {"cregkey", ".txt", false},
        {"cregkey", "CLSID", false},
        {"cregkey", "", false},
        {"lregvalue", extensions + "|.zkx", true},
        {"lregvalue", extensions + "|", false},
        {"lregvalue", extensions, false},
        {"lregvalue", "SOFTWARE\\Kelmo\\Zinkolar|Path", false},
    };
    for (const Case& c : cases) {
        const std::string section = c.section;
        const install::Verdict verdict = section == "lregkey"   ? rules.LocalKey(c.record)
                                         : section == "cregkey" ? rules.ClassesKey(c.record)
                                                                : rules.LocalValue(c.record);
        EXPECT_EQ(verdict.allowed, c.allowed) << section << " " << c.record;
    }
    // Without a product name no uninstall entry is the product's.
    const RemovalRules nameless{"", kFolder, {}};
    EXPECT_FALSE(nameless.LocalKey(uninstall + " 5.0"));
}

}  // namespace
