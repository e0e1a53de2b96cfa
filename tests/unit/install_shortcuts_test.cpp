// The internet shortcuts and the product's shortcut list.
#include <stdexcept>

#include "install/shortcuts.h"
#include "install_fixture.h"

namespace install_test {
namespace {

using platform::FakeOperation;

constexpr char kGroup[] = "C:\\Start Menu\\Programs\\Zinkolar";

class ShortcutsTest : public InstallTest {
  protected:
    // The links made, as "file -> target arguments", in order.
    std::vector<std::string> Links() const {
        std::vector<std::string> made;
        for (const std::string& file : fake.shell.links) {
            const auto link = fake.shell.ReadLink(file);
            EXPECT_TRUE(link.Ok()) << file;
            EXPECT_EQ(link->working_directory, kDestination);
            made.push_back(file + " -> " + link->target +
                           (link->arguments.empty() ? "" : " " + link->arguments));
        }
        return made;
    }
    void Create() {
        install::CreateProductShortcuts(plan, platform, *log, language,
                                        [&](const std::string& group) { common.push_back(group); });
    }
    std::vector<std::string> common;  // the group folders the script's shortcuts were asked for
};

std::string Group(const std::string& name, const std::string& program) {
    return std::string(kGroup) + "\\" + name + ".lnk -> " + kDestination + "\\" + program;
}

TEST_F(ShortcutsTest, InternetShortcuts) {
    for (const char* tutorial : {"", "www.kelmo.example/learn"}) {
        SCOPED_TRACE(tutorial);
        plan.config.tutorial = tutorial;
        fake.files.Remove(std::string(kDestination) + "\\tutorial.url");
        ResetLog();
        install::WriteInternetShortcuts(plan, fake.files, fake.codec, *log);
        EXPECT_EQ(fake.files.Bytes(std::string(kDestination) + "\\zinkolar.url"),
                  "[InternetShortcut]\r\nURL=http://www.kelmo.example\r\n");
        EXPECT_EQ(fake.files.Bytes(std::string(kDestination) + "\\mailto.url"),
                  "[InternetShortcut]\r\nURL=mailto:support@kelmo.example\r\n");
        const auto tutorial_file = fake.files.Bytes(std::string(kDestination) + "\\tutorial.url");
        EXPECT_EQ(tutorial_file.has_value(), *tutorial != '\0');
        EXPECT_EQ(log->Keys("file").size(), *tutorial ? 3u : 2u);
    }
    fake.files.failures.Add({FakeOperation::Open, "mailto.url"});
    EXPECT_THROW(install::WriteInternetShortcuts(plan, fake.files, fake.codec, *log),
                 std::runtime_error);
}

TEST_F(ShortcutsTest, FullListForAVoiceEdition) {
    plan.config.tutorial = "www.kelmo.example/learn";
    Create();
    const std::vector<std::string> expected = {
        Group("Напишите нам", "mailto.url"),
        Group("Удаление Zinkolar", "zkuninst.exe"),
        Group("Официальный сайт поддержки", "zinkolar.url"),
        Group("Журнал", "logbook.exe"),
        Group("Телефонный справочник", "phbook.exe"),
        Group("Редактор сценариев", "scripted.exe"),
        Group("Менеджер сообщений", "zkmanager.exe"),
        Group("Расписание", "zksched.exe"),
        Group("Учебник", "tutorial.url"),
        Group("Zinkolar 5.0", "zinkolar.exe"),
        Group("Справка Zinkolar", "zinkolar.hlp"),
        "C:\\SendTo\\Zinkolar.lnk -> C:\\Program Files\\Zinkolar\\zinkolar.exe %1",
        "C:\\Desktop\\Zinkolar 5.0.lnk -> C:\\Program Files\\Zinkolar\\zinkolar.exe",
        "C:\\Quick Launch\\Zinkolar 5.0.lnk -> C:\\Program Files\\Zinkolar\\zinkolar.exe",
    };
    EXPECT_EQ(Links(), expected);
    EXPECT_EQ(common, std::vector<std::string>{kGroup});
    EXPECT_EQ(LogValue("folder", kGroup), "1");
    EXPECT_TRUE(fake.files.DirectoryExists(kGroup));
    EXPECT_EQ(log->Keys("file").size(), expected.size());
}

// Each case against the full list of a voice edition with a tutorial: the link files it lacks.
TEST_F(ShortcutsTest, WhichShortcutsAreMade) {
    const std::string group = std::string(kGroup) + "\\";
    struct Case {
        const char* name;
        std::function<void(install::InstallationPlan&)> change;
        std::vector<std::string> missing;
    };
    const Case cases[] = {
        {"without a tutorial", [](auto& p) { p.config.tutorial.clear(); }, {group + "Учебник.lnk"}},
        {"not a voice edition",
         [](auto& p) { p.config.voice_version = false; },
         {group + "Редактор сценариев.lnk"}},
        {"client",
         [](auto& p) {
             p.config.client_server = true;
             p.server = false;
         },
         {group + "Редактор сценариев.lnk"}},
        {"no desktop or quick launch",
         [](auto& p) { p.desktop_shortcut = p.quick_launch_shortcut = false; },
         {"C:\\Desktop\\Zinkolar 5.0.lnk", "C:\\Quick Launch\\Zinkolar 5.0.lnk"}},
        // A folder this system does not have gets no shortcut, not one in the current folder.
        {"no SendTo or desktop folder",
         [](auto& p) { p.folders.send_to_dir = p.folders.desktop_dir = ""; },
         {"C:\\SendTo\\Zinkolar.lnk", "C:\\Desktop\\Zinkolar 5.0.lnk"}},
    };
    plan.config.tutorial = "www.kelmo.example/learn";
    const install::InstallationPlan base = plan;
    Create();
    const std::vector<std::string> full = fake.shell.links;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.shell.links.clear();
        plan = base;
        c.change(plan);
        Create();
        std::vector<std::string> expected = full;
        std::erase_if(expected, [&](const std::string& file) {
            return std::ranges::find(c.missing, file) != c.missing.end();
        });
        EXPECT_EQ(fake.shell.links, expected);
    }
}

// The main shortcut is named after the edition alone, without a trailing blank.
TEST_F(ShortcutsTest, MainNameWithoutAVersion) {
    plan.config.version_number.clear();
    Create();
    for (const std::string& file :
         {std::string(kGroup) + "\\Zinkolar.lnk", std::string("C:\\Desktop\\Zinkolar.lnk"),
          std::string("C:\\Quick Launch\\Zinkolar.lnk")})
        EXPECT_NE(std::ranges::find(fake.shell.links, file), fake.shell.links.end()) << file;
}

TEST_F(ShortcutsTest, NoStartMenuGroup) {
    struct Case {
        const char* name;
        bool start_menu;
        const char* programs_dir;
    };
    const Case cases[] = {{"group not chosen", false, "C:\\Start Menu\\Programs"},
                          {"no programs folder on this system", true, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        plan.start_menu_shortcuts = c.start_menu;
        plan.folders.programs_dir = c.programs_dir;
        fake.shell.links.clear();
        Create();
        EXPECT_EQ(fake.shell.links.size(), 3u);
        EXPECT_EQ(fake.shell.links[0], "C:\\SendTo\\Zinkolar.lnk");
        EXPECT_TRUE(common.empty());
        EXPECT_TRUE(log->Keys("folder").empty());
    }
}

TEST_F(ShortcutsTest, HelpFileFromTheLanguageFile) {
    struct Case {
        const char* language;
        const char* common_section;
        const char* help;
    };
    const Case cases[] = {
        {"Russian", "", "zinkolar.hlp"},
        {"English", "[COMMON]\r\nZinkolarHelp=zkeng.hlp\r\ncHelpLnk=%s Help\r\n", "zkeng.hlp"},
        {"German", "[COMMON]\r\ncHelpLnk=%s Hilfe\r\n", "zinkolar.hlp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        if (std::string(c.language) != "Russian")
            UseLanguage(c.language, c.common_section);
        EXPECT_EQ(install::HelpFileName(plan, language), c.help);
    }
    fake.shell.links.clear();
    UseLanguage("English", cases[1].common_section);
    Create();
    const auto link = fake.shell.ReadLink(std::string(kGroup) + "\\Zinkolar Help.lnk");
    ASSERT_TRUE(link.Ok());
    EXPECT_EQ(link->target, std::string(kDestination) + "\\zkeng.hlp");
}

TEST_F(ShortcutsTest, GroupFolderThatCannotBeMade) {
    fake.files.failures.Add({FakeOperation::CreateDirectory, kGroup});
    Create();
    EXPECT_EQ(LogValue("folder", kGroup), "0");
    EXPECT_EQ(fake.shell.links.size(), 3u);
}

}  // namespace
}  // namespace install_test
