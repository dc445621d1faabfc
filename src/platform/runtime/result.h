#pragma once

#include <string>
#include <system_error>
#include <type_traits>
#include <utility>
#include <variant>

namespace platform {

// Why an operation inside the platform failed: an errno value or a code of the platform's own
// (a registry status, a multimedia error), and one line for a trace or a message.
struct Failure {
    int code = 0;
    std::string reason;
};

// The failure the system reported as errno value number; the reason is the system's own text,
// after context and ": " when context is given.
inline Failure systemFailure(int number, const std::string& context = {}) {
    std::string message = std::generic_category().message(number);
    return {number, context.empty() ? message : context + ": " + message};
}

// What an operation that can fail gives: its value, or the failure. Reading the value of a
// failure (or the failure of a value) throws std::bad_variant_access.
template <typename T>
class [[nodiscard]] Result {
    static_assert(!std::is_same_v<T, Failure>, "a failure is not a value");

  public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const Failure& failure() const { return std::get<1>(state_); }

    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

  private:
    std::variant<T, Failure> state_;
};

// An operation without a value: success, or the failure.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const Failure& failure() const { return std::get<1>(state_); }

  private:
    std::variant<std::monostate, Failure> state_;
};

using Status = Result<void>;

}  // namespace platform
