#pragma once
// The program's vocabulary: every text key with its section and its built-in Russian text.
// Language files translate these keys; Russian needs no file.
#include <string_view>

namespace language {

// Section numbers of the text lookup; each stands for a section name of a language file
// (numbers 4 and 5 have none).
enum class TextSection : int {
    Common = 0,
    Zinkolar = 1,
    Manager = 2,
    Logbook = 3,
    Setup = 6,
    Uninstall = 7,
    Server = 8
};

struct TextKey {
    std::string_view key;
    TextSection section;
    std::string_view russian;  // the built-in text, UTF-8
};

namespace keys {

// Buttons and dialog titles.
inline constexpr TextKey cYes{"cYes", TextSection::Common, "Да"};
inline constexpr TextKey cNo{"cNo", TextSection::Common, "Нет"};
inline constexpr TextKey cOk{"cOk", TextSection::Common, "OK"};
inline constexpr TextKey cCancel{"cCancel", TextSection::Common, "Отмена"};
inline constexpr TextKey cInformation{"cInformation", TextSection::Common, "Информация"};
inline constexpr TextKey cSound6{"cSound6", TextSection::Zinkolar, "Предупреждение"};
inline constexpr TextKey cConfirm{"cConfirm", TextSection::Zinkolar, "Подтверждение"};
inline constexpr TextKey cError{"cError", TextSection::Zinkolar, "Ошибка"};
// Trailing blank.
inline constexpr TextKey cBack{"cBack", TextSection::Setup, "<< Назад "};
// Leading blank.
inline constexpr TextKey cNext{"cNext", TextSection::Setup, " Далее >>"};
inline constexpr TextKey cAccept{"cAccept", TextSection::Setup, "Согласен"};
inline constexpr TextKey cNotAccept{"cNotAccept", TextSection::Setup, "НЕ согласен"};
inline constexpr TextKey cInstallation{"cInstallation", TextSection::Setup, "Установка"};
inline constexpr TextKey cSelectAll{"cSelectAll", TextSection::Setup, "Выбрать все"};
inline constexpr TextKey cDeselectAll{"cDeselectAll", TextSection::Setup, "Снять все"};

// Welcome page, installation type and licence.
// Format text: product name, version number (the built-in text uses neither).
inline constexpr TextKey cWelcome{"cWelcome", TextSection::Setup, "Добро пожаловать!"};
inline constexpr TextKey cWarning1{"cWarning1", TextSection::Common, ""};
inline constexpr TextKey cWarning2{"cWarning2", TextSection::Common, ""};
inline constexpr TextKey cSelectLang{"cSelectLang", TextSection::Setup, "Выберите язык:"};
// Format text: product name, version number.
inline constexpr TextKey cTitle1{"cTitle1", TextSection::Setup,
                                 "Эта программа установит %s %s на Ваш компьютер."};
inline constexpr TextKey cInstallType{"cInstallType", TextSection::Setup, "Выберите тип установки"};
// The text itself quotes the two choices.
inline constexpr TextKey cTypeInstall{
    "cTypeInstall", TextSection::Setup,
    "При установке на рабочее место пользователя выберите вариант \"Клиент\". При установке на "
    "компьютер, оборудованный факс-модемом выберите вариант \"Сервер\""};
inline constexpr TextKey cSelectInstType{"cSelectInstType", TextSection::Setup,
                                         "Выберите вариант установки:"};
inline constexpr TextKey cServer{"cServer", TextSection::Server, "Сервер"};
inline constexpr TextKey cClient{"cClient", TextSection::Server, "Клиент"};
inline constexpr TextKey cLicense{"cLicense", TextSection::Setup, "Лицензионное соглашение"};
inline constexpr TextKey cIReadLicense{"cIReadLicense", TextSection::Setup, ""};
inline constexpr TextKey cReadLicense{"cReadLicense", TextSection::Setup,
                                      "Внимательно прочитайте Лицензионное соглашение:"};

// Destination folder, shortcuts, program group, file types, summary.
inline constexpr TextKey cSelectionDir{"cSelectionDir", TextSection::Setup,
                                       "Выбор папки для установки"};
inline constexpr TextKey cSelectDir{"cSelectDir", TextSection::Setup,
                                    "Выберите папку для установки:"};
inline constexpr TextKey cNeed{"cNeed", TextSection::Setup, "Требуется"};
inline constexpr TextKey cExest{"cExest", TextSection::Setup, "Имеется на диске"};
inline constexpr TextKey cMbyte{"cMbyte", TextSection::Setup, "Мбайт"};
inline constexpr TextKey cErrorVersion{"cErrorVersion", TextSection::Setup,
                                       "Вы не можете поставить 5-ю версию поверх 4-й. Измените "
                                       "папку для установки или удалите старую версию."};
inline constexpr TextKey cSizeError{"cSizeError", TextSection::Setup,
                                    "На выбранном диске недостаточно свободного места. Вы уверены, "
                                    "что хотите продолжить установку?"};
// Shown when the destination is not a full path.
inline constexpr TextKey cBadDir{"cBadDir", TextSection::Setup,
                                 "Укажите полный путь к папке для установки."};
// Shown for a folder or program group holding "=", which the installation log cannot record.
inline constexpr TextKey cBadDirChar{"cBadDirChar", TextSection::Setup,
                                     "Имя папки не может содержать знак \"=\"."};
inline constexpr TextKey cSelectLinks{"cSelectLinks", TextSection::Setup, "Создание значков"};
inline constexpr TextKey cSelectRunLinks{
    "cSelectRunLinks", TextSection::Setup,
    "Укажите, должна ли программа установки создавать значки на рабочем столе и в меню \"Пуск\""};
inline constexpr TextKey cAddInStart{"cAddInStart", TextSection::Setup,
                                     "Добавить группу программ в меню \"Пуск\""};
inline constexpr TextKey cAddDesktop{"cAddDesktop", TextSection::Setup,
                                     "Добавить значок на Рабочий стол"};
inline constexpr TextKey cAddQuickLaunch{"cAddQuickLaunch", TextSection::Setup,
                                         "Добавить значок на панель \"Быстрый Запуск\""};
inline constexpr TextKey cInputGroup{"cInputGroup", TextSection::Setup,
                                     "Введите название группы программ"};
inline constexpr TextKey cSelectGroup{"cSelectGroup", TextSection::Setup,
                                      "Выбор группы программ в меню Пуск"};
inline constexpr TextKey cSelectTypeFile{"cSelectTypeFile", TextSection::Setup,
                                         "Выбор типов файлов"};
inline constexpr TextKey cSelectExt{"cSelectExt", TextSection::Setup,
                                    "Выберите типы файлов для ассоциации с приложениями"};
inline constexpr TextKey cExt{"cExt", TextSection::Setup, "Расширение"};
inline constexpr TextKey cDescription{"cDescription", TextSection::Setup, "Описание"};
inline constexpr TextKey cCPFile{"cCPFile", TextSection::Setup, "Шаблон титульного листа"};
inline constexpr TextKey cFaxFile{"cFaxFile", TextSection::Setup, "Факсимильное сообщение"};
inline constexpr TextKey cPhoneBookFile{"cPhoneBookFile", TextSection::Setup,
                                        "Телефонный справочник"};
inline constexpr TextKey cLogBookFile{"cLogBookFile", TextSection::Setup, "Журнал"};
inline constexpr TextKey cMixFile{"cMixFile", TextSection::Setup, "Пакет голосовых сообщений"};
inline constexpr TextKey cScheduleFile{"cScheduleFile", TextSection::Setup, "Расписание"};
inline constexpr TextKey cScriptFile{"cScriptFile", TextSection::Setup,
                                     "Сценарий дистанционного управления"};
inline constexpr TextKey cInstallDir{"cInstallDir", TextSection::Setup, "Папка для установки"};
inline constexpr TextKey cStartGroup{"cStartGroup", TextSection::Setup, "Группа в меню Пуск"};
inline constexpr TextKey cCurrentSeting{"cCurrentSeting", TextSection::Setup, "Текущие установки"};
inline constexpr TextKey cAllReady{"cAllReady", TextSection::Setup, "Все готово к установке"};
inline constexpr TextKey cInstall{"cInstall", TextSection::Setup, "Установить"};
inline constexpr TextKey cReady{"cReady", TextSection::Setup, "Готово"};

// Finish page.
inline constexpr TextKey cRunNow{"cRunNow", TextSection::Setup, "Запустить программу"};
inline constexpr TextKey cRunProgGroup{"cRunProgGroup", TextSection::Setup,
                                       "Открыть программную группу"};

// Start-up checks, cancelling and running product applications.
// Format text: the library or function that failed to load.
inline constexpr TextKey msgLoadError{"msgLoadError", TextSection::Common,
                                      "Ошибка при загрузке %s"};
inline constexpr TextKey cRPCError{
    "cRPCError", TextSection::Setup,
    "Службы Print Spooler и/или Remote Procedure Call остановлены. Продолжение установки "
    "невозможно. Запустите службы и повторите установку."};
inline constexpr TextKey cPrDrvPathError{
    "cPrDrvPathError", TextSection::Setup,
    "Неизвестна папка для установки драйверов принтера. Продолжение может привести к некорректной "
    "установке виртуального принтера."};
inline constexpr TextKey cRealyAbort{"cRealyAbort", TextSection::Setup,
                                     "Вы действительно хотите прервать установку?"};
// Format text: the product name.
inline constexpr TextKey cAnyAppRun{
    "cAnyAppRun", TextSection::Setup,
    "Программа установки обнаружила, что запущено одно из приложений %s. Для продолжения установки "
    "необходимо завершить его работу. Завершить?"};
inline constexpr TextKey cErrCloseApp{
    "cErrCloseApp", TextSection::Setup,
    "Не удалось завершить работу приложения. Прервать установку?"};
// Format text: the product name.
inline constexpr TextKey cCloseAppCap{"cCloseAppCap", TextSection::Setup,
                                      "Завершение работы приложений %s"};

// Installation run and its results.
inline constexpr TextKey cFolderCreate{"cFolderCreate", TextSection::Setup, "Создание папок"};
inline constexpr TextKey cCopyFiles{"cCopyFiles", TextSection::Setup, "Копирование файлов"};
inline constexpr TextKey cCopyFile{"cCopyFile", TextSection::Setup, "Копируется файл"};
inline constexpr TextKey cErrorCopyFile{"cErrorCopyFile", TextSection::Setup,
                                        "Ошибка при копировании файла"};
inline constexpr TextKey ErCreate{"ErCreate", TextSection::Zinkolar, "Не создать файл"};
inline constexpr TextKey cAddInWinIni{"cAddInWinIni", TextSection::Setup,
                                      "Добавление информации в win.ini"};
// Format text: the platform's error code.
inline constexpr TextKey mesErWinIni{"mesErWinIni", TextSection::Zinkolar,
                                     "Ошибка %s при записи в win.ini"};
// Its first "H" and the "p"s are Latin letters, as the product has always shown them.
inline constexpr TextKey mesErReg{"mesErReg", TextSection::Zinkolar,
                                  "Hедостаточно пpав для записи в системный pеестp Windows"};
inline constexpr TextKey cPrinterUnInstall{"cPrinterUnInstall", TextSection::Setup,
                                           "Подготовка к установке \"виртуального принтера\""};
inline constexpr TextKey cPrinterInstall{"cPrinterInstall", TextSection::Setup,
                                         "Установка \"виртуального принтера\""};
inline constexpr TextKey cLinkCreate{"cLinkCreate", TextSection::Setup, "Создание ярлыков"};
inline constexpr TextKey cAddUninstallInfo{"cAddUninstallInfo", TextSection::Setup,
                                           "Добавление в реестр информации для деинсталляции"};
inline constexpr TextKey cExtReg{"cExtReg", TextSection::Setup, "Регистрация расширений файлов"};
inline constexpr TextKey cDelRepFiles{"cDelRepFiles", TextSection::Setup,
                                      "удаление/восстановление"};
inline constexpr TextKey cComplete{"cComplete", TextSection::Setup, "Завершение установки"};
// Format text: product name, version number.
inline constexpr TextKey cInstallOk{"cInstallOk", TextSection::Setup,
                                    "Установка %s %s успешно завершена."};
// Same key as cReady, asked in section COMMON at the end of the run.
inline constexpr TextKey cReadyCommon{"cReady", TextSection::Common, "Готово"};
inline constexpr TextKey cMailToAs{"cMailToAs", TextSection::Setup, "Напишите нам"};
// Format text: the edition name.
inline constexpr TextKey cDeleteZinkolar{"cDeleteZinkolar", TextSection::Setup, "Удаление %s"};
inline constexpr TextKey cHomePage{"cHomePage", TextSection::Common, "Официальный сайт поддержки"};
inline constexpr TextKey cApplication1{"cApplication1", TextSection::Common, "Журнал"};
inline constexpr TextKey cApplication2{"cApplication2", TextSection::Common,
                                       "Телефонный справочник"};
inline constexpr TextKey cApplication3{"cApplication3", TextSection::Common, "Менеджер сообщений"};
inline constexpr TextKey cApplication4{"cApplication4", TextSection::Common, "Расписание"};
inline constexpr TextKey cApplication5{"cApplication5", TextSection::Common, "Редактор сценариев"};
// Format text: the edition name.
inline constexpr TextKey cHelpLnk{"cHelpLnk", TextSection::Common, "Справка %s"};
inline constexpr TextKey cTutorial{"cTutorial", TextSection::Zinkolar, "Учебник"};

// Data conversion.
inline constexpr TextKey cConverLogBook{"cConverLogBook", TextSection::Setup,
                                        "Обнаружен журнал в старом формате. Конвертировать его в "
                                        "новый формат для дальнейшего использования?"};
inline constexpr TextKey cConvertingLogBook{"cConvertingLogBook", TextSection::Setup,
                                            "Конвертация журнала"};
inline constexpr TextKey cErrorConvertLogBook{"cErrorConvertLogBook", TextSection::Setup,
                                              "Ошибка при конвертации журнала в новый формат."};
inline constexpr TextKey cConvertPhoneBook{
    "cConvertPhoneBook", TextSection::Setup,
    "Обнаружен(ы) справочник(и) в старом формате. Конвертировать в новый формат для дальнейшего "
    "использования?"};
inline constexpr TextKey cConvertingPhoneBook{"cConvertingPhoneBook", TextSection::Setup,
                                              "Конвертация справочников"};
inline constexpr TextKey cErrorConvertPhoneBook{
    "cErrorConvertPhoneBook", TextSection::Setup,
    "Ошибка при конвертации справочника в новый формат."};

// Every key above, for checking that a language file translates them all.

// The uninstaller.
// The uninstaller's question; format text: the installation's title ("Zinkolar 5.0").
inline constexpr TextKey cUnQuestion{"cUnQuestion", TextSection::Uninstall,
                                     "Удалить %s и все его компоненты?"};
// The progress window's title; format text: the title.
inline constexpr TextKey cUnCaption{"cUnCaption", TextSection::Uninstall, "Удаление %s"};
inline constexpr TextKey cUnLibraries{"cUnLibraries", TextSection::Uninstall,
                                      "Удаление службы и \"виртуального принтера\""};
inline constexpr TextKey cUnShortcuts{"cUnShortcuts", TextSection::Uninstall, "Удаление ярлыков"};
inline constexpr TextKey cUnFiles{"cUnFiles", TextSection::Uninstall, "Удаление файлов"};
inline constexpr TextKey cUnSharedFiles{"cUnSharedFiles", TextSection::Uninstall,
                                        "Удаление общих файлов"};
inline constexpr TextKey cUnRegistry{"cUnRegistry", TextSection::Uninstall,
                                     "Удаление записей реестра"};
inline constexpr TextKey cUnFolders{"cUnFolders", TextSection::Uninstall, "Удаление папок"};
// The last message; format text: the title.
inline constexpr TextKey cUnDone{"cUnDone", TextSection::Uninstall, "%s удалён с компьютера."};
// Followed by one line for each item left.
inline constexpr TextKey cUnLeft{"cUnLeft", TextSection::Uninstall,
                                 "%s удалён с компьютера. Осталось:"};
// The lines of cUnLeft; format text: the item.
inline constexpr TextKey cUnNotRemoved{"cUnNotRemoved", TextSection::Uninstall,
                                       "%s: не удалось удалить (используется или нет доступа)"};
inline constexpr TextKey cUnUserFiles{"cUnUserFiles", TextSection::Uninstall,
                                      "%s: в папке остались Ваши файлы"};
inline constexpr TextKey cUnBackupKept{"cUnBackupKept", TextSection::Uninstall,
                                       "%s: сохранённая копия заменённого файла"};
inline constexpr TextKey cUnRefused{"cUnRefused", TextSection::Uninstall,
                                    "%s: запись журнала установки не выполнена"};
// Format text: the log's path.
inline constexpr TextKey cUnNoLog{"cUnNoLog", TextSection::Uninstall,
                                  "Не найден журнал установки %s: удаление невозможно."};
inline constexpr TextKey cUnAnotherRuns{
    "cUnAnotherRuns", TextSection::Uninstall,
    "Уже работает программа установки или удаления. Дождитесь её завершения."};

inline constexpr TextKey kAll[] = {cYes,
                                   cNo,
                                   cOk,
                                   cCancel,
                                   cInformation,
                                   cSound6,
                                   cConfirm,
                                   cError,
                                   cBack,
                                   cNext,
                                   cAccept,
                                   cNotAccept,
                                   cInstallation,
                                   cSelectAll,
                                   cDeselectAll,
                                   cWelcome,
                                   cWarning1,
                                   cWarning2,
                                   cSelectLang,
                                   cTitle1,
                                   cInstallType,
                                   cTypeInstall,
                                   cSelectInstType,
                                   cServer,
                                   cClient,
                                   cLicense,
                                   cIReadLicense,
                                   cReadLicense,
                                   cSelectionDir,
                                   cSelectDir,
                                   cNeed,
                                   cExest,
                                   cMbyte,
                                   cErrorVersion,
                                   cSizeError,
                                   cBadDir,
                                   cBadDirChar,
                                   cSelectLinks,
                                   cSelectRunLinks,
                                   cAddInStart,
                                   cAddDesktop,
                                   cAddQuickLaunch,
                                   cInputGroup,
                                   cSelectGroup,
                                   cSelectTypeFile,
                                   cSelectExt,
                                   cExt,
                                   cDescription,
                                   cCPFile,
                                   cFaxFile,
                                   cPhoneBookFile,
                                   cLogBookFile,
                                   cMixFile,
                                   cScheduleFile,
                                   cScriptFile,
                                   cInstallDir,
                                   cStartGroup,
                                   cCurrentSeting,
                                   cAllReady,
                                   cInstall,
                                   cReady,
                                   cRunNow,
                                   cRunProgGroup,
                                   msgLoadError,
                                   cRPCError,
                                   cPrDrvPathError,
                                   cRealyAbort,
                                   cAnyAppRun,
                                   cErrCloseApp,
                                   cCloseAppCap,
                                   cFolderCreate,
                                   cCopyFiles,
                                   cCopyFile,
                                   cErrorCopyFile,
                                   ErCreate,
                                   cAddInWinIni,
                                   mesErWinIni,
                                   mesErReg,
                                   cPrinterUnInstall,
                                   cPrinterInstall,
                                   cLinkCreate,
                                   cAddUninstallInfo,
                                   cExtReg,
                                   cDelRepFiles,
                                   cComplete,
                                   cInstallOk,
                                   cReadyCommon,
                                   cMailToAs,
                                   cDeleteZinkolar,
                                   cHomePage,
                                   cApplication1,
                                   cApplication2,
                                   cApplication3,
                                   cApplication4,
                                   cApplication5,
                                   cHelpLnk,
                                   cTutorial,
                                   cConverLogBook,
                                   cConvertingLogBook,
                                   cErrorConvertLogBook,
                                   cConvertPhoneBook,
                                   cConvertingPhoneBook,
                                   cErrorConvertPhoneBook,
                                   cUnQuestion,
                                   cUnCaption,
                                   cUnLibraries,
                                   cUnShortcuts,
                                   cUnFiles,
                                   cUnSharedFiles,
                                   cUnRegistry,
                                   cUnFolders,
                                   cUnDone,
                                   cUnLeft,
                                   cUnNotRemoved,
                                   cUnUserFiles,
                                   cUnBackupKept,
                                   cUnRefused,
                                   cUnNoLog,
                                   cUnAnotherRuns};

}  // namespace keys
}  // namespace language
