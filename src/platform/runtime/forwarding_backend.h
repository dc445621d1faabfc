#pragma once

#include <memory>

#include "platform/runtime/backend.h"

namespace platform {

// A backend that passes every call to another one: the base of decorators, which override only
// what they add to (the trace, a test's record of the screen).
class ForwardingBackend : public Backend {
  public:
    explicit ForwardingBackend(std::unique_ptr<Backend> inner) : inner_(std::move(inner)) {}

    Backend& inner() { return *inner_; }

    Features features() const override { return inner_->features(); }
    ScreenInfo screen() override { return inner_->screen(); }
    void windowChanged(const WindowView& window, WindowChange change) override {
        inner_->windowChanged(window, change);
    }
    void controlChanged(const ControlView& control, ControlChange change) override {
        inner_->controlChanged(control, change);
    }
    void trayChanged(const TrayNotice& icon, TrayChange change) override {
        inner_->trayChanged(icon, change);
    }
    void menuOpened(const MenuView& menu) override { inner_->menuOpened(menu); }
    std::optional<TextExtent> measureText(const TextMeasure& text) override {
        return inner_->measureText(text);
    }
    void navigatePage(const PageRequest& page) override { inner_->navigatePage(page); }
    void openMessageBox(const MessageBoxRequest& box) override { inner_->openMessageBox(box); }
    void openFileDialog(const FileDialogRequest& dialog) override {
        inner_->openFileDialog(dialog);
    }
    std::vector<InputEvent> takeInput(int64_t nowMs) override { return inner_->takeInput(nowMs); }
    bool waitForInput(int64_t untilMs) override { return inner_->waitForInput(untilMs); }
    void keepResponsive() override { inner_->keepResponsive(); }
    bool playSound(std::string_view path, int64_t fromMs, int64_t durationMs) override {
        return inner_->playSound(path, fromMs, durationMs);
    }
    void stopSound(std::string_view path) override { inner_->stopSound(path); }
    bool connectionState(uint32_t& flags) override { return inner_->connectionState(flags); }
    bool openAddress(std::string_view address) override { return inner_->openAddress(address); }

  private:
    std::unique_ptr<Backend> inner_;
};

}  // namespace platform
