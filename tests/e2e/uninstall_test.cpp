// The real zkuninst.exe taking apart a real installation, checked from outside: the machine
// before the installation and after the removal differ only by the user's file and the folders
// that hold it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "driver/distribution.h"
#include "driver/message_dialog.h"
#include "driver/setup_process.h"
#include "driver/strings.h"
#include "driver/wait.h"
#include "e2e_paths.h"
#include "machine_snapshot.h"
#include "single_installation.h"

namespace {

using namespace e2e;

constexpr wchar_t kEntry[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zinkolar 5.0";

DWORD RunToEnd(const std::wstring& folder, std::wstring_view program, const std::string& switches) {
    const SetupProcess process(folder, program, Wide(switches));
    return process.WaitExit(kRunTimeout);
}

std::wstring ReadEntry(const wchar_t* value) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data;
    RegGetValueW(HKEY_LOCAL_MACHINE, kEntry, value, RRF_RT_REG_SZ, nullptr, data, &size);
    return data;
}

// The uninstaller's copies in the temporary folder: zkuninst-<process>.exe.
std::vector<std::filesystem::path> Copies() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    std::vector<std::filesystem::path> copies;
    for (const auto& entry : std::filesystem::directory_iterator(temp)) {
        const std::wstring name = entry.path().filename().wstring();
        if (name.starts_with(L"zkuninst-") && name.ends_with(L".exe"))
            copies.push_back(entry.path());
    }
    return copies;
}

// The copy's file goes by itself as the copy ends (no process is left to delete it, none has
// to be waited for); while it lies there the copy still runs.
void WaitUntilNoCopy() {
    WaitUntil([] { return Copies().empty(); }, kDefaultTimeout, "the uninstaller's copy gone");
}

// A quiet installation into dest, a phone book of the user's when asked for, and the quiet removal
// as a deployment tool runs it: the command of QuietUninstallString.
void InstallAndRemove(const Distribution& distribution, const Destination& dest, bool user_file) {
    ASSERT_EQ(RunToEnd(distribution.Folder(), L"setup.exe",
                       "/VERYSILENT /SUPPRESSMSGBOXES /DIR=\"" + dest.Path() + "\""),
              0u);
    if (user_file)
        std::ofstream(std::filesystem::path(Wide(dest / "Data\\phones.zkb")))
            << "the user's phone book";
    const std::wstring quiet = ReadEntry(L"QuietUninstallString");
    // The program in quotation marks where its path holds a blank.
    const bool quoted = quiet.starts_with(L'"');
    const std::size_t end = quoted ? quiet.find(L'"', 1) + 1 : quiet.find(L' ');
    ASSERT_NE(end, std::wstring::npos) << Utf8(quiet);
    const std::wstring program = quoted ? quiet.substr(1, end - 2) : quiet.substr(0, end);
    EXPECT_EQ(Utf8(program), dest / "zkuninst.exe");
    const SetupProcess uninstaller(program.substr(0, program.rfind(L'\\')), L"zkuninst.exe",
                                   quiet.substr(end + 1));
    EXPECT_EQ(uninstaller.WaitExit(kRunTimeout), 0u);
    EXPECT_NO_THROW(WaitUntilNoCopy());
}

// The first round clears what earlier tests left in the prefix; after it, a new installation
// into the same folder is a first one, and its removal leaves only the user's file.
TEST(UninstallTest, QuietRemovalLeavesOnlyTheUsersFile) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    InstallAndRemove(distribution, dest, false);
    const MachineSnapshot before = TakeMachineSnapshot();
    InstallAndRemove(distribution, dest, true);

    const std::vector<std::string> expected = {"+ " + dest.Path(), "+ " + (dest / "Data"),
                                               "+ " + (dest / "Data\\phones.zkb")};
    EXPECT_EQ(SnapshotDifferences(before, TakeMachineSnapshot()), expected);
}

// The program's own file and folder go a moment after it ends: its copy deletes them.
void WaitUntilGone(const std::string& path) {
    WaitUntil([&] { return !std::filesystem::exists(Wide(path)); }, kDefaultTimeout,
              path + " gone");
}

// A message dialog of the uninstaller.
MessageDialog WaitAnyDialog() {
    return WaitFor(
        [] {
            const HWND window = FindWindowW(L"#32770", nullptr);
            return window != nullptr && IsWindowVisible(window)
                       ? std::optional(MessageDialog(RemoteWindow(window)))
                       : std::nullopt;
        },
        kRunTimeout, "a message dialog of the uninstaller");
}

// Started as the group's shortcut starts it, the question answered: the user's cover page that
// the installation replaced is back, the user's phone book and its folders stay.
TEST(UninstallTest, StartedFromTheGroupPutsBackAReplacedFile) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    std::filesystem::create_directories(Wide(dest.Path()));
    std::ofstream(std::filesystem::path(Wide(dest / "cover.zkc"))) << "the user's cover";
    ASSERT_EQ(RunToEnd(distribution.Folder(), L"setup.exe",
                       "/VERYSILENT /SUPPRESSMSGBOXES /DIR=\"" + dest.Path() + "\""),
              0u);
    std::ofstream(std::filesystem::path(Wide(dest / "Data\\phones.zkb"))) << "phones";

    const SetupProcess uninstaller(Wide(dest.Path()), L"zkuninst.exe");
    const MessageDialog question = WaitAnyDialog();
    EXPECT_NE(question.Text().find("Удалить Zinkolar 5.0 и все его компоненты?"), std::string::npos)
        << question.Text();
    question.Press("&Да");
    WaitUntil([&] { return !question.Window().Visible(); }, kRunTimeout, "the question closed");
    const MessageDialog last = WaitAnyDialog();
    EXPECT_NE(last.Text().find(dest / "Data"), std::string::npos) << last.Text();
    last.Press("OK");
    EXPECT_EQ(uninstaller.WaitExit(kRunTimeout), 0u);
    EXPECT_NO_THROW(WaitUntilGone(dest / "zkuninst.exe"));

    std::ifstream cover(std::filesystem::path(Wide(dest / "cover.zkc")));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(cover), {}), "the user's cover");
    for (const char* gone : {"Backup", "zkuninst.exe", "install.ini", "zinkolar.exe"})
        EXPECT_FALSE(std::filesystem::exists(Wide(dest / gone))) << gone;
    EXPECT_TRUE(std::filesystem::exists(Wide(dest / "Data\\phones.zkb")));
}

// A running application of the product is asked to close, as setup asks, and its file goes.
TEST(UninstallTest, ARunningApplicationIsClosedFirst) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    ASSERT_EQ(RunToEnd(distribution.Folder(), L"setup.exe",
                       "/VERYSILENT /SUPPRESSMSGBOXES /DIR=\"" + dest.Path() + "\""),
              0u);
    const SetupProcess application(Wide(dest.Path()), L"zinkolar.exe");
    application.WaitWindow("ZinkolarStandIn");
    // Outside the folder, which holds nothing of the test's own.
    const std::string account = dest.Path() + ".log";
    EXPECT_EQ(RunToEnd(Wide(dest.Path()), L"zkuninst.exe",
                       "/VERYSILENT /SUPPRESSMSGBOXES /LOG=\"" + account + "\""),
              0u);
    EXPECT_FALSE(application.Running());
    EXPECT_NO_THROW(WaitUntilGone(dest.Path()));
    // The copy adds its lines to the account after the program's last one, and closes it as it
    // ends.
    EXPECT_NO_THROW(WaitUntilNoCopy());
    const std::string text = ReadBytes(Wide(account));
    const std::size_t exit_line = text.find(" Exit code 0\r\n");
    const std::size_t copy_line = text.find(" Done: delete file " + dest / "zkuninst.exe");
    EXPECT_NE(exit_line, std::string::npos);
    EXPECT_NE(copy_line, std::string::npos);
    EXPECT_LT(exit_line, copy_line);
    EXPECT_TRUE(text.ends_with(" Done: remove folder " + dest.Path() + "\r\n"));
    if (HasFailure())
        ADD_FAILURE() << "the account:\n" << text;
    std::filesystem::remove(Wide(account));
}

TEST(UninstallTest, WithoutAnInstallationEndsWith2) {
    const Destination dest;
    std::filesystem::create_directories(Wide(dest.Path()));
    std::filesystem::copy_file(Wide(kDistributions + "single\\zkuninst.exe"),
                               Wide(dest / "zkuninst.exe"));
    EXPECT_EQ(RunToEnd(Wide(dest.Path()), L"zkuninst.exe", "/VERYSILENT /SUPPRESSMSGBOXES"), 2u);
}

}  // namespace
