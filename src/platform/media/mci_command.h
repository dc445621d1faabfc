#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/media/mci_errors.h"

namespace platform::media {

// One command string split into its parts: "VERB device keyword keyword ...".
struct MciCommand {
    std::string verb;  // upper case
    std::string device;
    std::vector<std::string> keywords;  // upper case
};

struct MciParse {
    MciError error = kMciOk;
    MciCommand command;
};

// The device is either a bare word or everything between a pair of double quotes (spaces and
// semicolons included); words are separated by blanks. A quote that is never closed, or an empty
// pair of quotes, is an invalid device name.
MciParse parseMciCommand(std::string_view text);

}  // namespace platform::media
