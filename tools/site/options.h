#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "site/fault_cycle.h"
#include "site/poll_token.h"

namespace site {

// answer: serve the pages; refuse: report a port on which nothing listens; hang: accept
// connections and never answer them; faults: serve the pages, and each poll meets the next fault
// of a cycle.
enum class SiteMode { Answer, Refuse, Hang, Faults };

struct SiteOptions {
    std::uint16_t port = 0;  // 0: pick a free port
    SiteMode mode = SiteMode::Answer;
    std::string portFile;  // empty: none
    std::chrono::milliseconds lifetime{600'000};
    TokenRule tokenRule;
    std::vector<Fault> faults = everyFault();
    bool help = false;
};

// Reads the command line after the program name. Throws std::invalid_argument naming the fault.
SiteOptions parseOptions(std::span<const std::string_view> args);

std::string_view usage();

}  // namespace site
