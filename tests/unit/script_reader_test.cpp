#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/profile.h"
#include "script/script.h"

namespace {

using script::CopyLine;
using script::ResolveCopyLine;
using script::Script;
using script::ScriptLine;

const script::ScriptFolders kFolders{"D:\\Dist", "C:\\Zinkolar", "C:\\WINDOWS\\system32",
                                     "C:\\WINDOWS\\spool\\drivers\\w32x86"};

Script Parse(const std::string& text) {
    return Script(platform::Profile::Parse(text));
}

struct CopyCase {
    const char* label;
    std::string line;  // one line of "file list"
    CopyLine expected;
};

const std::vector<CopyCase> kCopyCases = {
    {"system line", "x.dll=$\\x.dll", {"D:\\Dist\\x.dll", "C:\\WINDOWS\\system32\\x.dll"}},
    {"printer-driver line",
     "y.dll=%\\y.dll",
     {"D:\\Dist\\y.dll", "C:\\WINDOWS\\spool\\drivers\\w32x86\\y.dll"}},
    {"plain line in a sub-folder",
     "doc\\z.txt=z.txt",
     {"D:\\Dist\\doc\\z.txt", "C:\\Zinkolar\\z.txt"}},
    {"renamed on the way", "a.bin=Data\\b.bin", {"D:\\Dist\\a.bin", "C:\\Zinkolar\\Data\\b.bin"}},
    {"dollar in the key decides, value loses its first character",
     "a$b.txt=a$b.txt",
     {"D:\\Dist\\a$b.txt", "C:\\WINDOWS\\system32$b.txt"}},
    {"both markers: printer-driver line",
     "p.dll=$%\\p.dll",
     {"D:\\Dist\\p.dll", "C:\\WINDOWS\\spool\\drivers\\w32x86%\\p.dll"}},
    {"percent in the key only: the value still loses its first character",
     "100%.txt=\\c.txt",
     {"D:\\Dist\\100%.txt", "C:\\WINDOWS\\spool\\drivers\\w32x86c.txt"}},
    {"a Cyrillic first character goes whole",
     "r.txt=Я$.txt",
     {"D:\\Dist\\r.txt", "C:\\WINDOWS\\system32$.txt"}},
    {"quoted value loses its quotes",
     "q.txt= \"q 1.txt\" ",
     {"D:\\Dist\\q.txt", "C:\\Zinkolar\\q 1.txt"}},
};

TEST(ScriptReader, CopyLineDestinations) {
    for (const CopyCase& c : kCopyCases) {
        const std::vector<ScriptLine> lines =
            Parse("[file list]\r\n" + c.line + "\r\n").Lines(script::kFileList);
        ASSERT_EQ(lines.size(), 1u) << c.label;
        const CopyLine copy = ResolveCopyLine(lines[0], kFolders);
        EXPECT_EQ(copy.source, c.expected.source) << c.label;
        EXPECT_EQ(copy.destination, c.expected.destination) << c.label;
    }
}

struct SectionCase {
    const char* label;
    std::string text;
    std::string section;
    std::vector<ScriptLine> expected;
};

const std::vector<SectionCase> kSectionCases = {
    {"first occurrence wins, empty values and other sections left out",
     "[main]\nk=v\n[FILE LIST]\na=1\nb=\nA=2\nc = 3 \n[file list]\nd=4\n",
     "file list",
     {{"a", "1"}, {"c", "3"}}},
    {"a key without a value hides a later line of it",
     "[backup]\nx\nx=1\ny=2\n",
     "backup",
     {{"y", "2"}}},
    {"a missing section has no lines", "[file list]\na=1\n", "if not exist", {}},
    {"labels of the folder list are only names",
     "[directory list]\n1=Data\\In\\Fax\n2=Data\\Out\n1=Other\n",
     "directory list",
     {{"1", "Data\\In\\Fax"}, {"2", "Data\\Out"}}},
};

TEST(ScriptReader, SectionsAsTheProfileRulesReadThem) {
    for (const SectionCase& c : kSectionCases) {
        EXPECT_EQ(Parse(c.text).Lines(c.section), c.expected) << c.label;
    }
}

// The platform's key-list buffer of 16384 bytes holds about 900 such names; every one counts.
TEST(ScriptReader, ReadsEveryKeyOfALongSection) {
    std::string text = "[file list]\r\n";
    constexpr int kFiles = 3000;
    for (int i = 0; i < kFiles; ++i) {
        text += "files\\folder\\file" + std::to_string(i) + ".dat=file" + std::to_string(i) +
                ".dat\r\n";
    }
    const std::vector<ScriptLine> lines = Parse(text).Lines(script::kFileList);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kFiles));
    EXPECT_EQ(lines.back().value, "file2999.dat");
    // The platform's readers of the same file still see the buffer's worth.
    EXPECT_LT(platform::Profile::Parse(text).Keys(script::kFileList).size(), 1000u);
}

TEST(ScriptReader, ShortcutLinesSplitAtTheFirstBlank) {
    const std::vector<std::pair<ScriptLine, script::ShortcutLine>> cases = {
        {{"tool.exe /a /b", "Tool"}, {"tool.exe", "/a /b", "Tool"}},
        {{"readme.txt", "Read me"}, {"readme.txt", "", "Read me"}},
        {{"My Tool.exe", "Mine"}, {"My", "Tool.exe", "Mine"}},
    };
    for (const auto& [line, expected] : cases) {
        EXPECT_EQ(script::SplitShortcutLine(line), expected) << line.key;
    }
}

}  // namespace
