#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "site/fault_cycle.h"

#include "site/options.h"
#include "site/site_state.h"

namespace site {

// The site's presence on 127.0.0.1 in one of its modes, running until stop().
class Listener {
  public:
    virtual ~Listener() = default;
    // The port reported to callers: served, refusing or hanging according to the mode.
    virtual std::uint16_t port() const = 0;
    virtual void stop() = 0;
    // Ends a pause in listening at once (the faults mode's refusal); others ignore it.
    virtual void resume() {}
};

// Starts the listener of options.mode on options.port. Throws std::runtime_error when the port
// cannot be had. The state must outlive the listener.
std::unique_ptr<Listener> startListener(const SiteOptions& options, SiteState& state);

std::unique_ptr<Listener> startAnswerListener(std::uint16_t port, SiteState& state);
std::unique_ptr<Listener> startRefuseListener(std::uint16_t port);
std::unique_ptr<Listener> startHangListener(std::uint16_t port);
std::unique_ptr<Listener> startFaultListener(std::uint16_t port, SiteState& state,
                                             std::vector<Fault> faults);

}  // namespace site
