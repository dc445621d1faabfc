#include "site/options.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace site {

namespace {

constexpr double kMaxLifetimeSeconds = 86400;

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
    throw std::invalid_argument("--mode is answer, refuse or hang, not '" + std::string(text) +
                                "'");
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

}  // namespace

SiteOptions parseOptions(std::span<const std::string_view> args) {
    SiteOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view name = args[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name != "--port" && name != "--mode" && name != "--port-file" && name != "--lifetime") {
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
        } else {
            options.lifetime = parseLifetime(value);
        }
    }
    return options;
}

std::string_view usage() {
    return "usage: tarnix-site [--port N] [--mode answer|refuse|hang] [--port-file PATH]\n"
           "                   [--lifetime SECONDS]\n"
           "  --port N            port on 127.0.0.1; 0 (the default) picks a free one\n"
           "  --mode answer       serve the pages (default)\n"
           "         refuse       listen nowhere: the reported port is closed\n"
           "         hang         accept connections and never answer\n"
           "  --port-file PATH    write the port there once ready\n"
           "  --lifetime SECONDS  stop by itself after this long (default 600)\n"
           "Prints 'listening 127.0.0.1:<port>' when ready; stops on SIGINT or SIGTERM.\n";
}

}  // namespace site
