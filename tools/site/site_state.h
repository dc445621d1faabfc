#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "site/poll_token.h"

namespace site {

// What the site remembers between requests: the text the poll page answers, the page requests it
// has served and the polls it refused. Requests arrive on several server threads.
class SiteState {
  public:
    static constexpr std::size_t kRequestLogLimit = 1000;

    explicit SiteState(TokenRule tokenRule = {}) : tokenRule_(std::move(tokenRule)) {}

    const TokenRule& tokenRule() const { return tokenRule_; }

    void setPollAnswer(std::string answer);
    std::string pollAnswer() const;

    // One line per request ("GET /update.php?membername=..."); the oldest go beyond the limit.
    void recordRequest(std::string line);
    std::vector<std::string> requests() const;
    void clearRequests();

    // One line per refused poll, also written to stderr; kept like the requests.
    void recordRefusedPoll(std::string line);
    std::vector<std::string> refusedPolls() const;
    void clearRefusedPolls();

    // One line per request that brought cookies: "<path> <Cookie header>"; kept like the requests.
    void recordCookies(std::string line);
    std::vector<std::string> cookies() const;
    void clearCookies();

  private:
    static void append(std::deque<std::string>& log, std::string line);

    const TokenRule tokenRule_;
    mutable std::mutex mutex_;
    std::string pollAnswer_;
    std::deque<std::string> requests_;
    std::deque<std::string> refusedPolls_;
    std::deque<std::string> cookies_;
};

}  // namespace site
