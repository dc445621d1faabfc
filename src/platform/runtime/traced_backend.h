#pragma once

#include "platform/runtime/forwarding_backend.h"

namespace platform {

// Wraps any backend: traces what it is told to render (windows, menus, sounds; see
// docs/headless.md) and passes everything on. The program and the tests install their backend
// inside one, so every backend gives the same trace.
class TracedBackend final : public ForwardingBackend {
  public:
    using ForwardingBackend::ForwardingBackend;

    void windowChanged(const WindowView& window, WindowChange change) override;
    void menuOpened(const MenuView& menu) override;
    bool playSound(std::string_view path, int64_t fromMs, int64_t durationMs) override;
    void stopSound(std::string_view path) override;
    bool openAddress(std::string_view address) override;
};

}  // namespace platform
