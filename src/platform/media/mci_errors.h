#pragma once

#include <cstdint>

namespace platform::media {

// Result codes of the multimedia command interpreter: 0 is success, every failure a non-zero code
// in the interpreter's own range above 256.
enum MciError : uint32_t {
    kMciOk = 0,
    kMciUnrecognizedKeyword = 259,
    kMciUnrecognizedCommand = 261,
    kMciOutputRefused = 262,
    kMciInvalidDeviceName = 263,
    kMciDeviceAlreadyOpen = 265,
    kMciMissingCommandString = 267,
    kMciMissingParameter = 273,
    kMciBadInteger = 274,
    kMciFileNotFound = 275,
    kMciOutOfRange = 282,
    kMciInvalidFile = 296,
};

}  // namespace platform::media
