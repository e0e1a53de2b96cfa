#pragma once
// The ground of the installation steps' tests: a plan for a single-type voice distribution
// installed into C:\Program Files\Zinkolar, the fake platform, the built-in language, the
// installation log in that folder, and scripted dialogs.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "install/installation_plan.h"
#include "language/language.h"
#include "platform/fake/fake_platform.h"
#include "platform/profile.h"
#include "script/install_log.h"
#include "ui/fake/headless_application.h"
#include "ui/fake/scripted_dialogs.h"

namespace install_test {

using platform::RegistryRoot;

inline constexpr char kSourceDir[] = "D:\\Setup";
inline constexpr char kDestination[] = "C:\\Program Files\\Zinkolar";
inline constexpr char kLogFile[] = "C:\\Program Files\\Zinkolar\\install.ini";

class InstallTest : public testing::Test {
  protected:
    InstallTest() {
        plan.config.source_dir = kSourceDir;
        plan.config.product_name = "Zinkolar";
        plan.config.version_number = "5.0";
        plan.config.install_path = "Zinkolar";
        plan.config.mail_to = "support@kelmo.example";
        plan.config.home_page = "www.kelmo.example";
        plan.config.search_sub_str = "zkvh5";
        plan.config.short_product_name = "ZK";
        plan.config.instructions_file = "readme.txt";
        plan.config.help_file = "zinkolar.hlp";
        plan.folders.program_files_dir = "C:\\Program Files\\";
        plan.folders.programs_dir = "C:\\Start Menu\\Programs";
        plan.folders.desktop_dir = "C:\\Desktop";
        plan.folders.quick_launch_dir = "C:\\Quick Launch";
        plan.folders.send_to_dir = "C:\\SendTo";
        plan.destination = kDestination;
        plan.program_group = "Zinkolar";
        plan.language = "Russian";
        plan.file_types.fill(true);
        for (const std::string& folder : {plan.folders.desktop_dir, plan.folders.quick_launch_dir,
                                          plan.folders.send_to_dir, plan.destination})
            fake.files.AddDirectory(folder);
        language.BuildList("Russian");
        language.Select(language.BuiltInIndex());
        ResetLog();
    }

    // An empty log.
    void ResetLog() {
        log.reset();
        fake.files.Remove(kLogFile);
        platform::Result<void> error;
        log = script::OpenInstallLog(fake.files, fake.codec, kLogFile, error);
        ASSERT_TRUE(log) << error.code();
    }
    // A record's value as a reader of the file sees it (names lose their outer blanks); nullopt
    // without the record.
    std::optional<std::string> LogValue(std::string_view section, std::string_view key) const {
        while (key.ends_with(' '))
            key.remove_suffix(1);
        const auto keys = log->Keys(section);
        if (std::ranges::none_of(
                keys, [&](const std::string& k) { return platform::EqualsIgnoreCase(k, key); }))
            return std::nullopt;
        return platform::LoadProfile(fake.files, fake.codec, kLogFile).Read(section, key);
    }
    std::size_t LogRecordCount() const {
        std::size_t count = 0;
        for (const char* section :
             {script::kLogMain, script::kLogFolder, script::kLogFile, script::kLogLocalKey,
              script::kLogClassesKey, script::kLogLocalValue})
            count += log->Keys(section).size();
        return count;
    }

    // A language file beside the setup program, made current.
    void UseLanguage(const std::string& name, const std::string& utf8) {
        fake.files.AddFile(std::string(kSourceDir) + "\\" + name + ".lng",
                           fake.codec.Utf8ToAnsi(utf8));
        language.BuildList("Russian");
        const auto& list = language.List();
        language.Select(static_cast<int>(std::ranges::find(list, name) - list.begin()));
        plan.language = name;
    }

    platform::FakePlatform fake;
    platform::Platform platform = fake.Get();
    install::InstallationPlan plan;
    language::Language language{fake.files, fake.codec, kSourceDir};
    std::unique_ptr<script::InstallLog> log;
    ui::ScriptedDialogs dialogs;
    ui::HeadlessApplication app;
};

}  // namespace install_test
