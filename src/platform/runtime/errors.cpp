#include "platform/runtime/errors.h"

namespace platform {

namespace {
std::string describe(int number, std::string description) {
    return description.empty() ? errorDescription(number) : std::move(description);
}
}  // namespace

RuntimeError::RuntimeError(int number, std::string description)
    : std::runtime_error(describe(number, description)),
      number_(number),
      description_(describe(number, std::move(description))) {}

std::string errorDescription(int number) {
    switch (number) {
        case kInvalidCall:
            return "Invalid procedure call or argument";
        case kOverflow:
            return "Overflow";
        case kSubscriptOutOfRange:
            return "Subscript out of range";
        case kTypeMismatch:
            return "Type mismatch";
        case kBadFileNameOrNumber:
            return "Bad file name or number";
        case kFileNotFound:
            return "File not found";
        case kFileAlreadyOpen:
            return "File already open";
        case kInputPastEnd:
            return "Input past end of file";
        case kPermissionDenied:
            return "Permission denied";
        case kPathFileAccess:
            return "Path/File access error";
        case kPathNotFound:
            return "Path not found";
        case kObjectNotSet:
            return "Object variable or With block variable not set";
        case kCannotCreateObject:
            return "ActiveX component can't create object";
        case kMemberNotSupported:
            return "Object doesn't support this property or method";
        default:
            return "Application-defined or object-defined error";
    }
}

void raise(int number, std::string description) {
    throw RuntimeError(number, std::move(description));
}

}  // namespace platform
