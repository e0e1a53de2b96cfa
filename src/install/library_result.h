#pragma once
// What a call into a product library gives: a value, or the failure that kept the call from
// being made.
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace install {

// Why a product library could not be called. The load-error message names `name`: the library's
// file name when it did not load, the function's name when the library lacks it.
struct LibraryFailure {
    enum class Kind { LibraryMissing, FunctionMissing };
    Kind kind;
    std::string name;
    bool operator==(const LibraryFailure&) const = default;
};

// A value or the failure that kept the call from being made; shaped like C++23's
// std::expected (implicit from either side) so that it can be replaced by it.
template <class T>
class LibraryResult {
  public:
    LibraryResult(T value) : state_(std::move(value)) {}
    LibraryResult(LibraryFailure failure) : state_(std::move(failure)) {}
    bool has_value() const { return state_.index() == 0; }
    explicit operator bool() const { return has_value(); }
    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const LibraryFailure& error() const { return std::get<1>(state_); }

  private:
    std::variant<T, LibraryFailure> state_;
};

template <>
class LibraryResult<void> {
  public:
    LibraryResult() = default;
    LibraryResult(LibraryFailure failure) : failure_(std::move(failure)) {}
    bool has_value() const { return !failure_; }
    explicit operator bool() const { return has_value(); }
    const LibraryFailure& error() const { return failure_.value(); }

  private:
    std::optional<LibraryFailure> failure_;
};

}  // namespace install
