#include "site/options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace site {

namespace {

constexpr double kMaxLifetimeSeconds = 86400;
constexpr size_t kMaxDatePatternLength = 64;

std::uint16_t parsePort(std::string_view text) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value > 65535) {
        throw std::invalid_argument("--port takes a number from 0 to 65535, not '" +
                                    std::string(text) + "'");
    }
    return static_cast<std::uint16_t>(value);
}

SiteMode parseMode(std::string_view text) {
    if (text == "answer") {
        return SiteMode::Answer;
    }
    if (text == "refuse") {
        return SiteMode::Refuse;
    }
    if (text == "hang") {
        return SiteMode::Hang;
    }
    if (text == "faults") {
        return SiteMode::Faults;
    }
    throw std::invalid_argument("--mode is answer, refuse, hang or faults, not '" +
                                std::string(text) + "'");
}

std::chrono::milliseconds parseLifetime(std::string_view text) {
    double seconds = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (ec != std::errc() || end != text.data() + text.size() || !(seconds > 0) ||
        seconds > kMaxLifetimeSeconds) {
        throw std::invalid_argument("--lifetime takes seconds above 0 and up to 86400, not '" +
                                    std::string(text) + "'");
    }
    // At least one millisecond, so a tiny lifetime still means "stop soon", never "run forever".
    return std::chrono::milliseconds(std::max<long long>(1, std::llround(seconds * 1000)));
}

std::string parseDatePattern(std::string_view text) {
    const bool control = std::any_of(text.begin(), text.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    if (text.empty() || text.size() > kMaxDatePatternLength || control) {
        throw std::invalid_argument(
            "--date-pattern takes a short-date pattern such as M/d/yyyy (1 to 64 characters, no "
            "control characters), not '" +
            std::string(text) + "'");
    }
    return std::string(text);
}

std::chrono::year_month_day parseDate(std::string_view text) {
    // Exactly YYYY-MM-DD: each field all digits, and a day the month has.
    const auto field = [text](size_t from, size_t digits) {
        unsigned value = 0;
        const char* first = text.data() + from;
        const auto [end, ec] = std::from_chars(first, first + digits, value);
        return ec == std::errc() && end == first + digits ? value : 0u;
    };
    const std::chrono::year_month_day date =
        text.size() == 10 && text[4] == '-' && text[7] == '-'
            ? std::chrono::year_month_day(std::chrono::year(int(field(0, 4))),
                                          std::chrono::month(field(5, 2)),
                                          std::chrono::day(field(8, 2)))
            : std::chrono::year_month_day(std::chrono::year(0), std::chrono::month(0),
                                          std::chrono::day(0));
    if (!date.ok() || date.year() == std::chrono::year(0)) {
        throw std::invalid_argument("--date takes a date as YYYY-MM-DD, not '" + std::string(text) +
                                    "'");
    }
    return date;
}

}  // namespace

SiteOptions parseOptions(std::span<const std::string_view> args) {
    SiteOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view name = args[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name != "--port" && name != "--mode" && name != "--port-file" && name != "--lifetime" &&
            name != "--date-pattern" && name != "--date" && name != "--faults") {
            throw std::invalid_argument("unknown option '" + std::string(name) + "'");
        }
        if (i + 1 == args.size()) {
            throw std::invalid_argument(std::string(name) + " needs a value");
        }
        const std::string_view value = args[++i];
        if (name == "--port") {
            options.port = parsePort(value);
        } else if (name == "--mode") {
            options.mode = parseMode(value);
        } else if (name == "--port-file") {
            if (value.empty()) {
                throw std::invalid_argument("--port-file needs a path");
            }
            options.portFile = value;
        } else if (name == "--lifetime") {
            options.lifetime = parseLifetime(value);
        } else if (name == "--faults") {
            options.faults = parseFaults(value);
        } else if (name == "--date-pattern") {
            options.tokenRule.datePattern = parseDatePattern(value);
        } else {
            options.tokenRule.dates.push_back(parseDate(value));
        }
    }
    return options;
}

std::string_view usage() {
    return "usage: tarnix-site [--port N] [--mode answer|refuse|hang|faults] [--faults LIST]\n"
           "                   [--port-file PATH] [--lifetime SECONDS] [--date-pattern PATTERN]\n"
           "                   [--date YYYY-MM-DD]\n"
           "  --port N            port on 127.0.0.1; 0 (the default) picks a free one\n"
           "  --mode answer       serve the pages (default)\n"
           "         refuse       listen nowhere: the reported port is closed\n"
           "         hang         accept connections and never answer\n"
           "         faults       serve the pages; each poll meets the next fault of --faults\n"
           "  --faults LIST       the faults polls meet in turn, comma-separated, from answer,\n"
           "                      refuse, hang, trickle, huge, redirect-loop, garbage, alerts\n"
           "                      (default: each once, in that order)\n"
           "  --port-file PATH    write the port there once ready\n"
           "  --lifetime SECONDS  stop by itself after this long (default 600)\n"
           "  --date-pattern PATTERN  the program user's short-date pattern, which poll tokens\n"
           "                      are made with (default M/d/yyyy)\n"
           "  --date YYYY-MM-DD   the date poll tokens are made for (default: today, local); "
           "given\n"
           "                      again, tokens of any of the dates are taken\n"
           "Prints 'listening 127.0.0.1:<port>' when ready; stops on SIGINT or SIGTERM.\n";
}

}  // namespace site
