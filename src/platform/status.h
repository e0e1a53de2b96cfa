#pragma once
// What a platform operation gave back: success, or the platform's own error code, so that a
// caller can say what failed and not only that something did.
#include <cstdint>

namespace platform {

struct Status {
    std::uint32_t error = 0;  // 0 for success, else the platform's error code (GetLastError)

    bool Ok() const { return error == 0; }
    explicit operator bool() const { return Ok(); }
    bool operator==(const Status&) const = default;
    static Status Success() { return {}; }
    static Status Failure(std::uint32_t code) { return {code == 0 ? kErrorGenFailure : code}; }

    // The platform's codes that the program and the fakes name.
    static constexpr std::uint32_t kErrorFileNotFound = 2;
    static constexpr std::uint32_t kErrorPathNotFound = 3;
    static constexpr std::uint32_t kErrorAccessDenied = 5;
    static constexpr std::uint32_t kErrorGenFailure = 31;
    static constexpr std::uint32_t kErrorSharingViolation = 32;
    static constexpr std::uint32_t kErrorHandleDiskFull = 39;
    static constexpr std::uint32_t kErrorFileExists = 80;
    static constexpr std::uint32_t kErrorInvalidParameter = 87;
    static constexpr std::uint32_t kErrorDiskFull = 112;
    static constexpr std::uint32_t kErrorNegativeSeek = 131;
    static constexpr std::uint32_t kErrorDirNotEmpty = 145;
    static constexpr std::uint32_t kErrorAlreadyExists = 183;
    static constexpr std::uint32_t kErrorNoUnicodeTranslation = 1113;
    static constexpr std::uint32_t kErrorDirectory = 267;
};

}  // namespace platform
