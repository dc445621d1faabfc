#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "site/poll_token.h"

namespace site {

// What the site remembers between requests: the text the poll page answers and its lists (the
// page requests it has served, the polls it refused, the cookies brought). Requests arrive on
// several server threads.
class SiteState {
  public:
    static constexpr std::size_t kRequestLogLimit = 1000;

    explicit SiteState(TokenRule tokenRule = {}) : tokenRule_(std::move(tokenRule)) {}

    const TokenRule& tokenRule() const { return tokenRule_; }

    void setPollAnswer(std::string answer);
    std::string pollAnswer() const;

    // The lists the site keeps, one line per entry, the oldest going beyond kRequestLogLimit:
    // Requests: one per page request ("GET /update.php?membername=...");
    // RefusedPolls: one per refused poll, also written to stderr;
    // Cookies: one per request that brought cookies ("<path> <Cookie header>").
    enum class Log { Requests, RefusedPolls, Cookies };

    void record(Log log, std::string line);
    std::vector<std::string> lines(Log log) const;
    void clear(Log log);

  private:
    const TokenRule tokenRule_;
    mutable std::mutex mutex_;
    std::string pollAnswer_;
    std::array<std::deque<std::string>, 3> logs_;
};

}  // namespace site
