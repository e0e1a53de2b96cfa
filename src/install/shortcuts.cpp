#include "install/shortcuts.h"

#include "install/file_types.h"
#include "install/unchecked.h"
#include "language/format.h"
#include "script/shortcut.h"

namespace install {

namespace {

using language::FormatText;
namespace keys = language::keys;

void WriteInternetShortcut(platform::FileSystem& files, const platform::TextCodec& codec,
                           script::InstallLog& log, const std::string& path,
                           const std::string& url) {
    WriteFileOrThrow(files, path, codec.Utf8ToAnsi("[InternetShortcut]\r\nURL=" + url + "\r\n"));
    platform::IgnoreFailure(log.LogItem(script::kLogFile, path, true),
                            script::kRecordFailureThrows);
}

class ShortcutMaker {
  public:
    ShortcutMaker(const InstallationPlan& plan, platform::Shell& shell, script::InstallLog& log)
        : plan_(plan), shell_(shell), log_(log) {}

    // One link `folder`\`name`.lnk to `program` in the installation folder; none without a
    // folder, which an empty name means on this system.
    void Make(const std::string& folder, const std::string& name, const std::string& program,
              const std::string& arguments = {}) const {
        if (folder.empty())
            return;
        script::CreateShortcut(shell_, log_, plan_.destination + "\\" + program, arguments,
                               folder + "\\" + name + ".lnk", plan_.destination);
    }

  private:
    const InstallationPlan& plan_;
    platform::Shell& shell_;
    script::InstallLog& log_;
};

void CreateGroupShortcuts(const InstallationPlan& plan, const ShortcutMaker& maker,
                          const language::Language& language, const std::string& group) {
    const std::string edition = plan.EditionName();
    maker.Make(group, language.Lookup(keys::cMailToAs), "mailto.url");
    maker.Make(group, FormatText(language.Lookup(keys::cDeleteZinkolar), {edition}),
               "zkuninst.exe");
    maker.Make(group, language.Lookup(keys::cHomePage), "zinkolar.url");
    maker.Make(group, language.Lookup(keys::cApplication1), "logbook.exe");
    maker.Make(group, language.Lookup(keys::cApplication2), "phbook.exe");
    if (ScriptEditorInstalled(plan))
        maker.Make(group, language.Lookup(keys::cApplication5), "scripted.exe");
    maker.Make(group, language.Lookup(keys::cApplication3), "zkmanager.exe");
    maker.Make(group, language.Lookup(keys::cApplication4), "zksched.exe");
    if (!plan.config.tutorial.empty())
        maker.Make(group, language.Lookup(keys::cTutorial), "tutorial.url");
    maker.Make(group, plan.Title(), "zinkolar.exe");
    maker.Make(group, FormatText(language.Lookup(keys::cHelpLnk), {edition}),
               HelpFileName(plan, language));
}

}  // namespace

void WriteInternetShortcuts(const InstallationPlan& plan, platform::FileSystem& files,
                            const platform::TextCodec& codec, script::InstallLog& log) {
    const SetupConfig& config = plan.config;
    const std::string folder = plan.destination + "\\";
    WriteInternetShortcut(files, codec, log, folder + "zinkolar.url", "http://" + config.home_page);
    WriteInternetShortcut(files, codec, log, folder + "mailto.url", "mailto:" + config.mail_to);
    if (!config.tutorial.empty())
        WriteInternetShortcut(files, codec, log, folder + "tutorial.url",
                              "http://" + config.tutorial);
}

std::string HelpFileName(const InstallationPlan& plan, const language::Language& language) {
    const platform::Profile* file = language.File();
    if (plan.language == language::kBuiltInLanguage || file == nullptr)
        return plan.config.help_file;
    // An empty value names no file: the link would open the installation folder.
    std::string help = file->Read("COMMON", "ZinkolarHelp");
    return help.empty() ? plan.config.help_file : help;
}

void CreateProductShortcuts(
    const InstallationPlan& plan, const platform::Platform& platform, script::InstallLog& log,
    const language::Language& language,
    const std::function<void(const std::string&)>& create_common_shortcuts) {
    const ShortcutMaker maker(plan, platform.shell, log);
    if (plan.MakesProgramGroup()) {
        const std::string group = plan.GroupDir();
        platform::IgnoreFailure(
            log.LogItem(script::kLogFolder, group, platform.files.CreateDirectories(group).Ok()),
            script::kRecordFailureThrows);
        CreateGroupShortcuts(plan, maker, language, group);
        create_common_shortcuts(group);
    }
    maker.Make(plan.folders.send_to_dir, plan.EditionName(), "zinkolar.exe", "%1");
    if (plan.desktop_shortcut)
        maker.Make(plan.folders.desktop_dir, plan.Title(), "zinkolar.exe");
    if (plan.quick_launch_shortcut)
        maker.Make(plan.folders.quick_launch_dir, plan.Title(), "zinkolar.exe");
}

}  // namespace install
