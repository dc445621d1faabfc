#include "site/listener.h"

namespace site {

std::unique_ptr<Listener> startListener(const SiteOptions& options, SiteState& state) {
    switch (options.mode) {
        case SiteMode::Refuse:
            return startRefuseListener(options.port);
        case SiteMode::Hang:
            return startHangListener(options.port);
        case SiteMode::Faults:
            return startFaultListener(options.port, state, options.faults);
        case SiteMode::Answer:
            break;
    }
    return startAnswerListener(options.port, state);
}

}  // namespace site
