// The uninstallation as a person meets it: the question, the running applications, the last
// message and the result the exit code is made of.
#include "uninstall/uninstall_run.h"
#include "ui/fake/headless_application.h"
#include "ui/fake/scripted_dialogs.h"
#include "uninstall_fixture.h"

namespace uninstall_test {
namespace {

using ui::DialogButton;
using uninstall::UninstallResult;

class UninstallRun : public UninstallTest {
  protected:
    UninstallRun() {
        Record("folder", In("Data"));
        Record("file", In("zinkolar.exe"));
        Record("file", In("zinkolar.ini"));
        fake.files.AddFile(In("install.ini"), LogText());
    }

    UninstallResult Run() {
        language.BuildList("Russian");
        language.Select(language.InitialIndex("Russian"));
        return uninstall::RunUninstall(kFolder, folders,
                                       {fake.Get(),
                                        language,
                                        dialogs,
                                        application,
                                        progress,
                                        [] {},
                                        [this] { ++begun; },
                                        {},
                                        {}});
    }

    language::Language language{fake.files, fake.codec, kFolder};
    ui::ScriptedDialogs dialogs;
    ui::HeadlessApplication application;
    script::CopyFilesForm progress;
    int begun = 0;  // times the removal began
};

TEST_F(UninstallRun, AskedYesRemovesAndSaysSo) {
    dialogs.Answer(DialogButton::Yes);
    EXPECT_EQ(Run(), UninstallResult::Removed);
    EXPECT_EQ(dialogs.Texts(),
              (std::vector<std::string>{"Удалить Zinkolar 5.0 и все его компоненты?",
                                        "Zinkolar 5.0 удалён с компьютера."}));
    EXPECT_FALSE(fake.files.DirectoryExists(kFolder));
    EXPECT_FALSE(progress.GetForm().Visible());
    EXPECT_EQ(begun, 1);
}

TEST_F(UninstallRun, DeclinedLeavesEverything) {
    dialogs.Answer(DialogButton::No);
    EXPECT_EQ(Run(), UninstallResult::Declined);
    EXPECT_TRUE(fake.files.FileExists(In("zinkolar.exe")));
    EXPECT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(begun, 0);
}

TEST_F(UninstallRun, WithoutALogNothingIsTouched) {
    fake.files.Remove(In("install.ini"));
    EXPECT_EQ(Run(), UninstallResult::NoInstallation);
    EXPECT_EQ(dialogs.Shown().at(0).id, "cUnNoLog");
    EXPECT_TRUE(fake.files.FileExists(In("zinkolar.exe")));
}

TEST_F(UninstallRun, TheLastMessageNamesWhatStaysAndWhy) {
    fake.files.AddFile(In("Data\\phones.zkb"), "the user's");
    fake.files.failures.Add(
        {platform::FakeOperation::Delete, "zinkolar.exe", platform::kErrorSharingViolation});
    dialogs.Answer(DialogButton::Yes);
    EXPECT_EQ(Run(), UninstallResult::Incomplete);
    EXPECT_EQ(dialogs.Shown().back().text,
              "Zinkolar 5.0 удалён с компьютера. Осталось:\n" + In("zinkolar.exe") +
                  ": не удалось удалить (используется или нет доступа)\n" + kFolder +
                  ": в папке остались Ваши файлы\n" + In("Data") + ": в папке остались Ваши файлы");
    EXPECT_EQ(dialogs.Shown().back().kind, ui::DialogKind::Warning);
}

// The applications are closed as the installation run closes them, and an abort ends the
// program before anything is removed.
TEST_F(UninstallRun, ApplicationsThatStayAbortTheUninstallation) {
    running = {"zinkolar.exe"};
    dialogs.Answer(DialogButton::Yes);  // remove?
    dialogs.Answer(DialogButton::Yes);  // close the applications?
    dialogs.Answer(DialogButton::Yes);  // they stay: abort?
    EXPECT_EQ(Run(), UninstallResult::Aborted);
    EXPECT_EQ(dialogs.Shown().at(1).id, "cAnyAppRun");
    EXPECT_EQ(dialogs.Shown().at(2).id, "cErrCloseApp");
    EXPECT_FALSE(fake.system.broadcasts.empty());
    EXPECT_TRUE(fake.files.FileExists(In("zinkolar.exe")));
    EXPECT_EQ(begun, 0);
}

TEST_F(UninstallRun, SpeaksTheLanguageTheInstallationUsed) {
    fake.files.AddFile(In("zinkolar.ini"), "[User]\r\nLanguage=English\r\n");
    fake.files.AddFile(In("English.lng"), "[Uninstall]\r\ncUnQuestion=Remove %s?\r\n");
    uninstall::SelectInstallationLanguage(language, fake.Get(), kFolder);
    EXPECT_EQ(language.Lookup(language::keys::cUnQuestion), "Remove %s?");
    fake.files.Remove(In("English.lng"));
    uninstall::SelectInstallationLanguage(language, fake.Get(), kFolder);
    EXPECT_EQ(language.Lookup(language::keys::cUnQuestion), "Удалить %s и все его компоненты?");
}

}  // namespace
}  // namespace uninstall_test
