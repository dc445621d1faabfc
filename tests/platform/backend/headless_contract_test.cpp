#include <map>
#include <utility>

#include "backend_contract.h"
#include "platform/headless/headless_backend.h"
#include "platform/runtime/forwarding_backend.h"

namespace headless_contract {

using namespace platform;

// Passes everything to the headless backend and keeps what it was told to show: the screen a user
// of it would see, and the control names its script words need.
class ScreenRecorder final : public ForwardingBackend {
  public:
    using ForwardingBackend::ForwardingBackend;

    void windowChanged(const WindowView& window, WindowChange change) override {
        shown[window.hWnd] = window.visible && change != WindowChange::Unloaded;
        ForwardingBackend::windowChanged(window, change);
    }
    // Ids are unique in the process: a name is never taken back.
    void controlChanged(const ControlView& control, ControlChange change) override {
        if (change == ControlChange::Created) {
            names[{control.hWnd, control.id}] = controlWord(control.name, control.index);
        }
        ForwardingBackend::controlChanged(control, change);
    }
    void trayChanged(const TrayNotice& icon, TrayChange change) override {
        if (change == TrayChange::Add || change == TrayChange::Delete) {
            tray[{icon.hWnd, icon.uID}] = change == TrayChange::Add;
        }
        ForwardingBackend::trayChanged(icon, change);
    }
    void menuOpened(const MenuView& menu) override {
        menus[menu.hWnd].clear();
        for (const auto& item : menu.items) {
            menus[menu.hWnd].push_back(item.id);
        }
        ForwardingBackend::menuOpened(menu);
    }

    std::map<int32_t, bool> shown;
    std::map<std::pair<int32_t, int32_t>, std::string> names;
    std::map<std::pair<int32_t, uint32_t>, bool> tray;
    std::map<int32_t, std::vector<int32_t>> menus;
};

// The user is the backend's script: each action is due at once and arrives in the next pass.
class HeadlessDriver {
  public:
    std::unique_ptr<Clock> makeClock() { return std::make_unique<VirtualClock>(); }
    std::unique_ptr<Backend> makeBackend() {
        auto headless = std::make_unique<HeadlessBackend>();
        headless_ = headless.get();
        auto screen = std::make_unique<ScreenRecorder>(std::move(headless));
        screen_ = screen.get();
        return screen;
    }

    void closeBox(int32_t hWnd) { act("close " + window(hWnd)); }
    void click(int32_t hWnd, int32_t id) { act("click " + control(hWnd, id)); }
    void chooseMenu(int32_t hWnd, int32_t id) { act("menu " + control(hWnd, id)); }
    void select(int32_t hWnd, int32_t id, int32_t index) {
        act("select " + control(hWnd, id) + ' ' + std::to_string(index));
    }
    void type(int32_t hWnd, int32_t id, const std::string& text) {
        std::string quoted = "\"";
        for (char c : text) {
            quoted += c == '"' || c == '\\' ? std::string{'\\', c} : std::string{c};
        }
        act("type " + control(hWnd, id) + ' ' + quoted + '"');
    }
    // The script names a tray icon by its id alone.
    void trayMessage(int32_t /*hWnd*/, uint32_t uID, uint32_t message) {
        act("tray message " + std::to_string(message) + ' ' + std::to_string(uID));
    }
    void endSession() { act("end-session"); }
    void answerNextBox(int answer, int64_t holdMs) {
        headless_->queueMessageBoxAnswer(answer, holdMs);
    }
    void answerNextDialog(std::optional<std::string> path) {
        headless_->queueDialogAnswer(std::move(path));
    }
    void settle() { win::DoEvents(); }

    bool windowShown(int32_t hWnd) const { return screen_->shown[hWnd]; }
    bool trayIconShown(int32_t hWnd, uint32_t uID) const { return screen_->tray[{hWnd, uID}]; }
    std::vector<int32_t> menuShown(int32_t hWnd) const { return screen_->menus[hWnd]; }

  private:
    static std::string window(int32_t hWnd) { return '#' + std::to_string(hWnd); }
    std::string control(int32_t hWnd, int32_t id) const {
        const auto found = screen_->names.find({hWnd, id});
        return window(hWnd) + ' ' + (found == screen_->names.end() ? "?" : found->second);
    }
    void act(const std::string& words) {
        headless_->loadScript(std::to_string(platform::clock().nowMs()) + ' ' + words);
    }

    HeadlessBackend* headless_ = nullptr;
    ScreenRecorder* screen_ = nullptr;
};

}  // namespace headless_contract

namespace backend_contract {
INSTANTIATE_TYPED_TEST_SUITE_P(HeadlessContract, BackendContract,
                               headless_contract::HeadlessDriver);
}  // namespace backend_contract
