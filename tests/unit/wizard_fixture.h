#pragma once
// A distribution in the fake platform, the wizard started on it, and the hands that press its
// buttons: the common ground of the wizard's tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "install/product_libraries.h"
#include "platform/fake/fake_platform.h"
#include "ui/fake/headless_application.h"
#include "ui/fake/scripted_dialogs.h"
#include "wizard/wizard.h"

namespace ui {

inline std::ostream& operator<<(std::ostream& out, ControlName name) {
    return out << name.Text();
}

}  // namespace ui

namespace wizard {

// A page in a failure message: its number.
inline void PrintTo(Page page, std::ostream* out) {
    *out << "page " << static_cast<int>(page);
}

}  // namespace wizard

namespace wizard_test {

using namespace wizard::controls;
using platform::RegistryRoot;
using ui::DialogButton;
using ui::DialogKind;
using wizard::Page;

inline constexpr char kProgramPath[] = "D:\\Setup\\setup.exe";
inline constexpr char kSourceDir[] = "D:\\Setup";
inline constexpr char kProgramFiles[] = "C:\\Program Files";
inline constexpr char kPrograms[] = "C:\\ProgramData\\Start Menu\\Programs";
inline constexpr char kDesktop[] = "C:\\Users\\Public\\Desktop";
inline constexpr char kAppData[] = "C:\\Users\\u\\AppData\\Roaming";
inline constexpr char kQuickLaunch[] =
    "C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch";
inline constexpr char kWindowsKey[] = "Software\\MicroSoft\\Windows\\CurrentVersion";
inline constexpr char kShellFoldersKey[] =
    "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr char kAppPathsKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zinkolar.exe";
inline constexpr std::int64_t kMegabyte = 1048576;

// Page titles in the built-in language, by page; the installation page ends on the finish page.
inline constexpr const char* kTitles[] = {
    "Добро пожаловать!",         "Выберите тип установки", "Лицензионное соглашение",
    "Выбор папки для установки", "Создание значков",       "Выбор группы программ в меню Пуск",
    "Выбор типов файлов",        "Все готово к установке", "Завершение установки",
};

inline constexpr char kRealyAbort[] = "Вы действительно хотите прервать установку?";

// The service library's GetVer reporting a fixed platform code.
template <install::ProductInt Code>
install::ProductInt PRODUCT_STDCALL GetVerOf() {
    return Code;
}

inline void* GetVerFunction(int code) {
    switch (code) {
        case 1:
            return reinterpret_cast<void*>(&GetVerOf<1>);
        case 2:
            return reinterpret_cast<void*>(&GetVerOf<2>);
        case 3:
            return reinterpret_cast<void*>(&GetVerOf<3>);
        case 4:
            return reinterpret_cast<void*>(&GetVerOf<4>);
        default:
            return reinterpret_cast<void*>(&GetVerOf<0>);  // the query failed
    }
}

class WizardTest : public testing::Test {
  protected:
    // A complete single-type distribution on a Windows 2000-family machine: C: with 1024 MB
    // free, D: (the distribution's drive) with 2048 MB, and the floppy drive A:.
    WizardTest() {
        fake.system.program_path = kProgramPath;
        fake.system.free_space = {{"c:\\", 1024 * kMegabyte}, {"d:\\", 2048 * kMegabyte}};
        fake.system.current_directories["d:"] = "D:\\Apps";
        SetPlatformCode(3);
        auto& res = fake.libraries.Add("res.dll");
        res.strings[101] = "Zinkolar";
        res.pictures["WIZARD"] = platform::Bitmap{1, 1, {0x123456}};
        fake.registry.Set(RegistryRoot::LocalMachine, kWindowsKey, "ProgramFilesDir",
                          kProgramFiles);
        fake.shell.folders = {{23, kPrograms}, {25, kDesktop}, {26, kAppData}};
        for (const char* folder : {kProgramFiles, kPrograms, kDesktop, kQuickLaunch}) {
            fake.files.AddDirectory(folder);
        }
        fake.files.AddDirectory(std::string(kProgramFiles) + "\\Common Files");
        fake.files.AddDirectory(std::string(kPrograms) + "\\Startup");
        fake.files.AddDirectory(std::string(kPrograms) + "\\Accessories");
        fake.files.AddFile(std::string(kPrograms) + "\\desktop.ini", "");
    }

    void SetPlatformCode(int code) {
        fake.libraries.Add(install::kServiceLibrary).functions[install::kGetVer] =
            GetVerFunction(code);
    }
    void MakeClientServer() { fake.libraries.Add("res.dll").strings[103] = "clientserver"; }

    // Stores a profile file the way the distribution holds it: in Windows-1251.
    void AddProfile(const std::string& name, const std::string& utf8) {
        fake.files.AddFile(std::string(kSourceDir) + "\\" + name, fake.codec.Utf8ToAnsi(utf8));
    }
    void AddLanguageFile(const std::string& name, const std::string& utf8) {
        AddProfile(name + ".lng", utf8);
    }

    // Writes setup.ini (unless write_setup_ini is false), creates the wizard and runs its
    // creation handler.
    void Start() {
        if (write_setup_ini) {
            std::string text = "[main]\r\n";
            for (const auto& [key, value] : main)
                text += key + "=" + value + "\r\n";
            AddProfile("setup.ini", text + setup_ini_sections);
        }
        wizard = std::make_unique<wizard::Wizard>(platform_, app, dialogs);
        wizard->Create();
    }

    ui::Form& Form() const { return wizard->GetForm(); }
    ui::Control& C(ui::ControlName name) const { return Form()[name]; }
    Page CurrentPage() const { return wizard->CurrentPage(); }
    // The title of the page on screen.
    const std::string& Title() const { return C(kTitle).Text(); }

    void Next() { C(kNextButton).Click(); }
    void Back() { C(kBackButton).Click(); }

    // Next from the current page until `page`, accepting the licence on the way.
    void WalkTo(Page page) {
        for (int steps = 0; CurrentPage() != page; ++steps) {
            if (steps > 12 || app.Terminating()) {
                ADD_FAILURE() << testing::PrintToString(page) << " not reached; stuck on "
                              << testing::PrintToString(CurrentPage());
                return;
            }
            if (CurrentPage() == Page::Licence)
                C(kAcceptButton).Click();
            Next();
        }
    }

    platform::FakePlatform fake;
    ui::HeadlessApplication app;
    ui::ScriptedDialogs dialogs;
    // setup.ini [main] and the sections after it.
    std::map<std::string, std::string> main = {{"ProductName", "Zinkolar"},
                                               {"VersionNumber", "5.0"},
                                               {"NeedDiskSpace", "52428800"},
                                               {"InstallPath", "Zinkolar"},
                                               {"Language", "Russian"}};
    std::string setup_ini_sections;
    bool write_setup_ini = true;
    std::unique_ptr<wizard::Wizard> wizard;

  private:
    platform::Platform platform_ = fake.Get();
};

}  // namespace wizard_test
