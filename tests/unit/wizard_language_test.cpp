// Applying a language to the wizard: every fixed caption, the dialog caption and application
// title, and the language's licence and instructions files.
#include <algorithm>

#include "wizard_fixture.h"

namespace wizard_test {
namespace {

// The controls whose captions the language sets, with their key, section and built-in text.
struct Caption {
    ui::ControlName control;
    const char* key;
    const char* section;
    const char* russian;
};

const Caption kCaptions[] = {
    {kBackButton, "cBack", "SETUP", "<< Назад "},
    {kNextButton, "cNext", "SETUP", " Далее >>"},
    {kAcceptButton, "cAccept", "SETUP", "Согласен"},
    {kDeclineButton, "cNotAccept", "SETUP", "НЕ согласен"},
    {kCancelButton, "cCancel", "COMMON", "Отмена"},
    {kLanguagePrompt, "cSelectLang", "SETUP", "Выберите язык:"},
    {kExtensionHeading, "cExt", "SETUP", "Расширение"},
    {kDescriptionHeading, "cDescription", "SETUP", "Описание"},
    {kCoverPageText, "cCPFile", "SETUP", "Шаблон титульного листа"},
    {kFaxText, "cFaxFile", "SETUP", "Факсимильное сообщение"},
    {kPhoneBookText, "cPhoneBookFile", "SETUP", "Телефонный справочник"},
    {kLogBookText, "cLogBookFile", "SETUP", "Журнал"},
    {kMixText, "cMixFile", "SETUP", "Пакет голосовых сообщений"},
    {kScheduleText, "cScheduleFile", "SETUP", "Расписание"},
    {kScriptText, "cScriptFile", "SETUP", "Сценарий дистанционного управления"},
    {kStartMenuBox, "cAddInStart", "SETUP", "Добавить группу программ в меню \"Пуск\""},
    {kDesktopBox, "cAddDesktop", "SETUP", "Добавить значок на Рабочий стол"},
    {kQuickLaunchBox, "cAddQuickLaunch", "SETUP", "Добавить значок на панель \"Быстрый Запуск\""},
    {kRunProgramBox, "cRunNow", "SETUP", "Запустить программу"},
    {kOpenGroupBox, "cRunProgGroup", "SETUP", "Открыть программную группу"},
    {kServerRadio, "cServer", "SERVER", "Сервер"},
    {kClientRadio, "cClient", "SERVER", "Клиент"},
    {kAllButton, "cSelectAll", "SETUP", "Выбрать все"},
    {kNoneButton, "cDeselectAll", "SETUP", "Снять все"},
};

// A language file translating every caption as "en:" + key; the format texts keep their
// placeholders. Keys in `left_out` are missing.
std::string EnglishFile(const std::vector<std::string>& left_out = {}) {
    std::map<std::string, std::string> sections = {
        {"SETUP",
         "cWelcome=en:cWelcome %s %s\r\ncTitle1=en:cTitle1 %s %s\r\n"
         "cInstallation=en:cInstallation\r\ncLicense=en:cLicense\r\ncRealyAbort=en:"
         "cRealyAbort\r\n"},
        {"COMMON", "cWarning1=en:cWarning1\r\ncWarning2=en:cWarning2\r\ncYes=en:cYes\r\n"},
        {"SERVER", ""}};
    for (const Caption& c : kCaptions) {
        if (std::find(left_out.begin(), left_out.end(), c.key) == left_out.end()) {
            sections[c.section].append(c.key).append("=en:").append(c.key).append("\r\n");
        }
    }
    std::string text;
    for (const auto& [name, lines] : sections) {
        text.append("[").append(name).append("]\r\n").append(lines);
    }
    return text;
}

class WizardLanguage : public WizardTest {
  protected:
    void ChooseLanguage(const std::string& name) {
        const auto& items = C(kLanguageList).Items();
        const auto found = std::find(items.begin(), items.end(), name);
        ASSERT_NE(found, items.end()) << name;
        C(kLanguageList).Choose(static_cast<int>(found - items.begin()));
    }
    void ExpectRussian() {
        for (const Caption& c : kCaptions)
            EXPECT_EQ(C(c.control).Text(), c.russian) << c.control;
        EXPECT_EQ(C(kTitle).Text(), "Добро пожаловать!");
        EXPECT_EQ(C(kNote).Text(), " ");
        EXPECT_EQ(C(kPrompt).Text(), "Эта программа установит Zinkolar 5.0 на Ваш компьютер.");
        EXPECT_EQ(Form().Caption(), "Установка Zinkolar 5.0");
        EXPECT_EQ(app.title, "Установка Zinkolar 5.0");
    }
};

TEST_F(WizardLanguage, BuiltInTextsAtStart) {
    AddLanguageFile("English", EnglishFile());
    Start();
    EXPECT_EQ(C(kLanguageList).SelectedItem(), "Russian");
    ExpectRussian();
}

TEST_F(WizardLanguage, SwitchingRelabelsEveryFixedCaptionAndBack) {
    AddLanguageFile("English", EnglishFile());
    Start();
    ChooseLanguage("English");
    for (const Caption& c : kCaptions) {
        EXPECT_EQ(C(c.control).Text(), std::string("en:") + c.key) << c.control;
    }
    EXPECT_EQ(C(kTitle).Text(), "en:cWelcome Zinkolar 5.0");
    EXPECT_EQ(C(kNote).Text(), "en:cWarning1 en:cWarning2");
    EXPECT_EQ(C(kPrompt).Text(), "en:cTitle1 Zinkolar 5.0");
    EXPECT_EQ(Form().Caption(), "en:cInstallation Zinkolar 5.0");
    EXPECT_EQ(app.title, Form().Caption());

    ChooseLanguage("Russian");
    ExpectRussian();
}

TEST_F(WizardLanguage, MissingKeyShowsTheKeyUntilRussianIsBack) {
    AddLanguageFile("English", EnglishFile({"cBack"}));
    Start();
    ChooseLanguage("English");
    EXPECT_EQ(C(kBackButton).Text(), "?cBack");
    EXPECT_EQ(C(kNextButton).Text(), "en:cNext");
    ChooseLanguage("Russian");
    EXPECT_EQ(C(kBackButton).Text(), "<< Назад ");
}

TEST_F(WizardLanguage, PagesAndDialogsFollowTheLanguage) {
    AddLanguageFile("English", EnglishFile());
    Start();
    ChooseLanguage("English");
    Next();
    EXPECT_EQ(Title(), "en:cLicense");
    dialogs.Answer(DialogButton::No);
    C(kCancelButton).Click();
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].text, "en:cRealyAbort");
    EXPECT_EQ(dialogs.Shown()[0].captions, (std::vector<std::string>{"&en:cYes", "&?cNo"}));
}

// The language list: one entry per language file, named without ".lng", and Russian when it is
// the configured language.
struct ListCase {
    const char* name;
    const char* configured;
    std::vector<std::string> files;
    std::vector<std::string> items;
    const char* selected;
};

class WizardLanguageChoice : public WizardLanguage, public testing::WithParamInterface<ListCase> {};

TEST_P(WizardLanguageChoice, ListsTheFilesAndSelectsTheConfiguredOne) {
    const ListCase& c = GetParam();
    main["Language"] = c.configured;
    for (const auto& file : c.files)
        AddLanguageFile(file, "[SETUP]\r\ncBack=" + file + "\r\n");
    Start();
    EXPECT_EQ(C(kLanguageList).Items(), c.items);
    EXPECT_EQ(C(kLanguageList).SelectedItem(), c.selected);
    const std::string selected = c.selected;
    EXPECT_EQ(C(kBackButton).Text(),
              selected.empty() || selected == "Russian" ? "<< Назад " : selected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardLanguageChoice,
    testing::Values(
        ListCase{"Russian",
                 "Russian",
                 {"German", "English"},
                 {"English", "German", "Russian"},
                 "Russian"},
        ListCase{
            "ConfiguredFile", "english", {"English", "German"}, {"English", "German"}, "English"},
        ListCase{"UnknownTakesTheFirst",
                 "French",
                 {"German", "English"},
                 {"English", "German"},
                 "English"},
        ListCase{"DotsInTheName", "Russian", {"Eng.v2"}, {"Eng.v2", "Russian"}, "Russian"},
        ListCase{"NothingToList", "French", {}, {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The licence and instructions files come from the language's section of setup.ini.
struct DocumentsCase {
    const char* name;
    const char* language;
    int platform_code;
    const char* sections;
    const char* license;
    const char* instructions;
};

class WizardLanguageDocuments : public WizardLanguage,
                                public testing::WithParamInterface<DocumentsCase> {};

TEST_P(WizardLanguageDocuments, AreReadFromTheLanguageSection) {
    const DocumentsCase& c = GetParam();
    SetPlatformCode(c.platform_code);
    setup_ini_sections = c.sections;
    AddLanguageFile("English", EnglishFile());
    Start();
    ChooseLanguage(c.language);
    EXPECT_EQ(wizard->Config().license_file, c.license);
    EXPECT_EQ(wizard->Config().instructions_file, c.instructions);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardLanguageDocuments,
    testing::Values(
        DocumentsCase{"RussianWithoutSection", "Russian", 3, "", "license.txt", "read_2k.txt"},
        DocumentsCase{"EnglishLicence", "English", 3, "[English]\r\nlicense=license_en.txt\r\n",
                      "license_en.txt", "read_2k.txt"},
        DocumentsCase{"OtherSectionIgnored", "Russian", 3,
                      "[English]\r\nlicense=license_en.txt\r\n", "license.txt", "read_2k.txt"},
        DocumentsCase{"NtDefault", "English", 2, "[English]\r\ninstructions2K=2k_en.txt\r\n",
                      "license.txt", "read_nt.txt"},
        DocumentsCase{"NtFromSection", "English", 2, "[English]\r\ninstructionsNT=nt_en.txt\r\n",
                      "license.txt", "nt_en.txt"},
        DocumentsCase{"Windows9x", "Russian", 1,
                      "[Russian]\r\ninstructions9x=9x.txt\r\nlicense=lic.rtf\r\n", "lic.rtf",
                      "9x.txt"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WizardLanguage, LicencePageShowsTheLanguagesLicence) {
    setup_ini_sections = "[English]\r\nlicense=license_en.txt\r\n";
    AddLanguageFile("English", EnglishFile());
    fake.files.AddFile(std::string(kSourceDir) + "\\license.txt", "ru");
    fake.files.AddFile(std::string(kSourceDir) + "\\license_en.txt", "en");
    Start();
    ChooseLanguage("English");
    Next();
    EXPECT_EQ(C(kTextViewer).Content(), "en");
    Back();
    ChooseLanguage("Russian");
    Next();
    EXPECT_EQ(C(kTextViewer).Content(), "ru");
}

}  // namespace
}  // namespace wizard_test
