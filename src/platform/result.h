#pragma once
// What a platform call that can fail gives back: its value, or the platform's error (its code and
// what was being done), so that a caller can say what failed and not only that something did.
// Every such result must be looked at: one dropped on purpose goes through IgnoreFailure.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace platform {

// The platform's codes that the program and the fakes name (GetLastError's).
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorPathNotFound = 3;
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorInvalidData = 13;
inline constexpr std::uint32_t kErrorNotReady = 21;
inline constexpr std::uint32_t kErrorGenFailure = 31;
inline constexpr std::uint32_t kErrorSharingViolation = 32;
inline constexpr std::uint32_t kErrorHandleDiskFull = 39;
inline constexpr std::uint32_t kErrorNotSupported = 50;
inline constexpr std::uint32_t kErrorFileExists = 80;
inline constexpr std::uint32_t kErrorInvalidParameter = 87;
inline constexpr std::uint32_t kErrorDiskFull = 112;
inline constexpr std::uint32_t kErrorModNotFound = 126;
inline constexpr std::uint32_t kErrorProcNotFound = 127;
inline constexpr std::uint32_t kErrorNegativeSeek = 131;
inline constexpr std::uint32_t kErrorDirNotEmpty = 145;
inline constexpr std::uint32_t kErrorAlreadyExists = 183;
inline constexpr std::uint32_t kErrorDirectory = 267;
inline constexpr std::uint32_t kErrorNoUnicodeTranslation = 1113;
inline constexpr std::uint32_t kErrorInvalidDatatype = 1804;
// The program's own codes have bit 29 set, which no code of the platform has.
// A shell link's properties that no link can hold: nothing was saved.
inline constexpr std::uint32_t kErrorNotLinkable = 0x20000001;

// Why a call failed: the platform's code (never 0) and, for the account, what was being done.
// Two errors are alike when their codes are: the text is for people, not for decisions.
struct Error {
    std::uint32_t code = kErrorGenFailure;
    std::string text;
    bool operator==(const Error& other) const { return code == other.code; }
};

// A failure with the platform's code; a code of 0 (a call that failed without saying why) is
// taken as kErrorGenFailure, so that a failure never reads as success.
inline Error Failure(std::uint32_t code, std::string text = {}) {
    return Error{code == 0 ? kErrorGenFailure : code, std::move(text)};
}

template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool Ok() const { return state_.index() == 0; }
    explicit operator bool() const { return Ok(); }
    // 0 on success, else the platform's code.
    std::uint32_t code() const { return Ok() ? 0 : error().code; }
    const Error& error() const { return std::get<1>(state_); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    // The value, or the fallback when the call failed: for a caller to whom a failure means
    // the same as the fallback (a folder that cannot be listed holds nothing for it).
    T value_or(T fallback) const& { return Ok() ? value() : std::move(fallback); }
    T value_or(T fallback) && { return Ok() ? std::move(*this).value() : std::move(fallback); }
    // A value that is there and equal; none is equal to a failure (for checks).
    friend bool operator==(const Result& result, const T& value) {
        return result.Ok() && result.value() == value;
    }
    friend bool operator==(const Result& result, std::nullopt_t) { return !result.Ok(); }

  private:
    std::variant<T, Error> state_;
};

// Success or the platform's error, for a call that gives nothing else.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Error error) : error_(std::move(error)), failed_(true) {}

    bool Ok() const { return !failed_; }
    explicit operator bool() const { return Ok(); }
    std::uint32_t code() const { return failed_ ? error_.code : 0; }
    const Error& error() const { return error_; }
    bool operator==(const Result& other) const { return code() == other.code(); }

  private:
    Error error_;
    bool failed_ = false;
};

// As the optional it stands for: the same value, or none for a failure (for checks).
template <class T>
bool operator==(const Result<T>& result, const std::optional<T>& value) {
    return value ? result == *value : !result.Ok();
}

inline Result<void> Success() {
    return {};
}

// Drops a result on purpose; `why` says why its failure changes nothing for the caller.
template <class T>
void IgnoreFailure(const Result<T>& /*result*/, std::string_view /*why*/) {}

}  // namespace platform
