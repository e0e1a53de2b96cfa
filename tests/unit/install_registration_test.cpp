// The registry and win.ini entries that tell the system where the product lives.
#include <cstdint>
#include <stdexcept>

#include "install/registration.h"
#include "install_fixture.h"

namespace install_test {
namespace {

using platform::FailureRule;
using platform::FakeOperation;

constexpr char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

using RegistrationTest = InstallTest;

TEST_F(RegistrationTest, UninstallEntryNamesEditionAndVersion) {
    struct Case {
        const char* suffix;
        const char* version;
        const char* destination;
        const char* key_name;
        const char* display_name;
        const char* uninstall_string;
        std::int64_t installed_bytes;
        std::uint32_t kilobytes;  // "EstimatedSize": whole KB, rounded up
    };
    const Case cases[] = {
        {"", "5.0", "C:\\Zinkolar", "Zinkolar 5.0", "Zinkolar 5.0 (удаление/восстановление)",
         "C:\\Zinkolar\\zkuninst.exe", 0, 0},
        {" Server", "5.0", "C:\\Zinkolar", "Zinkolar Server 5.0",
         "Zinkolar Server 5.0 (удаление/восстановление)", "C:\\Zinkolar\\zkuninst.exe", 1, 1},
        // Without a version no blank follows the name: the key could not be recorded.
        {"", "", "C:\\Zinkolar", "Zinkolar", "Zinkolar (удаление/восстановление)",
         "C:\\Zinkolar\\zkuninst.exe", 1024, 1},
        // A path with blanks is quoted, or Windows would try C:\Program.exe first.
        {" Client", "5.0", kDestination, "Zinkolar Client 5.0",
         "Zinkolar Client 5.0 (удаление/восстановление)",
         "\"C:\\Program Files\\Zinkolar\\zkuninst.exe\"", 1025, 2},
        {"", "5.0", "", "Zinkolar 5.0", "Zinkolar 5.0 (удаление/восстановление)", "\\zkuninst.exe",
         4'398'046'511'104, 0xFFFFFFFF},  // 4 TB does not fit: the largest size shown
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key_name);
        fake.registry = {};
        ResetLog();
        plan.config.edition_suffix = c.suffix;
        plan.config.version_number = c.version;
        plan.destination = c.destination;
        const std::string key = std::string(kUninstall) + c.key_name;
        EXPECT_EQ(install::UninstallKey(plan), key);

        install::WriteUninstallEntry(plan, fake.registry, *log, language, c.installed_bytes);

        EXPECT_EQ(LogValue("lregkey", key), "1");
        const std::pair<const char*, std::string> values[] = {
            {"DisplayName", c.display_name},
            {"UninstallString", c.uninstall_string},
            {"QuietUninstallString",
             std::string(c.uninstall_string) + " /VERYSILENT /SUPPRESSMSGBOXES"},
            {"DisplayIcon", std::string(c.destination) + "\\zinkolar.exe,0"},
            {"URLInfoAbout", "www.kelmo.example"},
            {"DisplayVersion", c.version},
            {"Publisher", "Kelmo Association"},
            {"HelpLink", "mailto:support@kelmo.example"},
            {"InstallLocation", c.destination},
        };
        for (const auto& [name, expected] : values)
            EXPECT_EQ(fake.registry.ReadString(RegistryRoot::LocalMachine, key, name), expected)
                << name;
        const std::pair<const char*, std::uint32_t> numbers[] = {
            {"EstimatedSize", c.kilobytes}, {"NoModify", 1}, {"NoRepair", 1}};
        for (const auto& [name, expected] : numbers)
            EXPECT_EQ(fake.registry.ReadDword(RegistryRoot::LocalMachine, key, name), expected)
                << name;
    }
}

TEST_F(RegistrationTest, UninstallKeyRefusedIsRecordedAndEndsTheRun) {
    fake.registry.failures.Add({FakeOperation::CreateKey, "Uninstall"});
    EXPECT_THROW(install::WriteUninstallEntry(plan, fake.registry, *log, language, 0),
                 std::runtime_error);
    EXPECT_EQ(LogValue("lregkey", install::UninstallKey(plan)), "0");

    // A number value refused (the ninth value, after the eight strings) ends it as well.
    fake.registry = {};
    fake.registry.failures.Add({FakeOperation::WriteValue, "Uninstall", 5, 9});
    EXPECT_THROW(install::WriteUninstallEntry(plan, fake.registry, *log, language, 0),
                 std::runtime_error);
    EXPECT_EQ(fake.registry.ReadDword(RegistryRoot::LocalMachine, install::UninstallKey(plan),
                                      "EstimatedSize"),
              std::nullopt);
}

TEST_F(RegistrationTest, ProductLocationAndItsFailures) {
    struct Case {
        const char* name;
        std::optional<FailureRule> failure;
        std::vector<platform::WinIniWrite> written;
        std::vector<std::string> messages;
        bool product_key;
    };
    const char* const reg_error = "Hедостаточно пpав для записи в системный pеестp Windows";
    const Case cases[] = {
        {"all written",
         std::nullopt,
         {{"Kelmo", "Path", kDestination}, {"Kelmo", "Version", "5.0"}},
         {},
         true},
        // "Version" is not tried after "Path" failed.
        {"Path refused",
         FailureRule{FakeOperation::WriteWinIni, "Kelmo", 5, 1},
         {},
         {"Ошибка 5 при записи в win.ini"},
         true},
        {"Version refused",
         FailureRule{FakeOperation::WriteWinIni, "Kelmo", 1450, 2},
         {{"Kelmo", "Path", kDestination}},
         {"Ошибка 1450 при записи в win.ini"},
         true},
        {"product key refused",
         FailureRule{FakeOperation::CreateKey, "Kelmo"},
         {{"Kelmo", "Path", kDestination}, {"Kelmo", "Version", "5.0"}},
         {reg_error},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.system.failures.Clear();
        fake.system.win_ini_writes.clear();
        fake.registry = {};
        dialogs.Clear();
        if (c.failure && c.failure->operation == FakeOperation::WriteWinIni)
            fake.system.failures.Add(*c.failure);
        else if (c.failure)
            fake.registry.failures.Add(*c.failure);

        install::WriteProductLocation(plan, platform, language, dialogs);

        EXPECT_EQ(fake.system.win_ini_writes, c.written);
        EXPECT_EQ(dialogs.Texts(), c.messages);
        for (const char* name : {"Path", "DataPath"}) {
            EXPECT_EQ(fake.registry.ReadString(RegistryRoot::LocalMachine,
                                               "SOFTWARE\\Kelmo\\Zinkolar", name),
                      c.product_key ? std::optional<std::string>(kDestination) : std::nullopt);
        }
    }
    EXPECT_EQ(dialogs.Shown().at(0).kind, ui::DialogKind::Error);
    EXPECT_EQ(LogRecordCount(), 0u);
}

TEST_F(RegistrationTest, AppPathsAndWordProcessorValues) {
    const char* const word8 = "Software\\Microsoft\\Office\\8.0\\Word\\ZK";
    const char* const word9 = "Software\\Microsoft\\Office\\9.0\\Word\\ZK";
    install::WriteApplicationPaths(plan, fake.registry);
    EXPECT_EQ(
        fake.registry.ReadString(
            RegistryRoot::LocalMachine,
            "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zinkolar.exe", "Zinkolar"),
        kDestination);
    EXPECT_EQ(fake.registry.ReadString(RegistryRoot::LocalMachine, word8, "Flags"), "8192");
    EXPECT_EQ(fake.registry.ReadString(RegistryRoot::LocalMachine, word9, "Flags"), "8192");

    // Without a short name the word processor's own key is left alone.
    fake.registry = {};
    plan.config.short_product_name.clear();
    install::WriteApplicationPaths(plan, fake.registry);
    EXPECT_FALSE(fake.registry.KeyExists(RegistryRoot::LocalMachine,
                                         "Software\\Microsoft\\Office\\8.0\\Word"));
    EXPECT_FALSE(fake.registry.KeyExists(RegistryRoot::LocalMachine,
                                         "Software\\Microsoft\\Office\\9.0\\Word"));
    EXPECT_EQ(LogRecordCount(), 0u);

    fake.registry = {};
    fake.registry.failures.Add({FakeOperation::CreateKey, "App Paths"});
    EXPECT_THROW(install::WriteApplicationPaths(plan, fake.registry), std::runtime_error);
}

}  // namespace
}  // namespace install_test
