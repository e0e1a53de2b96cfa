#pragma once
// The wizard as the end-to-end tests expect to see it: the texts of its pages in the built-in
// language and in the sample distribution's English.lng, where the sample distributions are,
// and where the pictures of a test go.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "driver/distribution.h"
#include "driver/wizard.h"
#include "driver/wizard_walk.h"
#include "e2e_paths.h"

namespace e2e {

// The file-type rows top to bottom: check box, icon and description label.
struct FileTypeRow {
    int box;
    const char* extension;
    int icon;
    int label;
};
inline constexpr std::array<FileTypeRow, 7> kFileTypeRows{{
    {WizardId(kFaxBox), "ZKX", WizardId(kFaxIcon), WizardId(kFaxText)},
    {WizardId(kCoverPageBox), "ZKC", WizardId(kCoverPageIcon), WizardId(kCoverPageText)},
    {WizardId(kLogBookBox), "ZLG", WizardId(kLogBookIcon), WizardId(kLogBookText)},
    {WizardId(kPhoneBookBox), "BZK", WizardId(kPhoneBookIcon), WizardId(kPhoneBookText)},
    {WizardId(kScheduleBox), "ZKS", WizardId(kScheduleIcon), WizardId(kScheduleText)},
    {WizardId(kMixBox), "MIX", WizardId(kMixIcon), WizardId(kMixText)},
    {WizardId(kScriptBox), "ZKA", WizardId(kScriptIcon), WizardId(kScriptText)},
}};
inline constexpr size_t kRemoteScriptRow = 6;

// Everything the wizard of the single-type sample distribution (Zinkolar 5.0) says in one
// language.
struct LanguageTexts {
    const char* name;  // the entry of the language list
    const char* licence_file;
    const char* caption;
    const char* back;
    const char* next;
    const char* cancel;
    const char* accept;
    const char* decline;
    const char* welcome;
    const char* welcome_text;
    const char* welcome_note;
    const char* select_language;
    const char* install_type;
    const char* install_type_text;
    const char* install_type_note;
    const char* client;
    const char* server;
    const char* licence;
    const char* licence_text;
    const char* licence_note;
    const char* destination;
    const char* destination_text;
    const char* need;
    const char* available;
    const char* megabytes;
    const char* shortcuts;
    const char* shortcuts_text;
    const char* start_menu;
    const char* desktop;
    const char* quick_launch;
    const char* select_all;
    const char* clear_all;
    const char* group;
    const char* group_text;
    const char* file_types;
    const char* file_types_text;
    const char* extension;
    const char* description;
    std::array<const char*, 7> type_names;  // in the order of kFileTypeRows
    const char* summary;
    const char* summary_heading;
    const char* summary_text;
    const char* install;
    const char* install_dir;
    const char* start_group;
    const char* finish;
    const char* finish_text;
    const char* finish_next;
    const char* run_now;
    const char* open_group;
    const char* confirm_title;
    const char* yes;
    const char* no;
    const char* really_abort;
};

inline constexpr LanguageTexts kRussian{
    .name = "Russian",
    .licence_file = "license.txt",
    .caption = "Установка Zinkolar 5.0",
    .back = "<< Назад ",
    .next = " Далее >>",
    .cancel = "Отмена",
    .accept = "Согласен",
    .decline = "НЕ согласен",
    .welcome = "Добро пожаловать!",
    .welcome_text = "Эта программа установит Zinkolar 5.0 на Ваш компьютер.",
    .welcome_note = " ",
    .select_language = "Выберите язык:",
    .install_type = "Выберите тип установки",
    .install_type_text = "Выберите вариант установки:",
    .install_type_note =
        "При установке на рабочее место пользователя выберите вариант "
        "\"Клиент\". При установке на компьютер, оборудованный факс-модемом "
        "выберите вариант \"Сервер\"",
    .client = "Клиент",
    .server = "Сервер",
    .licence = "Лицензионное соглашение",
    .licence_text = "Внимательно прочитайте Лицензионное соглашение:",
    .licence_note = "",
    .destination = "Выбор папки для установки",
    .destination_text = "Выберите папку для установки:",
    .need = "Требуется",
    .available = "Имеется на диске",
    .megabytes = "Мбайт",
    .shortcuts = "Создание значков",
    .shortcuts_text =
        "Укажите, должна ли программа установки создавать значки на рабочем столе "
        "и в меню \"Пуск\":",
    .start_menu = "Добавить группу программ в меню \"Пуск\"",
    .desktop = "Добавить значок на Рабочий стол",
    .quick_launch = "Добавить значок на панель \"Быстрый Запуск\"",
    .select_all = "Выбрать все",
    .clear_all = "Снять все",
    .group = "Выбор группы программ в меню Пуск",
    .group_text = "Введите название группы программ:",
    .file_types = "Выбор типов файлов",
    .file_types_text = "Выберите типы файлов для ассоциации с приложениями:",
    .extension = "Расширение",
    .description = "Описание",
    .type_names = {"Факсимильное сообщение", "Шаблон титульного листа", "Журнал",
                   "Телефонный справочник", "Расписание", "Пакет голосовых сообщений",
                   "Сценарий дистанционного управления"},
    .summary = "Все готово к установке",
    .summary_heading = "Текущие установки:",
    .summary_text = "Готово",
    .install = "Установить",
    .install_dir = "Папка для установки:",
    .start_group = "Группа в меню Пуск:",
    .finish = "Завершение установки",
    .finish_text = "Установка Zinkolar 5.0 успешно завершена.",
    .finish_next = "Готово",
    .run_now = "Запустить программу",
    .open_group = "Открыть программную группу",
    .confirm_title = "Подтверждение",
    .yes = "&Да",
    .no = "&Нет",
    .really_abort = "Вы действительно хотите прервать установку?",
};

inline constexpr LanguageTexts kEnglish{
    .name = "English",
    .licence_file = "license_en.txt",
    .caption = "Setup - Zinkolar 5.0",
    .back = "<< Back ",
    .next = " Next >>",
    .cancel = "Cancel",
    .accept = "I Agree",
    .decline = "I Do NOT Agree",
    .welcome = "Welcome!",
    .welcome_text = "This program will install Zinkolar 5.0 on your computer.",
    .welcome_note =
        "It is strongly recommended that you close all other programs before "
        "continuing. Click Next to continue, or Cancel to exit Setup.",
    .select_language = "Select a language:",
    .install_type = "Select the Installation Type",
    .install_type_text = "Choose an installation option:",
    .install_type_note =
        "To install on a user's workstation, choose \"Client\". To install on "
        "a computer equipped with a fax modem, choose \"Server\".",
    .client = "Client",
    .server = "Server",
    .licence = "License Agreement",
    .licence_text = "Please read the License Agreement carefully:",
    .licence_note =
        "You must accept the terms of the License Agreement to continue the "
        "installation.",
    .destination = "Select the Installation Folder",
    .destination_text = "Choose the folder to install into:",
    .need = "Required",
    .available = "Available on disk",
    .megabytes = "MB",
    .shortcuts = "Create Icons",
    .shortcuts_text =
        "Specify whether Setup should create icons on the desktop and in the "
        "Start menu:",
    .start_menu = "Add a program group to the Start menu",
    .desktop = "Add an icon to the desktop",
    .quick_launch = "Add an icon to the Quick Launch toolbar",
    .select_all = "Select All",
    .clear_all = "Clear All",
    .group = "Select a Program Group in the Start Menu",
    .group_text = "Enter the name of the program group:",
    .file_types = "Select File Types",
    .file_types_text = "Select the file types to associate with the applications:",
    .extension = "Extension",
    .description = "Description",
    .type_names = {"Fax message", "Cover page template", "Log book", "Phone book", "Schedule",
                   "Voice message package", "Remote control script"},
    .summary = "Ready to Install",
    .summary_heading = "Current settings:",
    .summary_text = "Setup is now ready to install the program on your computer.",
    .install = "Install",
    .install_dir = "Installation folder:",
    .start_group = "Start menu group:",
    .finish = "Installation Complete",
    .finish_text = "Zinkolar 5.0 has been installed successfully.",
    .finish_next = "Finish",
    .run_now = "Start the program",
    .open_group = "Open the program group",
    .confirm_title = "Confirm",
    .yes = "&Yes",
    .no = "&No",
    .really_abort = "Do you really want to cancel the installation?",
};

// Replaces a line of the distribution's setup.ini.
inline void ChangeSetupIni(const Distribution& distribution, std::string_view line,
                           std::string_view replacement) {
    std::string text = ReadBytes(distribution.Folder() + L"\\setup.ini");
    const auto at = text.find(line);
    if (at == std::string::npos) {
        throw std::runtime_error("setup.ini has no line " + std::string(line));
    }
    text.replace(at, line.size(), replacement);
    distribution.Write("setup.ini", text);
}

// Adds lines at the start of sections of the distribution's script: section -> lines.
inline void AddScriptLines(const Distribution& distribution,
                           const std::vector<std::pair<std::string, std::string>>& additions) {
    std::string setup = ReadBytes(distribution.Folder() + L"\\setup.ini");
    for (const auto& [section, added] : additions) {
        const std::size_t at = setup.find(section + "\r\n");
        if (at == std::string::npos) {
            throw std::runtime_error("setup.ini has no " + section);
        }
        setup.insert(at + section.size() + 2, added);
    }
    distribution.Write("setup.ini", setup);
}

// From the welcome or type page to the licence page, accepted.
inline void AcceptLicence(const WizardWalk& walk, const LanguageTexts& texts) {
    walk.Press(WizardId(kNextButton), texts.licence);
    walk.Control(WizardId(kAcceptButton)).Click();
    WaitUntil([&] { return walk.Control(WizardId(kNextButton)).Enabled(); }, kPageTimeout,
              "Next to be enabled by accepting the licence");
}

inline void WalkToDestination(const WizardWalk& walk, const LanguageTexts& texts) {
    AcceptLicence(walk, texts);
    walk.Press(WizardId(kNextButton), texts.destination);
}

// Clears both boxes of the finish page, so that nothing is started, and presses Next; gives the
// exit code of the program.
inline DWORD LeaveFinishPage(const WizardWalk& walk) {
    for (const int id : {WizardId(kRunProgramBox), WizardId(kOpenGroupBox)}) {
        const RemoteWindow box = walk.Control(id);
        if (box.Visible() && box.Checked()) {
            box.Click();
            WaitUntil([&] { return !box.Checked(); }, kPageTimeout, "a finish box to clear");
        }
    }
    walk.Control(WizardId(kNextButton)).Click();
    return walk.Setup().WaitExit();
}

}  // namespace e2e
