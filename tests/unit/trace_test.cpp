// The account of a whole installation on the fakes: the plan first, a line for each step in the
// run's order with what happened in it, and the records exactly as install.ini got them.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "install/installation_run.h"
#include "install/product_libraries.h"
#include "install_fixture.h"
#include "script/copy_files_form.h"
#include "wizard_fixture.h"

namespace {

using install::ProductBool;
using install::ProductInt;
using install_test::kDestination;
using install_test::kLogFile;
using install_test::kSourceDir;
using Strings = std::vector<std::string>;

constexpr char kEarlierLink[] = "C:\\Desktop\\Zinkolar 4.lnk";

constexpr char kScript[] =
    "[directory list]\r\n"
    "in=Data\\In\r\n"
    "[file list]\r\n"
    "zinkolar.exe=zinkolar.exe\r\n"
    "broken.dll=broken.dll\r\n"
    "[if not exist]\r\n"
    "data.ini=data.ini\r\n"
    "[backup]\r\n"
    "a.dll=a.dll\r\n"
    "[common shortcut list]\r\n"
    "zinkolar.exe=Zinkolar\r\n";

// The driver program runs for the first few checks, then closes on the request.
int driver_checks_running = 0;

ProductInt PRODUCT_STDCALL TestProcessExec(ProductInt, const char* name) {
    return std::string(name) == "zkdrv32.exe" && driver_checks_running-- > 0 ? 1 : 0;
}
void PRODUCT_STDCALL RemoveService(const char*) {}
void PRODUCT_STDCALL PrinterDelete(ProductInt) {}
ProductBool PRODUCT_STDCALL PrinterInstall(void*, ProductInt, void*) {
    return 1;
}

class TraceTest : public install_test::InstallTest {
  protected:
    TraceTest() {
        log.reset();  // the run opens its own
        // What an earlier installation into the folder recorded: a shortcut, and a file type not
        // chosen now.
        fake.files.AddFile(
            kLogFile, std::string("[file]\r\n") + kEarlierLink + "=1\r\n[cregkey]\r\n.zkx=1\r\n");
        EXPECT_TRUE(fake.shell.CreateLink({std::string(kDestination) + "\\zinkolar.exe", "", ""},
                                          kEarlierLink));
        fake.shell.links.clear();  // made before the run
        fake.registry.Set(platform::RegistryRoot::ClassesRoot, ".zkx", "", "Zinkolar.ImageFile");
        plan.file_types.fill(false);
        plan.file_types[static_cast<std::size_t>(install::FileType::PhoneBook)] = true;
        plan.quick_launch_shortcut = false;
        plan.folders.old_install_path = "C:\\Old";
        plan.folders.old_version = "3.1";
        plan.config.script_file_name = "setup.ini";
        plan.config.platform_code = 3;
        plan.config.need_disk_space = 1000;
        const std::string source = kSourceDir;
        const std::string destination = kDestination;
        fake.files.AddFile(source + "\\setup.ini", kScript);
        for (const char* name : {"zinkolar.exe", "broken.dll", "data.ini", "a.dll"})
            fake.files.AddFile(source + "\\" + name, "new");
        fake.files.AddFile(destination + "\\data.ini", "the user's");
        fake.files.AddFile(destination + "\\a.dll", "old",
                           platform::FakeFileSystem::kDefaultTime - 100'000'000);
        fake.files.failures.Add({platform::FakeOperation::Copy, "broken.dll"});
        auto& service = fake.libraries.Add(install::kServiceLibrary).functions;
        service[install::kTestProcessExec] = reinterpret_cast<void*>(&TestProcessExec);
        service[install::kRemoveService] = reinterpret_cast<void*>(&RemoveService);
        auto& printer = fake.libraries.Add(install::kPrinterLibrary).functions;
        printer[install::kPrinterDelete] = reinterpret_cast<void*>(&PrinterDelete);
        printer[install::kPrinterInstall] = reinterpret_cast<void*>(&PrinterInstall);
        driver_checks_running = 3;
        progress.Attach(fake.clock, app);
    }

    void Run() {
        install::RunInstallation(plan, {.platform = platform,
                                        .language = language,
                                        .dialogs = dialogs,
                                        .application = app,
                                        .progress = progress,
                                        .windows = {.hide_wizard = [] {},
                                                    .update_background = [] {},
                                                    .refresh = [] {},
                                                    .show_finish_page = [] {}}});
    }

    // The records of install.ini as the uninstaller's profile reader sees them:
    // "[section] key=value".
    Strings FileRecords() const {
        const platform::Profile file = platform::LoadProfile(fake.files, fake.codec, kLogFile);
        Strings records;
        for (const char* section :
             {script::kLogMain, script::kLogFolder, script::kLogFile, script::kLogLocalKey,
              script::kLogClassesKey, script::kLogLocalValue}) {
            for (const auto& [key, value] : file.Entries(section, platform::KeyLimit::None)) {
                std::string record = "[" + std::string(section) + "] ";
                records.push_back(record.append(key).append("=").append(value));
            }
        }
        return records;
    }

    // The records the trace told, as the file should hold them: a record written again replaces
    // the earlier, a removed one goes.
    std::map<std::string, std::string> TracedRecords() const {
        std::map<std::string, std::string> records;  // "[section] key" -> the whole record
        const std::string written = "Record ";
        const std::string removed = "Record removed ";
        for (const std::string& line : fake.trace.lines) {
            if (line.starts_with(removed)) {
                records.erase(platform::ToLower(line.substr(removed.size())));
            } else if (line.starts_with(written + "[")) {
                const std::string record = line.substr(written.size());
                records[platform::ToLower(record.substr(0, record.find('=')))] = record;
            }
        }
        return records;
    }

    script::CopyFilesForm progress;
};

TEST_F(TraceTest, TellsThePlanEachStepAndWhatHappenedInOrder) {
    Run();
    const std::string dest = kDestination;
    const std::string group = "C:\\Start Menu\\Programs\\Zinkolar";
    // Each line in this order, other lines between them.
    const Strings expected = {
        "Plan: Zinkolar 5.0 from D:\\Setup",
        "Destination: " + dest,
        "Program group: " + group,
        "Shortcuts: desktop yes, Quick Launch no",
        "File types: .bzk",
        "Language: Russian",
        "Earlier installation: C:\\Old (version 3.1)",
        "Step: Showing the progress window",
        "Step: Opening the installation log",
        "Step: Recording the installation",
        "Record [main] version=Zinkolar 5.0",
        "Step: Creating folders",
        "Folder created: " + dest + "\\Data\\In",
        "Record [folder] " + dest + "\\Data\\In=1",
        "Step: Closing the product's applications",
        "Application running: zkdrv32.exe",
        "Asked applications to close",
        "Applications closed",
        "Step: Writing the product's location",
        "win.ini [Kelmo] Path=" + dest,
        "Registry HKLM\\SOFTWARE\\Kelmo\\Zinkolar: Path=" + dest,
        "Step: Removing the old virtual printer",
        "Step: Removing the earlier installation's shortcuts and registry items",
        "Earlier shortcut removed: " + std::string(kEarlierLink),
        "Registry key deleted: HKCR\\.zkx",
        "Step: Writing internet shortcuts",
        "Record [file] " + dest + "\\zinkolar.url=1",
        "Step: Copying files",
        "Record [file] " + dest + "\\zinkolar.exe=1",
        "Copied D:\\Setup\\zinkolar.exe -> " + dest + "\\zinkolar.exe (3 bytes)",
        "Copy failed: D:\\Setup\\broken.dll -> " + dest + "\\broken.dll: error 5",
        "Record [file] " + dest + "\\broken.dll=0",
        "Kept " + dest + "\\data.ini (if not exist: the file exists)",
        "Folder created: " + dest + "\\Backup\\00001",
        "Saved " + dest + "\\a.dll to " + dest + "\\Backup\\00001\\a.dll",
        "Copied D:\\Setup\\a.dll -> " + dest + "\\a.dll (3 bytes)",
        "Step: Creating shortcuts",
        "Record [folder] " + group + "=1",
        "Shortcut " + group + "\\Zinkolar.lnk -> " + dest + "\\zinkolar.exe",
        "Record [file] " + group + "\\Zinkolar.lnk=1",
        "Shortcut C:\\Desktop\\Zinkolar 5.0.lnk -> " + dest + "\\zinkolar.exe",
        "Step: Registering the uninstall entry",
        "Step: Registering file types",
        "File type .bzk -> Zinkolar.PhoneBookFile",
        "Record [cregkey] .bzk=1",
        "Record removed [cregkey] .zkx",
        "Step: Registering the application path",
        "Step: Converting the earlier version's data",
        "Converted 0 log records",
        "Step: Writing the product settings",
        "Settings written: " + dest + "\\zinkolar.ini",
        "Step: Installing the virtual printer",
        "Step: Showing the finish page",
    };
    const Strings& lines = fake.trace.lines;
    auto at = lines.begin();
    for (const std::string& line : expected) {
        at = std::find(at, lines.end(), line);
        ASSERT_NE(at, lines.end()) << "missing or out of order: " << line << "\n"
                                   << testing::PrintToString(lines);
    }
    EXPECT_EQ(dialogs.Shown().size(), 2U) << "the question on the driver and the copy error";
}

// Every record the trace tells is in install.ini as told, and every record there was told.
TEST_F(TraceTest, RecordsAreWhatTheLogFileGot) {
    Run();
    std::map<std::string, std::string> in_file;
    for (const std::string& record : FileRecords())
        in_file[platform::ToLower(record.substr(0, record.find('=')))] = record;
    // The earlier installation's record stays as it was, untold.
    EXPECT_EQ(in_file.erase(platform::ToLower("[file] " + std::string(kEarlierLink))), 1U);
    const std::map<std::string, std::string> traced = TracedRecords();
    EXPECT_EQ(traced, in_file);
    EXPECT_GT(traced.size(), 20U);
}

// A record the file could not take is told as a failure, not as written.
TEST_F(TraceTest, FailedRecordIsToldAsFailed) {
    fake.files.failures.Add({platform::FakeOperation::Write, "install.ini", 112, 5});
    Run();
    const Strings& lines = fake.trace.lines;
    const auto failed = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.starts_with("Record failed [") && line.ends_with(": error 112");
    });
    ASSERT_NE(failed, lines.end()) << testing::PrintToString(lines);
    const std::string prefix = "Record failed ";
    const std::string record = failed->substr(prefix.size(), failed->rfind(": ") - prefix.size());
    const Strings in_file = FileRecords();
    EXPECT_EQ(std::find(in_file.begin(), in_file.end(), record), in_file.end()) << record;
}

using WizardTraceTest = wizard_test::WizardTest;

// Each change of page is told, the type page skipped in a single distribution.
TEST_F(WizardTraceTest, TellsEachPageShown) {
    Start();
    WalkTo(wizard::Page::Shortcuts);
    Back();
    Strings pages;
    std::copy_if(fake.trace.lines.begin(), fake.trace.lines.end(), std::back_inserter(pages),
                 [](const std::string& line) { return line.starts_with("Page "); });
    EXPECT_EQ(pages, (Strings{"Page 2: licence", "Page 3: destination", "Page 4: shortcuts",
                              "Page 3: destination"}));
}

}  // namespace
