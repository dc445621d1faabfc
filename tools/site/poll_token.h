#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/short_date.h"

namespace site {

// How the poll page checks tokens: the short-date pattern of the program's user, and the dates the
// site takes as today (none: its own local date). A run on a clock of its own that passes midnight
// names both days.
struct TokenRule {
    std::string datePattern = std::string(platform::kDefaultShortDatePattern);
    std::vector<std::chrono::year_month_day> dates;
};

// The dates whose tokens a poll may carry: the rule's dates; else today and, for a poll made just
// before midnight, yesterday.
std::vector<std::chrono::year_month_day> tokenDates(const TokenRule& rule,
                                                    std::chrono::system_clock::time_point now);

// The date text of a poll: the date written with the short-date pattern, every "/" removed.
std::string pollDateText(std::string_view datePattern, std::chrono::year_month_day date);

// The token a poll carries: the MD5 (OpenSSL's) of the date text, "_" and the member name, taken
// as Windows-1252 bytes, in 32 lower-case hex digits.
std::string pollToken(std::string_view dateText, std::string_view memberName);

struct PollQuery {
    std::string memberName;
    std::string token;
};

// The member name and token of a raw poll target "<path>?membername=<name>&vb=<token>". The name
// is sent unescaped, so it is everything up to the last "&vb="; of its escapes only those the
// transport makes (a blank, a byte above 127) are decoded. Nothing for any other query.
std::optional<PollQuery> parsePollQuery(std::string_view target);

}  // namespace site
