#include "site/site_state.h"

#include <iostream>

namespace site {

void SiteState::setPollAnswer(std::string answer) {
    std::lock_guard lock(mutex_);
    pollAnswer_ = std::move(answer);
}

std::string SiteState::pollAnswer() const {
    std::lock_guard lock(mutex_);
    return pollAnswer_;
}

void SiteState::record(Log log, std::string line) {
    std::lock_guard lock(mutex_);
    if (log == Log::RefusedPolls) {
        std::cerr << "tarnix-site: refused poll: " << line << std::endl;
    }
    auto& kept = logs_[static_cast<std::size_t>(log)];
    kept.push_back(std::move(line));
    if (kept.size() > kRequestLogLimit) {
        kept.pop_front();
    }
}

std::vector<std::string> SiteState::lines(Log log) const {
    std::lock_guard lock(mutex_);
    const auto& kept = logs_[static_cast<std::size_t>(log)];
    return {kept.begin(), kept.end()};
}

void SiteState::clear(Log log) {
    std::lock_guard lock(mutex_);
    logs_[static_cast<std::size_t>(log)].clear();
}

}  // namespace site
