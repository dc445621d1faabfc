#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// Run-time error numbers raised by the platform and by system code.
enum ErrorNumber : int {
    kInvalidCall = 5,
    kOverflow = 6,
    kSubscriptOutOfRange = 9,
    kTypeMismatch = 13,
    kBadFileNameOrNumber = 52,
    kFileNotFound = 53,
    kFileAlreadyOpen = 55,
    kInputPastEnd = 62,
    kPermissionDenied = 70,
    kPathFileAccess = 75,
    kPathNotFound = 76,
    kObjectNotSet = 91,
    kCannotCreateObject = 429,
    kMemberNotSupported = 438,
};

// The one exception type for run-time errors: a number and its description.
class RuntimeError : public std::runtime_error {
  public:
    explicit RuntimeError(int number, std::string description = {});

    int number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }

  private:
    int number_;
    std::string description_;
};

// The platform's standard description of an error number ("Application-defined or object-defined
// error" for numbers it has no text for).
std::string errorDescription(int number);

[[noreturn]] void raise(int number, std::string description = {});

}  // namespace platform
