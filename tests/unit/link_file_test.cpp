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

TEST(LinkFile, ReadBackAsWritten) {
    const Cp1251Codec ansi;
    for (const ShellLink& link : {
             ShellLink{"C:\\Program Files\\Kelmo\\Менеджер.exe", "/tray \"a b\"", "C:\\Kelmo"},
             ShellLink{"C:\\Kelmo\\Ζίνκολαρ\\zinkolar.exe", "%1", "C:\\Kelmo\\Ζίνκολαρ"},
             ShellLink{"\\\\server\\Общая\\Zinkolar\\zinkolar.exe", "", ""},
             ShellLink{"\\\\server\\Ζ\\zinkolar.exe", "", "\\\\server\\Ζ"},
             ShellLink{"\\\\server\\share", "", ""},
         }) {
        SCOPED_TRACE(link.target);
        const std::optional<std::string> bytes = LinkFileBytes(link, kFacts, ansi);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(ReadLinkFile(*bytes, ansi), link);
    }
}

std::string Le(std::uint32_t value, int size) {
    std::string out;
    for (int i = 0; i < size; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

// Links as other writers make them: an item list before the link info, the name, relative
// path and icon strings around ours, ANSI strings, extra data at the end.
TEST(LinkFile, ReadsThePartsOtherWritersAdd) {
    const Cp1251Codec ansi;
    const ShellLink link{"C:\\Kelmo\\Журнал.exe", "/log", "C:\\Kelmo"};
    const std::string ours = LinkFileBytes(link, kFacts, ansi).value();
    const std::uint32_t info_size = static_cast<unsigned char>(ours[0x4C]) |
                                    static_cast<unsigned>(static_cast<unsigned char>(ours[0x4D]))
                                        << 8;
    const std::string header = ours.substr(0, 0x14);
    const std::string facts = ours.substr(0x18, 0x4C - 0x18);
    const std::string info = ours.substr(0x4C, info_size);
    // Some writers count the closing zero too.
    const auto utf16 = [](const std::string& text, bool zero) {
        const std::u16string units = Utf8ToUtf16(text) + (zero ? std::u16string(1, 0) : u"");
        std::string out = Le(static_cast<std::uint32_t>(units.size()), 2);
        for (const char16_t unit : units)
            out += Le(unit, 2);
        return out;
    };
    const auto cp1251 = [&ansi](const std::string& text) {
        const std::string bytes = ansi.Utf8ToAnsi(text);
        return Le(static_cast<std::uint32_t>(bytes.size()), 2) + bytes;
    };
    const std::string items = Le(8, 2) + Le(6, 2) + "abcd" + Le(0, 2);
    const std::string extra = Le(12, 4) + Le(0xA0000003, 4) + "more" + Le(0, 4);
    for (const std::pair<bool, bool>& shape :
         {std::pair{true, false}, {true, true}, {false, false}}) {
        const bool unicode = shape.first;
        SCOPED_TRACE(unicode ? "UTF-16 strings" : "ANSI strings");
        const auto text = [&](const std::string& t) {
            return unicode ? utf16(t, shape.second) : cp1251(t);
        };
        const std::uint32_t flags =
            0x01 | 0x02 | 0x04 | 0x08 | 0x10 | 0x20 | 0x40 | (unicode ? 0x80 : 0);
        const std::string bytes = header + Le(flags, 4) + facts + items + info + text("Журнал") +
                                  text("..\\Kelmo\\Журнал.exe") + text(link.working_directory) +
                                  text(link.arguments) + text("C:\\Kelmo\\Журнал.exe") + extra;
        EXPECT_EQ(ReadLinkFile(bytes, ansi), link);
    }
}

// Bytes that are no whole link read as none, without a read past their end (the sanitizers
// watch): every shortened link, a wrong size or class, no link info, a link info naming
// neither a drive nor a share.
TEST(LinkFile, ReadsNothingFromBrokenBytes) {
    const Cp1251Codec ansi;
    const std::string whole =
        LinkFileBytes({"\\\\server\\Ζ\\zinkolar.exe", "/a", "C:\\Kelmo"}, kFacts, ansi).value();
    ASSERT_TRUE(ReadLinkFile(whole, ansi));
    // The last four bytes end the extra data, which the reader does not need.
    for (std::size_t size = 0; size + 4 < whole.size(); ++size)
        EXPECT_FALSE(ReadLinkFile(whole.substr(0, size), ansi)) << size;
    const auto changed = [&whole](std::size_t at, std::string bytes) {
        return whole.substr(0, at) + bytes + whole.substr(at + bytes.size());
    };
    EXPECT_FALSE(ReadLinkFile(changed(0, Le(0x4D, 4)), ansi));
    EXPECT_FALSE(ReadLinkFile(changed(4, "\x02"), ansi));
    EXPECT_FALSE(ReadLinkFile(changed(0x14, Le(0xA0, 4)), ansi));             // no link info
    EXPECT_FALSE(ReadLinkFile(changed(0x4C + 8, Le(0, 4)), ansi));            // neither kind
    EXPECT_FALSE(ReadLinkFile(changed(0x4C, Le(0xFFFFFFF0, 4)), ansi));       // info past the end
    EXPECT_FALSE(ReadLinkFile(changed(0x4C + 20, Le(0xFFFFFFF0, 4)), ansi));  // share past it
}

}  // namespace
}  // namespace platform
