// Registering the product's document types: which are registered, what is written and recorded.
#include <stdexcept>

#include "install/file_types.h"
#include "install_fixture.h"

namespace install_test {
namespace {

using install::FileType;
using platform::FakeOperation;

constexpr char kExtensions[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Extensions";
constexpr const char* kAll[] = {".mix", ".bzk", ".zka", ".zlg", ".zks", ".zkx", ".zkc"};

class FileTypesTest : public InstallTest {
  protected:
    FileTypesTest() {
        for (const char* program :
             {"zkmanager.exe", "phbook.exe", "scripted.exe", "logbook.exe", "zksched.exe"})
            fake.files.AddFile(std::string(kDestination) + "\\" + program, "MZ");
    }
    std::vector<std::string> Registered() const {
        std::vector<std::string> found;
        for (const char* extension : kAll) {
            if (fake.registry.KeyExists(RegistryRoot::ClassesRoot, extension))
                found.push_back(extension);
        }
        return found;
    }
    platform::Result<std::string> Command(const char* type_key) const {
        return fake.registry.ReadString(RegistryRoot::ClassesRoot,
                                        std::string(type_key) + "\\shell\\open\\command", "");
    }
};

TEST_F(FileTypesTest, WhichTypesAreRegistered) {
    struct Case {
        const char* name;
        bool voice;
        bool client_server;
        bool server;
        std::vector<FileType> unticked;
        std::vector<std::string> registered;
    };
    const Case cases[] = {
        {"voice, no type choice", true, false, false, {}, {kAll, kAll + 7}},
        {"not a voice edition", false, false, false, {}, {".bzk", ".zlg", ".zks", ".zkx", ".zkc"}},
        {"server", false, true, true, {}, {".bzk", ".zka", ".zlg", ".zks", ".zkx", ".zkc"}},
        // The hidden box of the client type still holds its tick.
        {"client", true, true, false, {}, {".mix", ".bzk", ".zlg", ".zks", ".zkx", ".zkc"}},
        {"some unticked",
         true,
         false,
         false,
         {FileType::Mix, FileType::Schedule},
         {".bzk", ".zka", ".zlg", ".zkx", ".zkc"}},
        {"all unticked",
         true,
         false,
         false,
         {FileType::Mix, FileType::PhoneBook, FileType::Script, FileType::LogBook,
          FileType::Schedule, FileType::Fax, FileType::CoverPage},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.registry = {};
        plan.config.voice_version = c.voice;
        plan.config.client_server = c.client_server;
        plan.server = c.server;
        plan.file_types.fill(true);
        for (const FileType type : c.unticked)
            plan.file_types[static_cast<std::size_t>(type)] = false;
        // Records of an earlier run of every type, which an unregistered type loses.
        ResetLog();
        for (const auto& entry : install::kFileTypeTable) {
            ASSERT_TRUE(log->LogItem("cregkey", entry.extension, true));
            ASSERT_TRUE(log->LogItem("cregkey", entry.type_key, true));
            ASSERT_TRUE(log->LogItem(
                "lregvalue", std::string(kExtensions) + "|" + std::string(entry.extension), true));
        }

        install::RegisterFileTypes(plan, platform, *log);

        EXPECT_EQ(Registered(), c.registered);
        EXPECT_EQ(log->Keys("cregkey").size(), 2 * c.registered.size());
        std::vector<std::string> values;
        for (const std::string& record : log->Keys("lregvalue"))
            values.push_back(record.substr(record.find('|') + 1));
        EXPECT_EQ(values, c.registered);
        for (const std::string& extension : c.registered) {
            EXPECT_TRUE(fake.registry.Has(RegistryRoot::LocalMachine, kExtensions, extension));
            EXPECT_EQ(LogValue("cregkey", extension), "1");
        }
        if (c.registered.empty())
            EXPECT_FALSE(fake.registry.KeyExists(RegistryRoot::LocalMachine, kExtensions));
    }
}

TEST_F(FileTypesTest, WhatIsWritten) {
    install::RegisterFileTypes(plan, platform, *log);
    auto classes = [&](const std::string& key) {
        return fake.registry.ReadString(RegistryRoot::ClassesRoot, key, "");
    };
    EXPECT_EQ(classes(".mix"), "Zinkolar.MixFile");
    EXPECT_EQ(classes("Zinkolar.MixFile"), "Zinkolar Mixed Message File");
    // The fax type's description carries the Cyrillic letter es.
    EXPECT_EQ(classes("Zinkolar.ImageFile"), "Zinkolar Fa\u0441simile Message File");
    // The short form has no blanks and is not quoted; the schedule takes no document.
    EXPECT_EQ(Command("Zinkolar.MixFile"), "C:\\PROGRA~1\\Zinkolar\\ZKMANA~1.EXE \"%1\"");
    EXPECT_EQ(Command("Zinkolar.SchedFile"), "C:\\PROGRA~1\\Zinkolar\\zksched.exe");
    EXPECT_EQ(fake.registry.ReadString(RegistryRoot::LocalMachine, kExtensions, ".bzk"),
              "C:\\PROGRA~1\\Zinkolar\\phbook.exe ^.bzk");
    // The command key below the type key is not recorded.
    EXPECT_EQ(log->Keys("cregkey").size(), 14u);
    EXPECT_EQ(log->Keys("lregvalue").size(), 7u);
}

TEST_F(FileTypesTest, MissingProgramFileGetsItsLongPath) {
    struct Case {
        const char* destination;
        const char* command;
        const char* extensions_entry;
    };
    const Case cases[] = {
        // Without a short form the long path is quoted when it holds a blank.
        {kDestination, "\"C:\\Program Files\\Zinkolar\\logbook.exe\" \"%1\"",
         "C:\\Program Files\\Zinkolar\\logbook.exe ^.zlg"},
        {"C:\\Zinkolar", "C:\\Zinkolar\\logbook.exe \"%1\"", "C:\\Zinkolar\\logbook.exe ^.zlg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.destination);
        plan.destination = c.destination;
        fake.files.Remove(std::string(kDestination) + "\\logbook.exe");
        install::RegisterFileTypes(plan, platform, *log);
        EXPECT_EQ(Command("Zinkolar.LogBookFile"), c.command);
        EXPECT_EQ(fake.registry.ReadString(RegistryRoot::LocalMachine, kExtensions, ".zlg"),
                  c.extensions_entry);
    }
}

TEST_F(FileTypesTest, KeyRefusedIsRecordedThenEndsTheRun) {
    fake.registry.failures.Add({FakeOperation::CreateKey, ".bzk"});
    EXPECT_THROW(install::RegisterFileTypes(plan, platform, *log), std::runtime_error);
    EXPECT_EQ(LogValue("cregkey", ".mix"), "1");
    EXPECT_EQ(LogValue("cregkey", ".bzk"), "0");
}

}  // namespace
}  // namespace install_test
