// The count of installations that use a shared file: up by one per installation, down by one
// per removal, and the file free to go only when it reaches zero.
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

#include "install/shared_files.h"
#include "platform/fake/fake_platform.h"

namespace {

using install::SharedFileUse;
using platform::RegistryRoot;

constexpr char kFile[] = "C:\\WINDOWS\\system32\\znklrf32.dll";
constexpr std::uint32_t kLargest = std::numeric_limits<std::uint32_t>::max();

class SharedFilesTest : public testing::Test {
  protected:
    platform::Result<std::uint32_t> Count() const {
        return fake.registry.ReadDword(RegistryRoot::LocalMachine, install::kSharedDllsKey, kFile);
    }
    void SetCount(std::uint32_t count) {
        ASSERT_TRUE(fake.registry.CreateKey(RegistryRoot::LocalMachine, install::kSharedDllsKey));
        ASSERT_TRUE(fake.registry.WriteDword(RegistryRoot::LocalMachine, install::kSharedDllsKey,
                                             kFile, count));
    }

    platform::FakePlatform fake;
};

TEST_F(SharedFilesTest, CountedUpAndDownToZero) {
    struct Case {
        const char* name;
        std::optional<std::uint32_t> before;  // nullopt: no value
        bool as_string;                       // the value is a string, as some tools write it
        std::optional<std::uint32_t> counted;
        SharedFileUse released;
        std::optional<std::uint32_t> left;  // after the release, from `before`
    };
    const Case cases[] = {
        {"absent", std::nullopt, false, 1, SharedFileUse::NotCounted, std::nullopt},
        {"zero", 0, false, 1, SharedFileUse::NotCounted, 0},
        {"one", 1, false, 2, SharedFileUse::Unused, std::nullopt},
        {"two", 2, false, 3, SharedFileUse::StillUsed, 1},
        {"largest", kLargest, false, kLargest, SharedFileUse::StillUsed, kLargest - 1},
        {"string", 5, true, 1, SharedFileUse::NotCounted, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool count : {true, false}) {
            platform::IgnoreFailure(
                fake.registry.DeleteTree(RegistryRoot::LocalMachine, install::kSharedDllsKey),
                "the first case finds no key");
            if (c.as_string)
                fake.registry.Set(RegistryRoot::LocalMachine, install::kSharedDllsKey, kFile, "5");
            else if (c.before)
                SetCount(*c.before);
            if (count) {
                EXPECT_TRUE(install::CountSharedFileUse(fake.registry, kFile));
                EXPECT_EQ(Count(), c.counted);
                continue;
            }
            const install::SharedFileRelease release =
                install::ReleaseSharedFileUse(fake.registry, kFile);
            EXPECT_EQ(release.use, c.released);
            EXPECT_TRUE(release.status);
            EXPECT_EQ(Count(), c.left);
        }
    }
}

TEST_F(SharedFilesTest, ACountThatCannotBeChangedIsAnErrorAndTheFileStays) {
    fake.registry.failures.Add({platform::FakeOperation::CreateKey, "SharedDLLs"});
    EXPECT_EQ(install::CountSharedFileUse(fake.registry, kFile).code(),
              platform::kErrorAccessDenied);
    fake.registry.failures.Clear();

    SetCount(2);
    fake.registry.failures.Add({platform::FakeOperation::WriteValue, "SharedDLLs"});
    EXPECT_FALSE(install::CountSharedFileUse(fake.registry, kFile));
    install::SharedFileRelease release = install::ReleaseSharedFileUse(fake.registry, kFile);
    EXPECT_EQ(release.use, SharedFileUse::StillUsed);
    EXPECT_FALSE(release.status);
    EXPECT_EQ(Count(), 2u);
    fake.registry.failures.Clear();

    SetCount(1);
    fake.registry.failures.Add({platform::FakeOperation::DeleteValue, "SharedDLLs"});
    release = install::ReleaseSharedFileUse(fake.registry, kFile);
    EXPECT_EQ(release.use, SharedFileUse::StillUsed);
    EXPECT_FALSE(release.status);
    EXPECT_EQ(Count(), 1u);
}

}  // namespace
