#include "site/fault_cycle.h"

#include <algorithm>
#include <stdexcept>

namespace site {

namespace {

constexpr std::array<std::string_view, kFaultKinds> kNames{
    "answer", "refuse", "hang", "trickle", "huge", "redirect-loop", "garbage", "alerts"};

}  // namespace

std::string_view faultName(Fault fault) {
    return kNames[static_cast<std::size_t>(fault)];
}

std::vector<Fault> parseFaults(std::string_view list) {
    std::vector<Fault> faults;
    for (;;) {
        const auto comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        const auto known = std::find(kNames.begin(), kNames.end(), name);
        if (known == kNames.end()) {
            throw std::invalid_argument(
                "--faults takes names from answer, refuse, hang, trickle, "
                "huge, redirect-loop, garbage, alerts, not '" +
                std::string(name) + "'");
        }
        faults.push_back(static_cast<Fault>(known - kNames.begin()));
        if (comma == std::string_view::npos) {
            return faults;
        }
        list.remove_prefix(comma + 1);
    }
}

std::vector<Fault> everyFault() {
    std::vector<Fault> faults;
    for (std::size_t kind = 0; kind < kFaultKinds; ++kind) {
        faults.push_back(static_cast<Fault>(kind));
    }
    return faults;
}

FaultCycle::FaultCycle(std::vector<Fault> faults) : faults_(std::move(faults)) {
    if (faults_.empty()) {
        throw std::invalid_argument("a fault cycle needs at least one fault");
    }
}

Fault FaultCycle::next() {
    const std::lock_guard lock(mutex_);
    const Fault fault = faults_[at_];
    at_ = (at_ + 1) % faults_.size();
    ++served_[static_cast<std::size_t>(fault)];
    return fault;
}

Fault FaultCycle::peek() const {
    const std::lock_guard lock(mutex_);
    return faults_[at_];
}

std::size_t FaultCycle::served(Fault fault) const {
    const std::lock_guard lock(mutex_);
    return served_[static_cast<std::size_t>(fault)];
}

std::string FaultCycle::counts() const {
    const std::lock_guard lock(mutex_);
    std::string text;
    for (std::size_t kind = 0; kind < kFaultKinds; ++kind) {
        const auto fault = static_cast<Fault>(kind);
        if (std::find(faults_.begin(), faults_.end(), fault) != faults_.end()) {
            text.append(kNames[kind]).append(" ").append(std::to_string(served_[kind])) += '\n';
        }
    }
    return text;
}

}  // namespace site
