#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace site {

// What the site remembers between requests: the text the poll page answers, and the page
// requests it has served. Requests arrive on several server threads.
class SiteState {
  public:
    static constexpr std::size_t kRequestLogLimit = 1000;

    void setPollAnswer(std::string answer);
    std::string pollAnswer() const;

    // One line per request ("GET /update.php?membername=..."); the oldest go beyond the limit.
    void recordRequest(std::string line);
    std::vector<std::string> requests() const;
    void clearRequests();

  private:
    mutable std::mutex mutex_;
    std::string pollAnswer_;
    std::deque<std::string> requests_;
};

}  // namespace site
