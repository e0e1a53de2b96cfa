// The real zkuninst.exe taking apart a real installation, checked from outside: the machine
// before the installation and after the removal differ only by the user's file and the folders
// that hold it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
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

TEST(UninstallTest, QuietRemovalLeavesOnlyTheUsersFile) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    const MachineSnapshot before = TakeMachineSnapshot();
    ASSERT_EQ(RunToEnd(distribution.Folder(), L"setup.exe",
                       "/VERYSILENT /SUPPRESSMSGBOXES /DIR=\"" + dest.Path() + "\""),
              0u);
    std::ofstream(std::filesystem::path(Wide(dest / "Data\\phones.zkb")))
        << "the user's phone book";

    // As a deployment tool runs it: the command of QuietUninstallString.
    const std::wstring quiet = ReadEntry(L"QuietUninstallString");
    const std::size_t end = quiet.find(L'"', 1);
    ASSERT_TRUE(quiet.starts_with(L'"') && end != std::wstring::npos) << Utf8(quiet);
    const std::wstring program = quiet.substr(1, end - 1);
    EXPECT_EQ(Utf8(program), dest / "zkuninst.exe");
    const SetupProcess uninstaller(program.substr(0, program.rfind(L'\\')), L"zkuninst.exe",
                                   quiet.substr(end + 2));
    EXPECT_EQ(uninstaller.WaitExit(kRunTimeout), 0u);

    const std::vector<std::string> expected = {"+ " + dest.Path(), "+ " + (dest / "Data"),
                                               "+ " + (dest / "Data\\phones.zkb")};
    std::vector<std::string> differences = SnapshotDifferences(before, TakeMachineSnapshot());
    // The test's own parent folder may be new.
    std::erase(differences, "+ C:\\ZkE2E");
    EXPECT_EQ(differences, expected);
}

TEST(UninstallTest, WithoutAnInstallationEndsWith2) {
    const Destination dest;
    std::filesystem::create_directories(Wide(dest.Path()));
    std::filesystem::copy_file(Wide(kDistributions + "single\\zkuninst.exe"),
                               Wide(dest / "zkuninst.exe"));
    EXPECT_EQ(RunToEnd(Wide(dest.Path()), L"zkuninst.exe", "/VERYSILENT /SUPPRESSMSGBOXES"), 2u);
}

}  // namespace
