#include "platform/runtime/backend.h"

#include <vector>

#include "platform/headless/headless_backend.h"

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
    auto& installed = slot();
    if (!installed) {
        installed = std::make_unique<HeadlessBackend>(HeadlessConfig::fromEnvironment());
    }
    return *installed;
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

bool Backend::playSound(std::string_view, int64_t, int64_t) {
    return false;
}

void Backend::stopSound(std::string_view) {}

bool Backend::connectionState(uint32_t& flags) {
    flags = 0;
    return false;
}

void trace(std::string_view area, std::string_view detail) {
    backend().trace(area, detail);
}

HeadlessBackend* headless() {
    return dynamic_cast<HeadlessBackend*>(&backend());
}

}  // namespace platform
