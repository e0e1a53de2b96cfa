#pragma once
// Polling with a deadline: the driver waits for what a person would wait for (a window, a
// dialog, the end of the program) and fails with a message saying what never came.
#include <windows.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>

namespace e2e {

using namespace std::chrono_literals;
using Timeout = std::chrono::milliseconds;

inline constexpr Timeout kDefaultTimeout = 15s;
inline constexpr Timeout kPollInterval = 50ms;

// Calls probe() until it returns a value; throws std::runtime_error("timed out: " + what).
template <typename Probe>
auto WaitFor(Probe probe, Timeout timeout, const std::string& what) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        auto result = probe();
        if (result) {
            return *std::move(result);
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            throw std::runtime_error("timed out after " + std::to_string(timeout.count()) +
                                     " ms waiting for " + what);
        }
        Sleep(static_cast<DWORD>(kPollInterval.count()));
    }
}

// For conditions without a value.
template <typename Condition>
void WaitUntil(Condition condition, Timeout timeout, const std::string& what) {
    WaitFor([&] { return condition() ? std::optional<bool>(true) : std::nullopt; }, timeout, what);
}

}  // namespace e2e
