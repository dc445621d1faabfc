#include "site/site_state.h"

namespace site {

void SiteState::setPollAnswer(std::string answer) {
    std::lock_guard lock(mutex_);
    pollAnswer_ = std::move(answer);
}

std::string SiteState::pollAnswer() const {
    std::lock_guard lock(mutex_);
    return pollAnswer_;
}

void SiteState::recordRequest(std::string line) {
    std::lock_guard lock(mutex_);
    requests_.push_back(std::move(line));
    if (requests_.size() > kRequestLogLimit) {
        requests_.pop_front();
    }
}

std::vector<std::string> SiteState::requests() const {
    std::lock_guard lock(mutex_);
    return {requests_.begin(), requests_.end()};
}

void SiteState::clearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

}  // namespace site
