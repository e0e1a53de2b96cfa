// zkconvert's console front end: what it says and how it ends when there is nothing to
// convert or a file is replaced; its POSIX file system with names that would lead elsewhere.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/fake/fake_files.h"
#include "posix_files.h"
#include "zkconvert.h"

namespace {

struct Outcome {
    int status;
    std::string text;
};

Outcome Convert(platform::FileSystem& files, const std::vector<std::string>& arguments) {
    const platform::Cp1251Codec codec;
    std::istringstream in;
    std::ostringstream out;
    const int status = zkconvert::Run(arguments, files, codec, in, out);
    return {status, out.str()};
}

const std::vector<std::string> kYes = {"--phonebooks", "yes", "--logbook", "yes"};

std::vector<std::string> With(std::vector<std::string> arguments, const std::string& old_folder,
                              const std::string& new_folder = "C:\\New") {
    arguments.insert(arguments.end(), {old_folder, new_folder});
    return arguments;
}

TEST(Zkconvert, NothingToConvertEndsWithOne) {
    platform::FakeFileSystem files;
    files.AddDirectory("C:\\New\\service");
    files.AddFile("C:\\Old\\readme.txt", "");
    files.AddFile("C:\\Old\\spr\\phones.txt", "");
    for (const char* old_folder : {"C:\\Missing", "C:\\Old"}) {
        const Outcome outcome = Convert(files, With(kYes, old_folder));
        EXPECT_EQ(outcome.status, 1) << old_folder;
        EXPECT_NE(outcome.text.find(std::string("Nothing to convert was found in ") + old_folder),
                  std::string::npos)
            << outcome.text;
        EXPECT_EQ(outcome.text.find("Finished"), std::string::npos) << outcome.text;
    }
    EXPECT_EQ(files.FindFiles("C:\\New\\service\\*")->size(), 2u) << "only . and ..";
}

TEST(Zkconvert, SaysWhereItKeptWhatItReplaced) {
    platform::FakeFileSystem files;
    files.AddDirectory("C:\\New\\PhoneBooks");
    files.AddFile("C:\\Old\\service\\send.zlg", std::string(919, '\0'));
    files.AddFile("C:\\New\\service\\logbook.zlg", "in use");
    const Outcome outcome = Convert(files, With(kYes, "C:\\Old"));
    EXPECT_EQ(outcome.status, 0) << outcome.text;
    EXPECT_NE(outcome.text.find("kept as C:\\New\\service\\logbook.zlg.bak"), std::string::npos)
        << outcome.text;
    EXPECT_EQ(files.Bytes("C:\\New\\service\\logbook.zlg.bak"), "in use");
}

// A POSIX name may hold a backslash, which the paths here take for a folder's end.
TEST(ZkconvertPosixFiles, NamesWithABackslashAreNotListed) {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("zkconvert-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "old" / "spr");
    std::filesystem::create_directories(root / "new" / "PhoneBooks");
    std::ofstream(root / "old" / "spr" / "a.zkb") << std::string(698, '\0');
    std::ofstream(root / "old" / "spr" / "..\\..\\..\\escaped.zkb") << std::string(698, '\0');
    zkconvert::PosixFileSystem files;
    const std::string old_folder = root.string() + "\\old";
    std::vector<std::string> names;
    for (const platform::FileEntry& entry :
         files.FindFiles(old_folder + "\\spr\\*.zkb").value_or({}))
        names.push_back(entry.name);
    EXPECT_EQ(names, std::vector<std::string>{"a.zkb"});
    const Outcome outcome = Convert(files, With(kYes, old_folder, root.string() + "\\new"));
    EXPECT_EQ(outcome.status, 0) << outcome.text;
    EXPECT_TRUE(std::filesystem::exists(root / "new" / "PhoneBooks" / "a.bzk"));
    EXPECT_FALSE(std::filesystem::exists(root / "escaped.bzk"));
    EXPECT_FALSE(std::filesystem::exists(root.parent_path() / "escaped.bzk"));
    std::filesystem::remove_all(root);
}

}  // namespace
