#pragma once

#include <array>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace site {

// What the poll page does to one poll in the faults mode.
enum class Fault {
    Answer,        // the poll page as in the answer mode
    Refuse,        // the site stops listening for a moment: the next connection is refused
    Hang,          // the request is read and never answered
    Trickle,       // an answer announced at 1 MiB, sent a byte at a time, slowly
    Huge,          // an answer of 100 MiB
    RedirectLoop,  // a redirect to a page that redirects on and on
    Garbage,       // bytes that are not HTTP, then the connection closes
    Alerts,        // an answer holding every alert marker, with a new contact's name each time
};

inline constexpr std::size_t kFaultKinds = 8;

std::string_view faultName(Fault fault);

// A comma-separated list of fault names, each at most once or more. Throws std::invalid_argument
// naming an unknown one, or for an empty list.
std::vector<Fault> parseFaults(std::string_view list);

// Every fault once, in the order above.
std::vector<Fault> everyFault();

// The faults polls meet in turn, round and round, and how many of each were served. Used from the
// listener's threads.
class FaultCycle {
  public:
    explicit FaultCycle(std::vector<Fault> faults);

    // The fault of this poll.
    Fault next();
    // The fault the next poll would meet.
    Fault peek() const;
    // "<name> <count>" per fault kind in the cycle, one per line, in the order of the enum.
    std::string counts() const;
    std::size_t served(Fault fault) const;

  private:
    const std::vector<Fault> faults_;
    mutable std::mutex mutex_;
    std::size_t at_ = 0;
    std::array<std::size_t, kFaultKinds> served_{};
};

}  // namespace site
