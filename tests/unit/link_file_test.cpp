// Link files as lnkinfo (liblnk-utils), a reader of the format written by others, reads them.
#include "platform/link_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace platform {
namespace {

// lnkinfo's "name : value" lines of a link file, by name; its ANSI texts read as Windows-1251.
std::map<std::string, std::string> LnkInfo(const std::string& bytes) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("zk-link-" + std::to_string(::getpid()) + ".lnk");
    std::ofstream(file, std::ios::binary) << bytes;
    std::map<std::string, std::string> fields;
    FILE* pipe = ::popen(("lnkinfo -c windows-1251 '" + file.string() + "' 2>&1").c_str(), "r");
    char line[4096];
    while (pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr) {
        const std::string text = line;
        const std::size_t colon = text.find(':');
        if (colon == std::string::npos)
            continue;
        const std::size_t name_end = text.find_last_not_of(" \t", colon - 1);
        const std::size_t name_start = text.find_first_not_of(" \t");
        const std::size_t value_start = text.find_first_not_of(' ', colon + 1);
        const std::size_t value_end = text.find_last_not_of("\r\n");
        fields[text.substr(name_start, name_end + 1 - name_start)] =
            value_start > value_end ? "" : text.substr(value_start, value_end + 1 - value_start);
    }
    if (pipe != nullptr)
        ::pclose(pipe);
    std::filesystem::remove(file);
    return fields;
}

const LinkTargetFacts kFacts{.attributes = 0x20,
                             .creation_time = 0x01DB000000000000,
                             .access_time = 0x01DB000000000000,
                             .write_time = 0x01DB000000000000,
                             .size = 121841,
                             .volume = {.drive_type = 3, .serial = 0x1234ABCD, .label = "Система"}};

TEST(LinkFile, ReadByAnIndependentReader) {
    if (!std::filesystem::exists("/usr/bin/lnkinfo"))
        GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
    struct Row {
        ShellLink link;
        std::map<std::string, std::string> expected;  // absent names: "" for no such line
    };
    const Row rows[] = {
        {{"C:\\Program Files\\Kelmo\\Менеджер.exe", "/tray \"a b\"", "C:\\Program Files\\Kelmo"},
         {{"Local path", "C:\\Program Files\\Kelmo\\Менеджер.exe"},
          {"Command line arguments", "/tray \"a b\""},
          {"Working directory", "C:\\Program Files\\Kelmo"},
          {"Drive type", "Fixed (3)"},
          {"Drive serial number", "0x1234abcd"},
          {"File size", "121841 bytes"},
          {"File attribute flags", "0x00000020"}}},
        // A name the ANSI code page cannot hold is read from the UTF-16 copy.
        {{"C:\\Kelmo\\Ζίνκολαρ\\zinkolar.exe", "%1", "C:\\Kelmo\\Ζίνκολαρ"},
         {{"Local path", "C:\\Kelmo\\Ζίνκολαρ\\zinkolar.exe"},
          {"Working directory", "C:\\Kelmo\\Ζίνκολαρ"},
          {"Command line arguments", "%1"}}},
        {{"\\\\server\\Общая\\Zinkolar\\zinkolar.exe", "", ""},
         {{"Network path", "\\\\server\\Общая\\Zinkolar\\zinkolar.exe"},
          {"Command line arguments", ""},
          {"Working directory", ""}}},
        {{"\\\\server\\Ζ\\zinkolar.exe", "", "\\\\server\\Ζ"},
         {{"Network path", "\\\\server\\Ζ\\zinkolar.exe"}, {"Working directory", "\\\\server\\Ζ"}}},
    };
    const Cp1251Codec ansi;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.link.target);
        const std::optional<std::string> bytes = LinkFileBytes(row.link, kFacts, ansi);
        ASSERT_TRUE(bytes);
        const std::map<std::string, std::string> fields = LnkInfo(*bytes);
        for (const auto& [name, value] : row.expected) {
            const auto found = fields.find(name);
            EXPECT_EQ(found == fields.end() ? "" : found->second, value) << name;
        }
    }
}

TEST(LinkFile, TargetsNoLinkCanName) {
    const Cp1251Codec ansi;
    for (const char* target : {"zinkolar.exe", "Kelmo\\zinkolar.exe", "\\Kelmo\\zinkolar.exe",
                               "C:zinkolar.exe", "\\\\server", "\\\\server\\", "\\\\\\share\\x"}) {
        EXPECT_FALSE(LinkFileBytes({target, "", ""}, kFacts, ansi)) << target;
    }
    EXPECT_FALSE(LinkFileBytes({"C:\\a.exe", std::string(70000, 'x'), ""}, kFacts, ansi));
}

}  // namespace
}  // namespace platform
