// The fakes' promises that the installation tests rely on: failure rules that fire at the
// right call and byte, refusals as the platform gives them, copies that carry time and
// attributes, registry trees, links and the clock.
#include <gtest/gtest.h>

#include <functional>

#include "platform/fake/fake_platform.h"

namespace platform {
namespace {

constexpr std::uint32_t kDiskFull = kErrorDiskFull;
const std::string kSource = "C:\\Dist\\zinkolar.exe";
const std::string kTarget = "C:\\Program Files\\Zinkolar\\zinkolar.exe";

class FakePlatformTest : public ::testing::Test {
  public:
    void SetUp() override {
        fake.files.AddFile(kSource, "0123456789", 1234, kAttributeReadOnly);
        fake.files.AddDirectory("C:\\Program Files\\Zinkolar");
        fake.files.now = 5678;
    }
    // Writes through an open file in pieces; the status of each write.
    std::vector<std::uint32_t> WriteInPieces(const std::vector<std::string>& pieces) {
        const auto file = fake.files.Open(kTarget, OpenMode::Create);
        EXPECT_TRUE(file) << file.code();
        std::vector<std::uint32_t> results;
        for (const std::string& piece : pieces)
            results.push_back((*file)->Write(piece).code());
        return results;
    }
    FakePlatform fake;
};

TEST_F(FakePlatformTest, FailureRulesFireAtTheirCallAndByte) {
    struct Case {
        const char* name;
        FailureRule rule;
        std::function<std::vector<std::uint32_t>(FakePlatformTest&)> act;
        std::vector<std::uint32_t> results;
        std::optional<std::string> left;  // what the destination holds afterwards
    };
    const auto copy = [](FakePlatformTest& t) {
        return std::vector<std::uint32_t>{t.fake.files.CopyFile(kSource, kTarget).code()};
    };
    const auto copy_new = [](FakePlatformTest& t) {
        const Result<std::int64_t> status = t.fake.files.CopyNewFile(kSource, kTarget, {});
        // A failed copy holds nothing; a whole one holds the source's bytes.
        const auto whole = static_cast<std::int64_t>(t.fake.files.ReadFile(kSource)->size());
        return std::vector<std::uint32_t>{
            status.code(), static_cast<std::uint32_t>(status.value_or(0) == (status ? whole : 0))};
    };
    const auto pieces = [](FakePlatformTest& t) { return t.WriteInPieces({"abc", "def", "gh"}); };
    const Case cases[] = {
        {"copy fills the disk after 4 bytes: nothing left",
         {FakeOperation::Copy, "ZINKOLAR.EXE", kDiskFull, 0, 4},
         copy,
         {kDiskFull},
         std::nullopt},
        {"copy refused at once", {FakeOperation::Copy, "zinkolar"}, copy, {5}, std::nullopt},
        {"new copy fills the disk: nothing left",
         {FakeOperation::Copy, "", kDiskFull, 0, 4},
         copy_new,
         {kDiskFull, 1},
         std::nullopt},
        {"new copy tells its size", {FakeOperation::Move, ""}, copy_new, {0, 1}, "0123456789"},
        {"rule on another path", {FakeOperation::Copy, "readme"}, copy, {0}, "0123456789"},
        {"rule on another operation", {FakeOperation::Delete, ""}, copy, {0}, "0123456789"},
        {"writes fill the disk after 5 bytes",
         {FakeOperation::Write, "", kDiskFull, 0, 5},
         pieces,
         {0, kDiskFull, kDiskFull},
         "abcde"},
        {"second write only", {FakeOperation::Write, "", 32, 2}, pieces, {0, 32, 0}, "abcgh"},
        {"open refused",
         {FakeOperation::Open, "", 32},
         [](FakePlatformTest& t) {
             return std::vector<std::uint32_t>{
                 t.fake.files.Open(kTarget, OpenMode::ReadWrite).code()};
         },
         {32},
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.files.Remove(kTarget);
        fake.files.failures.Clear();
        fake.files.failures.Add(c.rule);
        EXPECT_EQ(c.act(*this), c.results);
        EXPECT_EQ(fake.files.Bytes(kTarget), c.left);
    }
}

TEST_F(FakePlatformTest, CopyCarriesTimeAndAttributesAFailedCopyLeavesTheFile) {
    ASSERT_TRUE(fake.files.CopyFile(kSource, kTarget));
    EXPECT_EQ(fake.files.Info(kTarget)->write_time, 1234);
    EXPECT_EQ(fake.files.Info(kTarget)->attributes, kAttributeReadOnly);
    ASSERT_TRUE(fake.files.SetAttributes(kTarget, kAttributeArchive));
    fake.files.failures.Add({FakeOperation::Copy, "", kDiskFull, 0, 3});
    EXPECT_EQ(fake.files.CopyFile(kSource, kTarget).code(), kDiskFull);
    const FileInfo kept = *fake.files.Info(kTarget);
    EXPECT_EQ(kept.size, 10);
    EXPECT_EQ(kept.write_time, 1234);
    EXPECT_EQ(kept.attributes, kAttributeArchive);
    EXPECT_TRUE(fake.files.FindFiles("C:\\Program Files\\Zinkolar\\~zk*")->empty());
}

TEST_F(FakePlatformTest, RefusalsAsThePlatformGivesThem) {
    fake.files.AddFile("C:\\Program Files\\Zinkolar\\locked.dll", "x");
    const auto held =
        fake.files.Open("C:\\Program Files\\Zinkolar\\locked.dll", OpenMode::ReadWrite);
    ASSERT_TRUE(held);
    fake.files.AddFile("C:\\Program Files\\Zinkolar\\hidden.dll", "x", 0, kAttributeHidden);
    fake.files.AddFile("C:\\Program Files\\Zinkolar\\read-only.dll", "x", 0, kAttributeReadOnly);
    const std::string folder = "C:\\Program Files\\Zinkolar\\";
    struct Case {
        const char* what;
        std::uint32_t status;
        std::uint32_t error;
    } const cases[] = {
        {"copy of a missing file", fake.files.CopyFile("C:\\Dist\\none", kTarget).code(), 2},
        {"copy into a missing folder", fake.files.CopyFile(kSource, "C:\\None\\x").code(), 3},
        {"copy onto a read-only file",
         fake.files.CopyFile(kSource, folder + "read-only.dll").code(), 5},
        {"copy onto a hidden file replaces it",
         fake.files.CopyFile(kSource, folder + "hidden.dll").code(), 0},
        {"copy onto a file held open", fake.files.CopyFile(kSource, folder + "locked.dll").code(),
         32},
        {"new copy onto a file", fake.files.CopyNewFile(kSource, folder + "hidden.dll", {}).code(),
         80},
        {"new copy onto a folder", fake.files.CopyNewFile(kSource, "C:\\Program Files", {}).code(),
         80},
        {"delete of a read-only file", fake.files.DeleteFile(folder + "read-only.dll").code(), 5},
        {"delete of a file held open", fake.files.DeleteFile(folder + "locked.dll").code(), 32},
        {"move onto a file held open",
         fake.files.MoveReplacing(kSource, folder + "locked.dll").code(), 32},
        {"folder over a file", fake.files.CreateDirectories(kSource + "\\sub").code(), 183},
        {"folder on a missing drive", fake.files.CreateDirectories("Q:\\Zinkolar").code(), 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.status, c.error) << c.what;
}

TEST_F(FakePlatformTest, FoldersMadeDownToTheOneThatCannotBe) {
    fake.files.failures.Add({FakeOperation::CreateDirectory, "\\data"});
    EXPECT_EQ(fake.files.CreateDirectories("C:\\Kelmo\\Data\\In").code(), 5);
    EXPECT_TRUE(fake.files.DirectoryExists("C:\\Kelmo"));
    EXPECT_FALSE(fake.files.DirectoryExists("C:\\Kelmo\\Data"));
}

TEST_F(FakePlatformTest, RegistryKeysHoldValuesAndGoAsATree) {
    const RegistryRoot root = RegistryRoot::LocalMachine;
    FakeRegistry& registry = fake.registry;
    EXPECT_EQ(registry.WriteString(root, "Software\\Kelmo", "Path", "x").code(), 2);
    ASSERT_TRUE(registry.CreateKey(root, "Software\\Kelmo\\Zinkolar\\5.0"));
    EXPECT_TRUE(registry.KeyExists(root, "SOFTWARE\\KELMO"));
    ASSERT_TRUE(registry.WriteString(root, "Software\\Kelmo\\Zinkolar", "Path", "C:\\Z"));
    registry.Set(root, "Software\\Kelmo Other", "Path", "kept");
    ASSERT_TRUE(registry.DeleteTree(root, "software\\kelmo"));
    EXPECT_FALSE(registry.KeyExists(root, "Software\\Kelmo\\Zinkolar\\5.0"));
    EXPECT_FALSE(registry.ReadString(root, "Software\\Kelmo\\Zinkolar", "Path"));
    EXPECT_EQ(registry.ReadString(root, "Software\\Kelmo Other", "Path"), "kept");
    EXPECT_EQ(registry.DeleteTree(root, "Software\\Kelmo").code(), 2);
    EXPECT_EQ(registry.DeleteTree(root, "").code(), kErrorInvalidParameter);

    registry.failures.Add({FakeOperation::CreateKey, "\\Uninstall"});
    EXPECT_EQ(registry.CreateKey(root, "Software\\Uninstall\\Zinkolar").code(), 5);
    EXPECT_TRUE(registry.KeyExists(root, "Software"));
    EXPECT_FALSE(registry.KeyExists(root, "Software\\Uninstall"));
}

TEST_F(FakePlatformTest, LinksAreFilesThatReadBack) {
    const ShellLink link{kTarget, "/tray", "C:\\Program Files\\Zinkolar"};
    const std::string file = "C:\\Program Files\\Zinkolar\\Zinkolar.lnk";
    EXPECT_EQ(fake.shell.CreateLink(link, file), Result<void>{});
    const auto read = fake.shell.ReadLink(file);
    ASSERT_TRUE(read);
    EXPECT_EQ(std::tie(read->target, read->arguments, read->working_directory),
              std::tie(link.target, link.arguments, link.working_directory));
    EXPECT_TRUE(fake.files.FileExists(file));
    EXPECT_EQ(fake.shell.CreateLink(link, "C:\\None\\x.lnk"), Result<void>{Failure(3)});
    fake.shell.failures.Add({FakeOperation::MakeLink, "broken"});
    EXPECT_EQ(fake.shell.CreateLink(link, "C:\\Program Files\\Zinkolar\\broken.lnk").code(),
              kErrorNotLinkable);
    EXPECT_EQ(fake.shell.links, std::vector<std::string>{file});
}

// Where a caller tells "not there" from "failed", the code says which, as the platform's does.
TEST_F(FakePlatformTest, AbsentAndFailedStayApart) {
    const RegistryRoot root = RegistryRoot::LocalMachine;
    fake.registry.Set(root, "Software\\Kelmo", "Path", "C:\\Z");
    ASSERT_TRUE(fake.registry.WriteDword(root, "Software\\Kelmo", "Size", 7));
    fake.files.failures.Add({FakeOperation::Read, "unreadable", kDiskFull});
    fake.files.AddFile("C:\\Program Files\\Zinkolar\\unreadable.ini", "x");
    const struct {
        const char* what;
        std::uint32_t code;
        std::uint32_t expected;
    } cases[] = {
        {"info of a missing file", fake.files.Info("C:\\Program Files\\none").code(),
         kErrorFileNotFound},
        {"info in a missing folder", fake.files.Info("C:\\None\\none").code(), kErrorPathNotFound},
        {"search without a match", fake.files.FindFiles("C:\\Program Files\\*.none").code(), 0},
        {"search of a missing folder", fake.files.FindFiles("C:\\None\\*").code(),
         kErrorPathNotFound},
        {"read that fails",
         fake.files.ReadFile("C:\\Program Files\\Zinkolar\\unreadable.ini").code(), kDiskFull},
        {"read of a missing file", fake.files.ReadFile("C:\\Program Files\\none").code(),
         kErrorFileNotFound},
        {"missing value", fake.registry.ReadString(root, "Software\\Kelmo", "None").code(),
         kErrorFileNotFound},
        {"number read as text", fake.registry.ReadString(root, "Software\\Kelmo", "Size").code(),
         kErrorInvalidDatatype},
        {"text read as number", fake.registry.ReadDword(root, "Software\\Kelmo", "Path").code(),
         kErrorInvalidDatatype},
        {"missing value deleted", fake.registry.DeleteValue(root, "Software\\Kelmo", "None").code(),
         kErrorFileNotFound},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.code, c.expected) << c.what;
}

TEST_F(FakePlatformTest, StatusAndClock) {
    EXPECT_EQ(Failure(0).code, kErrorGenFailure);  // a failure is never success
    EXPECT_FALSE(Result<void>(Failure(kDiskFull)));
    FakeClock& clock = fake.clock;
    const std::uint64_t start = clock.Milliseconds();
    clock.Sleep(1500);
    EXPECT_EQ(clock.Milliseconds(), start + 1500);
    constexpr std::int64_t k20210304050608 = 132593079680000000;
    clock.time_zone_minutes = 180;  // 08:06:08 local
    EXPECT_EQ(clock.LocalDosDateTime(k20210304050608),
              ((((2021u - 1980) << 9) | (3 << 5) | 4) << 16) | (8 << 11) | (6 << 5) | 4);
    clock.time_zone_minutes = -360;  // 23:06:08 the day before
    EXPECT_EQ(clock.LocalDosDateTime(k20210304050608),
              ((((2021u - 1980) << 9) | (3 << 5) | 3) << 16) | (23 << 11) | (6 << 5) | 4);
    EXPECT_EQ(clock.LocalDosDateTime(0), 0u);  // 1601: before the packed form's years
}

}  // namespace
}  // namespace platform
