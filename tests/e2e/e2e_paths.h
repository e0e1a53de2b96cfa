#pragma once
// Where the end-to-end tests find the sample distributions and leave their screenshots.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace e2e {

inline const std::string kDistributions = E2E_BUILD_DIR "/distribution/";

// One folder of pictures per test, named after it.
inline std::string ShotsFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    std::replace(name.begin(), name.end(), '/', '_');
    return E2E_BUILD_DIR "/e2e-shots/" + name;
}

}  // namespace e2e
