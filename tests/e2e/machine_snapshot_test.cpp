// The machine snapshot of the end-to-end tests sees what an installation does, and only that.
#include "machine_snapshot.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/distribution.h"
#include "driver/setup_process.h"
#include "driver/strings.h"
#include "e2e_paths.h"
#include "single_installation.h"

namespace {

using namespace e2e;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(MachineSnapshotTest, UnattendedInstallationAddsOnlyWhatItInstalls) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    // As on a machine without the product: its entries are added, not changed.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                   L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zinkolar 5.0");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Kelmo");
    const MachineSnapshot before = TakeMachineSnapshot();
    {
        const SetupProcess setup(
            distribution.Folder(), L"setup.exe",
            Wide("/VERYSILENT /SUPPRESSMSGBOXES /DIR=\"" + dest.Path() + "\""));
        ASSERT_EQ(setup.WaitExit(kRunTimeout), 0u);
    }
    const std::vector<std::string> changes = SnapshotDifferences(before, TakeMachineSnapshot());

    const std::string uninstall =
        "+ reg64 HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
        "Zinkolar 5.0";
    EXPECT_TRUE(Contains(changes, "+ " + dest.Path()));
    EXPECT_TRUE(Contains(changes, "+ " + dest / "zinkolar.exe"));
    EXPECT_TRUE(Contains(changes, "+ " + dest / "install.ini"));
    EXPECT_TRUE(Contains(changes, uninstall));
    EXPECT_TRUE(Contains(
        changes, uninstall + ": \"InstallLocation\"=\"" + [&] {
            std::string escaped;
            for (const char c : dest.Path())
                escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
            return escaped;
        }() + "\""));
    EXPECT_TRUE(Contains(changes, "+ win.ini [Kelmo] Path=" + dest.Path()));
    EXPECT_TRUE(Contains(changes, "+ win.ini [Kelmo] Version=5.0"));

    // Nothing else than the installation's own files, shortcuts and registry entries.
    std::vector<std::string> own = {Lower(dest.Path()),
                                    Lower(SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\Zinkolar 5.0")};
    for (const Placed& file : SingleFiles(dest))
        own.push_back(Lower(file.destination));
    for (const Shortcut& shortcut : SingleShortcuts(dest))
        own.push_back(Lower(shortcut.file));
    const std::string key_parts[] = {
        "\\uninstall\\zinkolar 5.0",
        "\\kelmo",
        "\\app paths\\zinkolar.exe",
        "\\currentversion\\extensions",
        "\\shareddlls",
        "\\microsoft\\office",  // the word processor's values and the keys made for them
        "\\zinkolar.",
        "\\.mix",
        "\\.bzk",
        "\\.zka",
        "\\.zlg",
        "\\.zks",
        "\\.zkx",
        "\\.zkc",
    };
    for (const std::string& change : changes) {
        std::string line = Lower(change.substr(2));
        if (change.starts_with('~'))
            line.resize(line.rfind(" ("));
        const bool file = std::ranges::any_of(own, [&](const std::string& path) {
            return line.starts_with(path) &&
                   (line.size() == path.size() || line[path.size()] == '\\');
        });
        const bool key =
            line.starts_with("reg") && std::ranges::any_of(key_parts, [&](const std::string& part) {
                return line.substr(0, line.find(": ")).find(part) != std::string::npos;
            });
        EXPECT_TRUE(file || key || line.starts_with("win.ini [kelmo] ")) << change;
    }
}

}  // namespace
