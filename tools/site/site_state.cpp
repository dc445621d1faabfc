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

void SiteState::append(std::deque<std::string>& log, std::string line) {
    log.push_back(std::move(line));
    if (log.size() > kRequestLogLimit) {
        log.pop_front();
    }
}

void SiteState::recordRequest(std::string line) {
    std::lock_guard lock(mutex_);
    append(requests_, std::move(line));
}

std::vector<std::string> SiteState::requests() const {
    std::lock_guard lock(mutex_);
    return {requests_.begin(), requests_.end()};
}

void SiteState::clearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

void SiteState::recordRefusedPoll(std::string line) {
    std::lock_guard lock(mutex_);
    std::cerr << "tarnix-site: refused poll: " << line << std::endl;
    append(refusedPolls_, std::move(line));
}

std::vector<std::string> SiteState::refusedPolls() const {
    std::lock_guard lock(mutex_);
    return {refusedPolls_.begin(), refusedPolls_.end()};
}

void SiteState::clearRefusedPolls() {
    std::lock_guard lock(mutex_);
    refusedPolls_.clear();
}

void SiteState::recordCookies(std::string line) {
    std::lock_guard lock(mutex_);
    append(cookies_, std::move(line));
}

std::vector<std::string> SiteState::cookies() const {
    std::lock_guard lock(mutex_);
    return {cookies_.begin(), cookies_.end()};
}

void SiteState::clearCookies() {
    std::lock_guard lock(mutex_);
    cookies_.clear();
}

}  // namespace site
