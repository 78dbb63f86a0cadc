// The one way a fallible call answers: a value, or a sentence for a person saying why there is none.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

namespace platform::foundation {

// What a failing call returns: `return Failure{"cannot read " + path};` converts to any Result.
struct Failure {
    std::string message;
};

template <typename T> class Result;

namespace detail {
[[noreturn]] inline void value_of_failure(const std::string& message) {
    // Reading the value of a failure is a programming error; carrying on would use garbage.
    std::fprintf(stderr, "value() of a failed result: %s\n", message.c_str());
    std::abort();
}

// What a Result<T> is made from as its value: anything a T is made from, but a Failure or another
// Result of the same type.
template <typename U, typename T>
concept ValueFor = std::is_constructible_v<T, U&&> && !std::is_same_v<std::remove_cvref_t<U>, Failure> &&
                   !std::is_same_v<std::remove_cvref_t<U>, Result<T>>;
} // namespace detail

// Either a T or an error message. Implicit from a T (so `return value;` works) and from a Failure.
template <typename T> class [[nodiscard]] Result {
  public:
    using value_type = T;

    template <detail::ValueFor<T> U = T> Result(U&& value) : value_(std::in_place, std::forward<U>(value)) {}
    Result(Failure failure) : error_(std::move(failure.message)) {}

    static Result failure(std::string message) { return Result(Failure{std::move(message)}); }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }

    T& value() & {
        check();
        return *value_;
    }
    const T& value() const& {
        check();
        return *value_;
    }
    T&& value() && {
        check();
        return std::move(*value_);
    }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    template <typename U> T value_or(U&& fallback) const& {
        return ok() ? *value_ : static_cast<T>(std::forward<U>(fallback));
    }

    // The message of a failure; empty for a value.
    const std::string& error() const { return error_; }

  private:
    void check() const {
        if (!ok())
            detail::value_of_failure(error_);
    }

    std::optional<T> value_;
    std::string error_;
};

// A call that only succeeds or fails: `return {};` is success.
template <> class [[nodiscard]] Result<void> {
  public:
    using value_type = void;

    Result() = default;
    Result(Failure failure) : error_(std::move(failure.message)) {}

    static Result failure(std::string message) { return Result(Failure{std::move(message)}); }

    bool ok() const { return !error_.has_value(); }
    explicit operator bool() const { return ok(); }

    // The message of a failure; empty for a success.
    const std::string& error() const {
        static const std::string none;
        return error_ ? *error_ : none;
    }

  private:
    std::optional<std::string> error_;
};

} // namespace platform::foundation
