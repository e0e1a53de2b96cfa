// The deployment guide's recipes run as written: the command blocks of docs/deployment.md and
// the package manager's switches install unattended, leave the uninstall entry that the
// detection rules read, and the entry's quiet command removes the product again.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "driver/distribution.h"
#include "driver/setup_process.h"
#include "driver/strings.h"
#include "e2e_paths.h"
#include "single_installation.h"

namespace {

using namespace e2e;
namespace fs = std::filesystem;

const std::string kGuide = E2E_SOURCE_DIR "/docs/deployment.md";
const std::string kManifest = E2E_SOURCE_DIR "/docs/winget/Kelmo.Zinkolar.installer.yaml";
constexpr char kEntry[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zinkolar 5.0";
// The blocks of the guide that this file runs.
const std::set<std::string> kRunBlocks = {"install", "uninstall", "ansible", "gpo", "templates"};

// The fenced blocks of the guide by the name of the "<!-- e2e: name -->" line before them; a
// block without one is filed under "(unmarked)".
std::map<std::string, std::string> GuideBlocks() {
    std::map<std::string, std::string> blocks;
    std::string name;
    bool inside = false;
    for (const std::string& line : Lines(ReadBytes(HostPath(kGuide)))) {
        // A fence indented in a list counts too.
        if (Trimmed(line).starts_with("```")) {
            inside = !inside;
            if (inside && name.empty())
                name = "(unmarked)";
            if (!inside)
                name.clear();
        } else if (inside) {
            blocks[name] += line + "\n";
        } else if (line.starts_with("<!-- e2e: ") && line.ends_with(" -->")) {
            name = line.substr(10, line.size() - 14);
        }
    }
    return blocks;
}

std::string GuideBlock(const std::string& name) {
    const auto blocks = GuideBlocks();
    const auto found = blocks.find(name);
    if (found == blocks.end())
        throw std::runtime_error("no block \"" + name + "\" in " + kGuide);
    return found->second;
}

// A block of one command line.
std::string GuideCommand(const std::string& name) {
    const std::vector<std::string> lines = Lines(GuideBlock(name));
    if (lines.size() != 1)
        throw std::runtime_error("block \"" + name + "\" is not one command line");
    return lines[0];
}

// The values of "key: value" lines of a YAML text, in order.
std::vector<std::string> YamlValues(const std::string& text, const std::string& key) {
    std::vector<std::string> values;
    for (const std::string& line : Lines(text)) {
        const std::string trimmed = Trimmed(line);
        if (trimmed.starts_with(key + ": "))
            values.push_back(trimmed.substr(key.size() + 2));
    }
    return values;
}

std::string Without(const std::string& prefix, const std::string& text) {
    if (!text.starts_with(prefix))
        throw std::runtime_error("\"" + text + "\" does not start with \"" + prefix + "\"");
    return text.substr(prefix.size());
}

// The quoted value of a switch in a command line ("" when the switch has none or is absent).
std::string SwitchValue(const std::string& command, const std::string& name) {
    std::smatch match;
    return std::regex_search(command, match, std::regex("/" + name + "=\"([^\"]*)\""))
               ? match[1].str()
               : "";
}

std::string Expanded(const std::string& text) {
    wchar_t expanded[MAX_PATH] = {};
    ExpandEnvironmentStringsW(Wide(text).c_str(), expanded, MAX_PATH);
    return Utf8(expanded);
}

// Runs a command line as a deployment engine does: a program named without a folder is started
// in `folder`. Returns its exit code.
DWORD RunCommand(const std::string& command, const std::wstring& folder = {}) {
    const bool quoted = command.starts_with('"');
    const std::size_t end = quoted ? command.find('"', 1) + 1 : command.find(' ');
    std::string program = quoted ? command.substr(1, end - 2) : command.substr(0, end);
    const std::string arguments = end < command.size() ? command.substr(end + 1) : "";
    std::wstring where = folder;
    if (const auto slash = program.rfind('\\'); slash != std::string::npos) {
        where = Wide(program.substr(0, slash));
        program.erase(0, slash + 1);
    }
    const SetupProcess process(where, Wide(program), Wide(arguments));
    return process.WaitExit(kRunTimeout);
}

// The folder that holds the installation: the parent of /DIR, else that of the proposal.
std::string InstallationRoot(const std::string& command) {
    const std::string dir = SwitchValue(command, "DIR");
    return dir.empty() ? SpecialFolder(CSIDL_PROGRAM_FILES) + "\\Zinkolar"
                       : dir.substr(0, dir.rfind('\\'));
}

// The account a run wrote: the file of /LOG="file", or for a bare /LOG the one dated file
// that was not in TEMP before; none without /LOG.
class Account {
  public:
    explicit Account(const std::string& command)
        : path_(Expanded(SwitchValue(command, "LOG"))),
          dated_(std::regex_search(command, std::regex("/LOG( |$)"))) {
        if (dated_)
            before_ = DatedAccounts();
        else if (!path_.empty())
            fs::remove(Wide(path_));
    }
    ~Account() {
        std::error_code ignored;
        if (!Path().empty())
            fs::remove(Wide(Path()), ignored);
    }
    bool Given() const { return dated_ || !path_.empty(); }
    bool Dated() const { return dated_; }
    std::string Path() const {
        if (!dated_)
            return path_;
        std::vector<std::string> added;
        for (const std::string& name : DatedAccounts())
            if (!before_.contains(name))
                added.push_back(name);
        return added.size() == 1 ? Utf8((fs::temp_directory_path() / Wide(added[0])).wstring())
                                 : "";
    }
    std::string Text() const { return Path().empty() ? "" : ReadBytes(Wide(Path())); }

  private:
    static std::set<std::string> DatedAccounts() {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
            if (const std::string name = Utf8(entry.path().filename().wstring());
                name.starts_with("Zinkolar Setup Log "))
                names.insert(name);
        return names;
    }
    std::string path_;
    bool dated_;
    std::set<std::string> before_;
};

std::map<std::string, std::string> Entry() {
    return RegistryValues(std::string("HKEY_LOCAL_MACHINE\\") + kEntry);
}

// A machine without the product: the entry that earlier tests' installations left is gone, as
// a detection rule must find it absent before the first installation.
class WithoutTheProduct : public testing::Test {
  protected:
    void SetUp() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, Wide(kEntry).c_str()); }
};

// The installation's account and entry; returns the entry's QuietUninstallString.
std::string ExpectInstalled(const std::string& command, const Account& account,
                            const std::string& folder) {
    std::map<std::string, std::string> entry = Entry();
    EXPECT_FALSE(entry.empty()) << "no uninstall entry " << kEntry;
    EXPECT_EQ(entry["InstallLocation"], folder);
    EXPECT_TRUE(fs::exists(Wide(folder + "\\zinkolar.exe")));
    const std::string text = account.Text();
    EXPECT_NE(text.find("Exit code 0"), std::string::npos) << account.Path() << "\n" << text;
    if (account.Dated()) {
        SYSTEMTIME today;
        GetLocalTime(&today);
        char name[48];
        std::snprintf(name, sizeof name, "\\Zinkolar Setup Log %04d-%02d-%02d #", today.wYear,
                      today.wMonth, today.wDay);
        EXPECT_NE(account.Path().find(name), std::string::npos) << account.Path();
        EXPECT_NE(Lines(text).at(0).find("Account of the run: " + account.Path()),
                  std::string::npos)
            << text;
    }
    // Each switch the templates add is named in the account as one without effect.
    for (const char* added : {"/NORESTART", "/SP-", "/NOCANCEL", "/CLOSEAPPLICATIONS"}) {
        if (std::regex_search(command, std::regex(std::string(added) + "( |$)"))) {
            EXPECT_NE(text.find(std::string(added) + " accepted without effect ("),
                      std::string::npos)
                << added << "\n"
                << text;
        }
    }
    return entry["QuietUninstallString"];
}

void ExpectRemovedBy(const std::string& command, const std::string& folder) {
    EXPECT_EQ(RunCommand(command), 0u) << command;
    EXPECT_TRUE(Entry().empty()) << "the uninstall entry stays";
    // The uninstaller's copy hands the exit code back before it takes the last of the folder.
    WaitUntil([&] { return !fs::exists(Wide(folder)); }, kDefaultTimeout,
              "the installation folder gone");
}

struct Recipe {
    const char* name;
    // The arguments of setup.exe.
    std::string (*install)();
    // The removal's command line, from the entry's QuietUninstallString.
    std::string (*uninstall)(const std::string& quiet);
};

// Failures name the recipe.
void PrintTo(const Recipe& recipe, std::ostream* out) {
    *out << recipe.name;
}

class DeploymentRecipe : public WithoutTheProduct, public testing::WithParamInterface<Recipe> {};

TEST_P(DeploymentRecipe, InstallsAndTheQuietCommandRemoves) {
    const std::string arguments = GetParam().install();
    const Distribution distribution(kDistributions + "single");
    const Destination root(InstallationRoot(arguments));
    const std::string dir = SwitchValue(arguments, "DIR");
    const std::string folder = dir.empty() ? root / "Zinkolar 5" : dir;
    std::string quiet;
    {
        const Account account(arguments);
        ASSERT_EQ(RunCommand("setup.exe " + arguments, distribution.Folder()), 0u) << arguments;
        quiet = ExpectInstalled(arguments, account, folder);
    }
    const std::string removal = GetParam().uninstall(quiet);
    const Account account(removal);
    ExpectRemovedBy(removal, folder);
    if (account.Given()) {
        EXPECT_NE(account.Text().find("Exit code 0"), std::string::npos) << account.Path();
    }
}

std::string Quiet(const std::string& quiet) {
    return quiet;
}

INSTANTIATE_TEST_SUITE_P(
    Guide, DeploymentRecipe,
    testing::Values(
        // The manifest's silent switches, the package manager's log path in place of its field.
        Recipe{"PackageManager",
               [] {
                   const std::string manifest = ReadBytes(HostPath(kManifest));
                   const std::string log = Utf8(fs::temp_directory_path().wstring()) + "winget.log";
                   return YamlValues(manifest, "Silent").at(0) + " " +
                          std::regex_replace(YamlValues(manifest, "Log").at(0),
                                             std::regex("<LOGPATH>"), log);
               },
               Quiet},
        // Intune and Configuration Manager: the uninstall command is the entry's quiet one.
        Recipe{"IntuneAndConfigurationManager",
               [] { return Without("setup.exe ", GuideCommand("install")); },
               [](const std::string& quiet) {
                   EXPECT_EQ(GuideCommand("uninstall"), quiet);
                   return GuideCommand("uninstall");
               }},
        // win_package: the present task's arguments after the path; the absent task's after
        // the quiet command.
        Recipe{"Ansible", [] { return YamlValues(GuideBlock("ansible"), "arguments").at(0); },
               [](const std::string& quiet) {
                   return quiet + " " + YamlValues(GuideBlock("ansible"), "arguments").at(1);
               }},
        // The switches templates add, and the account under a dated name in TEMP.
        Recipe{"Templates", [] { return Without("setup.exe ", GuideCommand("templates")); },
               Quiet}),
    [](const testing::TestParamInfo<Recipe>& info) { return info.param.name; });

using DeploymentTest = WithoutTheProduct;

// Every block of the guide is one this file runs, and each of them is there.
TEST_F(DeploymentTest, EveryCommandOfTheGuideIsRun) {
    std::set<std::string> names;
    for (const auto& [name, text] : GuideBlocks())
        names.insert(name);
    EXPECT_EQ(names, kRunBlocks);
    for (const std::string& value : YamlValues(GuideBlock("ansible"), "product_id"))
        EXPECT_EQ(value, std::string(kEntry).substr(std::string(kEntry).rfind('\\') + 1));
}

// The start-up script installs on a machine without the entry; at the next start it finds the
// entry and starts nothing.
TEST_F(DeploymentTest, StartUpScriptInstallsOnlyWithoutTheEntry) {
    const std::string script = GuideBlock("gpo");
    const Distribution distribution(kDistributions + "single");
    const Destination root(InstallationRoot(script));
    const fs::path file = fs::temp_directory_path() / "zinkolar-startup.cmd";
    std::ofstream(file, std::ios::binary) << std::regex_replace(script, std::regex("\n"), "\r\n");
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    // As Group Policy starts it: the script with the distribution folder as its parameter.
    const std::wstring start =
        L"/d /c \"\"" + file.wstring() + L"\" \"" + distribution.Folder() + L"\"\"";
    {
        const Account account(script);
        EXPECT_EQ(SetupProcess(system, L"cmd.exe", start).WaitExit(kRunTimeout), 0u);
        ExpectInstalled(script, account, root / "Zinkolar 5");
    }
    {
        const Account account(script);
        EXPECT_EQ(SetupProcess(system, L"cmd.exe", start).WaitExit(kRunTimeout), 0u);
        EXPECT_FALSE(fs::exists(Wide(account.Path()))) << "setup ran again";
    }
    ExpectRemovedBy(Entry()["QuietUninstallString"], root / "Zinkolar 5");
    fs::remove(file);
}

}  // namespace
