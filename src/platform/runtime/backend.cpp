#include "platform/runtime/backend.h"

#include <stdexcept>
#include <vector>

namespace platform {

namespace {
std::unique_ptr<Backend>& slot() {
    static std::unique_ptr<Backend> installed;
    return installed;
}

std::vector<std::function<void()>>& resetHooks() {
    static std::vector<std::function<void()>> hooks;
    return hooks;
}
}  // namespace

Backend& backend() {
    if (!slot()) {
        throw std::logic_error("no platform backend installed");
    }
    return *slot();
}

Backend* installedBackend() {
    return slot().get();
}

void addBackendResetHook(std::function<void()> hook) {
    resetHooks().push_back(std::move(hook));
}

std::unique_ptr<Backend> installBackend(std::unique_ptr<Backend> next) {
    for (auto& hook : resetHooks()) {
        hook();
    }
    auto previous = std::move(slot());
    slot() = std::move(next);
    return previous;
}

void keepResponsive() {
    if (Backend* installed = slot().get()) {
        installed->keepResponsive();
    }
}

}  // namespace platform
