// The real zkuninst.exe taking apart a real installation, checked from outside: the machine
// before the installation and after the removal differ only by the user's file and the folders
// that hold it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "driver/distribution.h"
#include "driver/setup_process.h"
#include "driver/strings.h"
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
    // The temporary copy of the uninstaller goes once it has ended.
    std::this_thread::sleep_for(std::chrono::seconds(2));
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

TEST(UninstallTest, WithoutAnInstallationEndsWith2) {
    const Destination dest;
    std::filesystem::create_directories(Wide(dest.Path()));
    std::filesystem::copy_file(Wide(kDistributions + "single\\zkuninst.exe"),
                               Wide(dest / "zkuninst.exe"));
    EXPECT_EQ(RunToEnd(Wide(dest.Path()), L"zkuninst.exe", "/VERYSILENT /SUPPRESSMSGBOXES"), 2u);
}

}  // namespace
