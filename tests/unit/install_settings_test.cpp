// The product settings file zinkolar.ini and the affiliate code found among the processes.
#include <stdexcept>

#include "install/product_settings.h"
#include "install_fixture.h"

namespace install_test {
namespace {

using platform::FakeOperation;

constexpr char kSettings[] = "C:\\Program Files\\Zinkolar\\zinkolar.ini";

class SettingsTest : public InstallTest {
  protected:
    SettingsTest() { fake.system.processes = {"explorer.exe"}; }
    void Existing(const std::string& utf8) {
        fake.files.AddFile(kSettings, fake.codec.Utf8ToAnsi(utf8));
    }
    std::string Written() const {
        return fake.codec.AnsiToUtf8(fake.files.Bytes(kSettings).value_or(""));
    }
};

TEST_F(SettingsTest, EntriesSetAddedAndKept) {
    struct Case {
        const char* name;
        std::optional<std::string> existing;
        int converted;
        const char* expected;
    };
    const Case cases[] = {
        {"new file", std::nullopt, 0,
         "[History]\r\nTitle=Zinkolar\r\nProductName=Zinkolar\r\nVersion=5.0\r\n"
         "[User]\r\nLanguage=Russian\r\n[Setup]\r\nInstructions=readme.txt\r\n"
         "[Send]\r\nSendPath=C:\\Program Files\\Zinkolar\\OUT\\\r\n[Report]\r\nRecords=1000\r\n"},
        {"exactly 1000 converted", std::nullopt, 1000, "Records=1000\r\n"},
        {"1001 converted", std::nullopt, 1001, "Records=1001\r\n"},
        // The user's own settings stay; the installer's history is always brought up to date.
        {"existing file",
         "[history]\r\nversion=4.2\r\n[Send]\r\nSendPath=D:\\Faxes\\\r\n[Report]\r\nRecords=500\r\n"
         "[Modem]\r\nPort=COM2\r\n",
         5000,
         "[history]\r\nversion=5.0\r\nTitle=Zinkolar\r\nProductName=Zinkolar\r\n"
         "[Send]\r\nSendPath=D:\\Faxes\\\r\n[Report]\r\nRecords=500\r\n[Modem]\r\nPort=COM2\r\n"
         "[User]\r\nLanguage=Russian\r\n[Setup]\r\nInstructions=readme.txt\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.files.Remove(kSettings);
        if (c.existing)
            Existing(*c.existing);
        ResetLog();

        install::WriteProductSettings(plan, platform, *log, c.converted);

        EXPECT_NE(Written().find(c.expected), std::string::npos) << Written();
        EXPECT_EQ(LogValue("file", kSettings), "1");
        EXPECT_TRUE(fake.files.FindFiles("C:\\Program Files\\Zinkolar\\~zk*")->empty());
    }
}

TEST_F(SettingsTest, LanguageIsTheChosenOne) {
    plan.language = "English";
    install::WriteProductSettings(plan, platform, *log, 0);
    EXPECT_NE(Written().find("[User]\r\nLanguage=English\r\n"), std::string::npos);
}

TEST_F(SettingsTest, AffiliateCodeFromTheProcessName) {
    struct Case {
        std::vector<std::string> processes;
        const char* prefix;
        const char* code;
    };
    const Case cases[] = {
        {{"explorer.exe", "zkvh5_partner42.exe"}, "zkvh5", "partner42"},
        {{"ZKVH5_A.B.exe"}, "zkvh5", "A"},
        {{"zkvh5_nodot"}, "ZKVH5", "nodot"},
        // A name without "_" is passed over, and the search goes on.
        {{"zkvh5setup.exe", "zkvh5_second.exe"}, "zkvh5", "second"},
        {{"zkvh5setup.exe"}, "zkvh5", ""},
        {{"setup_zkvh5.exe"}, "zkvh5", ""},
        // Without a prefix every name with "_" would match.
        {{"some_tool.exe"}, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix + std::string(" ") + c.processes.back());
        fake.system.processes = c.processes;
        EXPECT_EQ(install::FindAffiliateCode(fake.system, c.prefix), c.code);
    }
    fake.system.processes = {"zkvh5_partner42.exe"};
    fake.system.failures.Add({FakeOperation::ProcessSnapshot});
    EXPECT_EQ(install::FindAffiliateCode(fake.system, "zkvh5"), "");
}

TEST_F(SettingsTest, AffiliateWrittenOnlyWhenFound) {
    Existing("[User]\r\nAffiliate=old\r\n");
    install::WriteProductSettings(plan, platform, *log, 0);
    EXPECT_NE(Written().find("Affiliate=old\r\n"), std::string::npos);

    fake.system.processes = {"zkvh5_partner42.exe"};
    install::WriteProductSettings(plan, platform, *log, 0);
    EXPECT_NE(Written().find("Affiliate=partner42\r\n"), std::string::npos);
}

// A write that fails part-way leaves the old settings whole.
TEST_F(SettingsTest, FailedWriteKeepsTheOldFile) {
    const std::string old = "[Send]\r\nSendPath=D:\\Faxes\\\r\n";
    for (const FakeOperation operation : {FakeOperation::Write, FakeOperation::Move}) {
        Existing(old);
        fake.files.failures.Clear();
        fake.files.failures.Add({operation, "~zk", 112, 0, 4});
        EXPECT_THROW(install::WriteProductSettings(plan, platform, *log, 0), std::runtime_error);
        EXPECT_EQ(Written(), old);
        EXPECT_TRUE(fake.files.FindFiles("C:\\Program Files\\Zinkolar\\~zk*")->empty());
    }
}

}  // namespace
}  // namespace install_test
