// setup.ini: [main] and the sections that name each language's files.
#include <algorithm>
#include <array>

#include "checker.h"
#include "language/language.h"
#include "script/script.h"

namespace zkdist {
namespace {

constexpr char kSetupIni[] = "setup.ini";
constexpr char kMain[] = "main";

struct NamedFile {
    const char* key;
    const char* fallback;
};
constexpr std::array<NamedFile, 4> kLanguageFiles = {{{"license", "license.txt"},
                                                      {"instructions9x", "read_9x.txt"},
                                                      {"instructionsNT", "read_nt.txt"},
                                                      {"instructions2K", "read_2k.txt"}}};

bool IsScriptSection(std::string_view section) {
    constexpr std::array<std::string_view, 8> kSections = {script::kDirectoryList,
                                                           script::kFileList,
                                                           script::kIfNotExist,
                                                           script::kBackup,
                                                           "Win9x",
                                                           "WinNT",
                                                           "Win2K",
                                                           script::kCommonShortcutList};
    return std::ranges::any_of(kSections, [&](std::string_view known) {
        return platform::EqualsIgnoreCase(section, known);
    });
}

void CheckMain(Checker& checker, const ProfileFile& setup) {
    const platform::Profile& profile = setup.Profile();
    const int main_line = setup.SectionLine(kMain);
    struct Needed {
        const char* key;
        const char* without;
    };
    constexpr std::array<Needed, 4> kNeeded = {{
        {"ProductName", "setup ends at start with its load error"},
        {"VersionNumber", "names and the uninstall entry carry no version"},
        {"InstallPath", "the proposed folder is the Program Files folder itself"},
        {"NeedDiskSpace", "no disk-space check, and the progress bar shows full at once"},
    }};
    for (const Needed& needed : kNeeded) {
        if (profile.Read(kMain, needed.key).empty())
            checker.Add(kSetupIni, main_line,
                        std::string("no [main] \"") + needed.key + "\": " + needed.without);
    }
    for (const char* number : {"NeedDiskSpace", "VersionCode", "VoiceVersion"}) {
        const std::string value = profile.Read(kMain, number);
        if (!value.empty() && !platform::ParseInteger(value))
            checker.Add(kSetupIni, setup.LineOf(kMain, number),
                        std::string("\"") + number + "\" is no number: it reads as 0");
    }
    if (platform::ParseInteger(profile.Read(kMain, "NeedDiskSpace")).value_or(0) < 0)
        checker.Add(kSetupIni, setup.LineOf(kMain, "NeedDiskSpace"),
                    "\"NeedDiskSpace\" is negative: no disk-space check");
    const std::string install_path = profile.Read(kMain, "InstallPath");
    if (install_path.starts_with('\\') || install_path.find(':') != std::string::npos ||
        install_path.find("..") != std::string::npos)
        checker.Add(kSetupIni, setup.LineOf(kMain, "InstallPath"),
                    "\"InstallPath\" must be relative to the Program Files folder");
}

}  // namespace

void CheckSetupIni(Checker& checker, bool client_server) {
    const ProfileFile& setup = checker.Profile(kSetupIni);
    if (!setup.Exists()) {
        checker.Add(kSetupIni, 0, "missing: setup ends at start with its load error");
        return;
    }
    CheckMain(checker, setup);

    std::string configured = setup.Profile().Read(kMain, "Language");
    if (configured.empty())
        configured = language::kBuiltInLanguage;
    language::Language languages(checker.files, checker.codec, checker.dist);
    languages.BuildList(configured);
    const std::vector<std::string>& offered = languages.List();
    if (!platform::EqualsIgnoreCase(configured, language::kBuiltInLanguage) &&
        std::ranges::none_of(offered, [&](const std::string& name) {
            return platform::EqualsIgnoreCase(name, configured);
        })) {
        checker.Add(kSetupIni, setup.LineOf(kMain, "Language"),
                    "\"Language\" is " + configured + ", but there is no " + configured +
                        ".lng: the wizard starts in " +
                        (offered.empty() ? std::string("the built-in texts") : offered.front()));
    }
    for (const std::string& name : offered) {
        for (const NamedFile& named : kLanguageFiles) {
            std::string file = setup.Profile().Read(name, named.key);
            const int line = file.empty() ? setup.SectionLine(name) : setup.LineOf(name, named.key);
            if (file.empty())
                file = named.fallback;
            if (!checker.files.FileExists(checker.PathOf(file)))
                checker.Add(
                    kSetupIni, line,
                    name + " \"" + named.key + "\": " + file + " is not in the distribution");
        }
    }
    for (const std::string& section : setup.Sections()) {
        const bool language = std::ranges::any_of(offered, [&](const std::string& name) {
            return platform::EqualsIgnoreCase(name, section);
        });
        if (platform::EqualsIgnoreCase(section, kMain) || language)
            continue;
        if (!IsScriptSection(section)) {
            checker.Add(kSetupIni, setup.SectionLine(section),
                        "[" + section + "] is read by nothing: no language " + section +
                            " is offered (no " + section + ".lng)");
        } else if (client_server) {
            checker.Add(kSetupIni, setup.SectionLine(section),
                        "[" + section +
                            "] is never read: a client/server distribution's scripts are "
                            "server.ini and client.ini");
        }
    }
}

}  // namespace zkdist
