#pragma once
// An installed machine on the fakes for the uninstaller's tests: the sample installation's
// folders, files, registry items and log, with rules that can be changed per test.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "install/product_libraries.h"
#include "install/shared_files.h"
#include "platform/fake/fake_platform.h"
#include "uninstall/removal.h"
#include "uninstall/removal_plan.h"

namespace uninstall_test {

using platform::RegistryRoot;

inline constexpr char kFolder[] = "C:\\Program Files\\Kelmo\\Zinkolar";
inline constexpr char kSystem[] = "C:\\WINDOWS\\system32";
inline constexpr char kPrograms[] = "C:\\Menu\\Programs";
inline constexpr char kEntry[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zinkolar 5.0";

// The service library's calls, as the stand-in answers them: the services removed are counted,
// and the running applications named in `running` stay until the close request.
inline int services_removed = 0;
inline std::vector<std::string> running;
inline void PRODUCT_STDCALL FakeRemoveService(const char*) {
    ++services_removed;
}
inline install::ProductInt PRODUCT_STDCALL FakeTestProcessExec(install::ProductInt,
                                                               const char* name) {
    return std::ranges::find(running, name) != running.end() ? 1 : 0;
}

inline std::string In(const std::string& relative) {
    return std::string(kFolder) + "\\" + relative;
}

class UninstallTest : public ::testing::Test {
  protected:
    UninstallTest() {
        folders.program_files_dir = "C:\\Program Files\\";
        folders.programs_dir = kPrograms;
        folders.desktop_dir = "C:\\Users\\Public\\Desktop";
        folders.system_dir = kSystem;
        folders.printer_driver_dir = std::string(kSystem) + "\\spool\\drivers\\w32x86";
        fake.files.AddFile(In("zinkolar.ini"), "[History]\r\nProductName=Zinkolar\r\n");
        auto& service = fake.libraries.Add(install::kServiceLibrary).functions;
        service[install::kRemoveService] = reinterpret_cast<void*>(&FakeRemoveService);
        service[install::kTestProcessExec] = reinterpret_cast<void*>(&FakeTestProcessExec);
        services_removed = 0;
        running.clear();
    }

    // The shared file's count of installations using it, this one included.
    void CountShared(const std::string& file, std::uint32_t users) {
        ASSERT_TRUE(fake.registry.CreateKey(RegistryRoot::LocalMachine, install::kSharedDllsKey));
        ASSERT_TRUE(fake.registry.WriteDword(RegistryRoot::LocalMachine, install::kSharedDllsKey,
                                             file, users));
    }

    // A record of the log, the file or folder made on the fake machine when it is a path.
    void Record(const std::string& section, const std::string& key, const char* flag = "1") {
        sections[section] += key + "=" + flag + "\r\n";
        if (std::string(flag) != "1" || key.size() < 3 || key[1] != ':')
            return;
        if (section == "file" && !fake.files.FileExists(key))
            fake.files.AddFile(key, "bytes");
        else if (section == "folder")
            fake.files.AddDirectory(key);
    }

    std::string LogText() const {
        std::string text =
            "[main]\r\nversion=Zinkolar 5.0\r\nrootfolder=C:\\Program Files\\Kelmo\r\n";
        for (const auto& [section, lines] : sections)
            text += "[" + section + "]\r\n" + lines;
        return text;
    }

    uninstall::RemovalPlan Plan() {
        const auto profile = platform::Profile::Parse(LogText());
        installation = uninstall::ReadInstallation(platform, kFolder, profile, folders);
        return uninstall::PlanRemoval(profile, installation, platform);
    }

    uninstall::RemovalOutcome Remove() {
        fake.files.AddFile(In("install.ini"), LogText());
        return uninstall::CarryOut(Plan(), platform, {});
    }

    static std::vector<std::string> Described(const uninstall::RemovalPlan& plan) {
        std::vector<std::string> lines;
        for (const uninstall::Operation& operation : plan.operations)
            lines.push_back(uninstall::Describe(operation));
        return lines;
    }

    platform::FakePlatform fake;
    platform::Platform platform = fake.Get();
    install::SystemFolders folders;
    uninstall::Installation installation;
    std::map<std::string, std::string> sections;  // the log's records by section
};

}  // namespace uninstall_test
