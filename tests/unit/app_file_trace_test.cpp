#include <gtest/gtest.h>

#include <string>

#include "platform/fake/fake_files.h"
#include "platform/file_trace.h"

namespace {

using platform::TimeOfDay;

constexpr char kLog[] = "C:\\setup.log";

TEST(FileTrace, WritesEachLineWithItsTimeAsItIsSaid) {
    platform::FakeFileSystem files;
    files.AddFile(kLog, "an earlier run\r\n");
    TimeOfDay now{9, 5, 7, 42};
    auto trace = platform::FileTrace::Create(files, kLog, [&] { return now; });
    ASSERT_TRUE(trace);
    trace->Line("Page 0: Добро пожаловать!");
    EXPECT_EQ(files.Bytes(kLog), "09:05:07.042 Page 0: Добро пожаловать!\r\n")
        << "written at once, in UTF-8, in place of the earlier file";
    now = {23, 59, 59, 999};
    trace->Line("two\r\nlines");
    EXPECT_EQ(files.Bytes(kLog),
              "09:05:07.042 Page 0: Добро пожаловать!\r\n23:59:59.999 two  lines\r\n");
}

TEST(FileTrace, IsNotMadeWhereTheFileCannotBe) {
    platform::FakeFileSystem files;
    files.failures.Add({.operation = platform::FakeOperation::Open, .path = "setup.log"});
    EXPECT_FALSE(platform::FileTrace::Create(files, kLog, [] { return TimeOfDay{}; }));
    EXPECT_FALSE(platform::FileTrace::Append(files, kLog, [] { return TimeOfDay{}; }));
}

// The uninstaller's copy adds its lines to the account the program wrote.
TEST(FileTrace, AppendedGoesOnAfterTheLinesThere) {
    platform::FakeFileSystem files;
    files.AddDirectory("C:\\");
    const auto now = [] { return TimeOfDay{1, 2, 3, 4}; };
    platform::FileTrace::Append(files, kLog, now)->Line("first");
    platform::FileTrace::Append(files, kLog, now)->Line("second");
    EXPECT_EQ(files.Bytes(kLog), "01:02:03.004 first\r\n01:02:03.004 second\r\n");
}

}  // namespace
