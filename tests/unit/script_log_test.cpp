#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/fake/fake_files.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "script/install_log.h"

namespace {

const std::string kPath = "C:\\Zinkolar\\install.ini";

struct Op {
    enum Kind { Item, Text, Unlog, Finish } kind;
    std::string section;
    std::string key;
    std::string value;  // Text; Item: "1" or "0"
};

// The file as a reader sees its layout: blanks at line ends and blank lines (the log's slack)
// do not count; every other line keeps its place.
std::string Visible(const std::string& bytes) {
    std::string out;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        std::string line = bytes.substr(start, end - start);
        line.erase(line.find_last_not_of(" \t") + 1);
        if (!line.empty()) {
            out += line + "\n";
        }
        start = bytes.find_first_not_of("\r\n", end);
        if (start == std::string::npos) {
            break;
        }
    }
    return out;
}

class LogTest : public ::testing::Test {
  protected:
    LogTest() { files.AddDirectory("C:\\Zinkolar"); }

    std::unique_ptr<script::InstallLog> Open() {
        platform::Result<void> error;
        auto log = script::OpenInstallLog(files, codec, kPath, error);
        EXPECT_TRUE(log != nullptr) << error.code();
        return log;
    }

    static platform::Result<void> Apply(script::InstallLog& log, const Op& op) {
        switch (op.kind) {
            case Op::Item:
                return log.LogItem(op.section, op.key, op.value == "1");
            case Op::Text:
                return log.LogText(op.section, op.key, op.value);
            case Op::Unlog:
                return log.UnlogItem(op.section, op.key);
            case Op::Finish:
                return log.Finish();
        }
        return {};
    }

    std::string Bytes() const { return files.Bytes(kPath).value_or("<none>"); }

    platform::FakeFileSystem files;
    platform::Cp1251Codec codec;
};

struct LogCase {
    const char* label;
    std::optional<std::string> before;  // the file before the run (ANSI), nullopt: none
    std::vector<Op> ops;
    std::string after;  // Visible() of the file, and the file itself once finished
};

// Visible() as the bytes of a file with the platform's line breaks.
std::string Plain(const std::string& visible) {
    std::string plain;
    for (const char c : visible) {
        plain += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return plain;
}

const std::vector<LogCase> kLogCases = {
    {"a fresh log: sections in the order of their first record",
     std::nullopt,
     {{Op::Text, "main", "start", "14:03:27 06.12.2026"},
      {Op::Text, "main", "version", "Zinkolar 5.0"},
      {Op::Item, "folder", "C:\\Zinkolar\\Data", "1"},
      {Op::Item, "file", "C:\\Zinkolar\\a.exe", "1"},
      {Op::Item, "file", "C:\\Zinkolar\\b.exe", "0"},
      {Op::Item, "folder", "C:\\Zinkolar\\Data\\In", "1"}},
     "[main]\nstart=14:03:27 06.12.2026\nversion=Zinkolar 5.0\n[folder]\nC:\\Zinkolar\\Data=1\n"
     "C:\\Zinkolar\\Data\\In=1\n[file]\nC:\\Zinkolar\\a.exe=1\nC:\\Zinkolar\\b.exe=0\n"},
    {"a second run: one record per key whatever its case, values replaced in place",
     "; earlier run\r\n[main]\r\nstart=10:00:00 01.01.2026\r\nversion=Zinkolar 5.0\r\n"
     "[file]\r\nC:\\Zinkolar\\a.exe=0\r\nC:\\Zinkolar\\old.txt=1\r\n[lregkey]\r\nK=1\r\n",
     {{Op::Text, "MAIN", "start", "9:00:00 02.01.2026"},
      {Op::Text, "main", "version", "Zinkolar Server 5.10"},
      {Op::Item, "file", "c:\\zinkolar\\A.EXE", "1"},
      {Op::Item, "file", "C:\\Zinkolar\\new.txt", "1"},
      {Op::Item, "lregkey", "L", "0"}},
     "; earlier run\n[main]\nstart=9:00:00 02.01.2026\nversion=Zinkolar Server 5.10\n[file]\n"
     "C:\\Zinkolar\\a.exe=1\nC:\\Zinkolar\\old.txt=1\nC:\\Zinkolar\\new.txt=1\n[lregkey]\nK=1\n"
     "L=0\n"},
    {"removing deletes the line; a missing key or section changes nothing",
     "[cregkey]\r\n.mix=1\r\nZinkolar.MixFile=1\r\n.bzk=1\r\n",
     {{Op::Unlog, "cregkey", ".MIX", ""},
      {Op::Unlog, "cregkey", ".zka", ""},
      {Op::Unlog, "lregvalue", "x", ""}},
     "[cregkey]\nZinkolar.MixFile=1\n.bzk=1\n"},
    {"after removing the first of two lines of a key, the second one is the record",
     "[file]\r\nk=1\r\nk=0\r\n",
     {{Op::Unlog, "file", "k", ""}, {Op::Item, "file", "K", "1"}},
     "[file]\nk=1\n"},
    {"a last line without its line break does not swallow the next record",
     "[file]\r\nC:\\a=1",
     {{Op::Item, "file", "C:\\b", "1"}},
     "[file]\nC:\\a=1\nC:\\b=1\n"},
    {"Cyrillic names ignore letter case and stay in the ANSI code page",
     "[file]\r\nC:\\\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE0\\\xE0.txt=0\r\n",
     {{Op::Item, "file", "C:\\ПРОГРАММА\\А.txt", "1"}, {Op::Item, "file", "C:\\Я.txt", "1"}},
     "[file]\nC:\\\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE0\\\xE0.txt=1\nC:\\\xDF.txt=1\n"},
    {"a value ending in a blank and one with line breaks stay on one line",
     std::nullopt,
     {{Op::Text, "main", "version", "Zinkolar "}, {Op::Text, "main", "x", "a\r\nb"}},
     "[main]\nversion=Zinkolar\nx=a  b\n"},
};

TEST_F(LogTest, OperationsOnAFile) {
    for (const LogCase& c : kLogCases) {
        files.Remove(kPath);
        if (c.before) {
            files.AddFile(kPath, *c.before);
        }
        {
            auto log = Open();
            ASSERT_TRUE(log) << c.label;
            for (const Op& op : c.ops) {
                EXPECT_TRUE(Apply(*log, op)) << c.label << ": " << op.key;
            }
            EXPECT_EQ(Visible(Bytes()), c.after) << c.label;
            EXPECT_TRUE(log->Finish()) << c.label;
        }
        EXPECT_EQ(Bytes(), Plain(c.after)) << c.label;
        EXPECT_TRUE(files.FindFiles("C:\\Zinkolar\\~zk*")->empty()) << c.label;
        // The log read again sees the same records as the profile engine does.
        const platform::Profile profile = platform::LoadProfile(files, codec, kPath);
        auto again = Open();
        for (const char* section : {"main", "file", "cregkey", "lregkey"}) {
            EXPECT_EQ(again->Keys(section), profile.Keys(section, platform::KeyLimit::None))
                << c.label << " [" << section << "]";
        }
    }
}

// Records go into sections that are not at the end of the file (a run into a folder whose log
// holds an earlier installation): the slack runs out again and again and the file is written
// anew; the result is the same file a reader would expect, and no temporary file stays behind.
TEST_F(LogTest, ManyRecordsIntoEverySectionKeepTheirOrder) {
    files.AddFile(kPath, "[main]\r\nstart=x\r\n[folder]\r\nC:\\F=1\r\n[file]\r\nC:\\f=1\r\n");
    auto log = Open();
    std::string main = "[main]\nstart=x\n";
    std::string folder = "[folder]\nC:\\F=1\n";
    std::string file = "[file]\nC:\\f=1\n";
    for (int i = 0; i < 3000; ++i) {
        const std::string n = std::to_string(i);
        ASSERT_TRUE(log->LogItem("folder", "C:\\Zinkolar\\Folder" + n, i % 3 != 0));
        ASSERT_TRUE(log->LogItem("file", "C:\\Zinkolar\\file" + n + ".dat", true));
        folder += "C:\\Zinkolar\\Folder" + n + "=" + (i % 3 != 0 ? "1" : "0") + "\n";
        file += "C:\\Zinkolar\\file" + n + ".dat=1\n";
        if (i % 500 == 0) {
            ASSERT_TRUE(log->LogText("main", "k" + n, "value " + n));
            main += "k" + n + "=value " + n + "\n";
        }
    }
    EXPECT_EQ(Visible(Bytes()), main + folder + file);
    EXPECT_EQ(log->Keys("folder").size(), 3001u);
    EXPECT_TRUE(files.FindFiles("C:\\Zinkolar\\~zk*")->empty());
}

struct FailureCase {
    const char* label;
    platform::FailureRule rule;
    Op op;
};

// A write that fails half-way (the disk fills up) or a rewrite that cannot be finished leaves
// every earlier record as it was, no half record, and the log usable for the next record.
const std::vector<FailureCase> kFailureCases = {
    {"new record, disk full after 4 bytes",
     {platform::FakeOperation::Write, "install.ini", platform::kErrorDiskFull, 1, 4},
     {Op::Item, "file", "C:\\Zinkolar\\new.dat", "1"}},
    {"new section, disk full after 4 bytes",
     {platform::FakeOperation::Write, "install.ini", platform::kErrorDiskFull, 1, 4},
     {Op::Item, "cregkey", ".mix", "1"}},
    {"changed flag, write refused",
     {platform::FakeOperation::Write, "install.ini", platform::kErrorAccessDenied, 1},
     {Op::Item, "file", "C:\\Zinkolar\\a.exe", "0"}},
    {"rewrite, the new file cannot be written whole",
     {platform::FakeOperation::Write, "~zk", platform::kErrorDiskFull, 1, 10},
     {Op::Text, "main", "start", std::string(300, 'x')}},
    {"rewrite, the new file cannot replace the log",
     {platform::FakeOperation::Move, "install.ini", platform::kErrorAccessDenied, 1},
     {Op::Text, "main", "start", std::string(300, 'x')}},
    {"plain form at the end, the new file cannot be written whole",
     {platform::FakeOperation::Write, "~zk", platform::kErrorDiskFull, 1, 10},
     {Op::Finish}},
    {"plain form at the end, the new file cannot replace the log",
     {platform::FakeOperation::Move, "install.ini", platform::kErrorAccessDenied, 1},
     {Op::Finish}},
};

TEST_F(LogTest, AFailedWriteDamagesNoEarlierRecord) {
    const std::string before =
        "[main]\r\nstart=10:00:00 01.01.2026\r\n[file]\r\nC:\\Zinkolar\\a.exe=1\r\n";
    // With a record that gives the log its slack.
    const std::string visible =
        "[main]\nstart=10:00:00 01.01.2026\nslack=1\n[file]\nC:\\Zinkolar\\a.exe=1\n";
    for (const FailureCase& c : kFailureCases) {
        files.failures.Clear();
        files.Remove(kPath);
        files.AddFile(kPath, before);
        auto log = Open();
        EXPECT_TRUE(log->LogItem("main", "slack", true)) << c.label;
        const std::string held = Bytes();
        ASSERT_NE(held.find(std::string(100, ' ')), std::string::npos) << "no slack";
        files.failures.Add(c.rule);
        EXPECT_FALSE(Apply(*log, c.op)) << c.label;
        if (c.op.kind == Op::Finish) {
            EXPECT_EQ(Bytes(), held) << c.label << ": the log as it was, its slack too";
        }
        EXPECT_EQ(Visible(Bytes()), visible) << c.label;
        EXPECT_TRUE(files.FindFiles("C:\\Zinkolar\\~zk*")->empty()) << c.label;
        files.failures.Clear();
        EXPECT_TRUE(log->LogItem("file", "C:\\Zinkolar\\b.exe", true)) << c.label;
        EXPECT_EQ(Visible(Bytes()), visible + "C:\\Zinkolar\\b.exe=1\n") << c.label;
    }
}

// The rewrite replaced the file but could not open the new one: the record is reported as
// failed, and a later record opens the file again instead of going nowhere.
TEST_F(LogTest, ALogNotReopenedAfterItsRewriteTakesTheNextRecord) {
    files.AddFile(kPath, "[main]\r\nstart=x\r\n[file]\r\nC:\\Zinkolar\\a.exe=1\r\n");
    auto log = Open();
    // install.ini.new, then the log once more.
    files.failures.Add(
        {platform::FakeOperation::Open, "install.ini", platform::kErrorSharingViolation, 2});
    EXPECT_EQ(log->LogText("main", "start", std::string(300, 'x')).code(),
              platform::kErrorSharingViolation);
    EXPECT_TRUE(log->LogItem("file", "C:\\Zinkolar\\b.exe", true));
    const platform::Profile read = platform::Profile::Parse(Bytes());
    EXPECT_EQ(read.Read("main", "start"), std::string(300, 'x'));
    EXPECT_EQ(read.Keys("file"),
              (std::vector<std::string>{"C:\\Zinkolar\\a.exe", "C:\\Zinkolar\\b.exe"}));
}

TEST_F(LogTest, ALogThatCannotBeOpenedIsReported) {
    files.failures.Add({platform::FakeOperation::Open, "install.ini"});
    platform::Result<void> error;
    EXPECT_EQ(script::OpenInstallLog(files, codec, kPath, error), nullptr);
    EXPECT_EQ(error.code(), platform::kErrorAccessDenied);
}

}  // namespace
