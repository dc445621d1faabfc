#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/clock.h"

namespace platform {

// ---- What the window model shows a backend (plain data: a backend renders, the model decides)
// ----

// Screen metrics in pixels; the work area is the screen less the taskbar.
struct ScreenInfo {
    int32_t widthPx = 1024;
    int32_t heightPx = 768;
    float twipsPerPixelX = 15;
    float twipsPerPixelY = 15;
    int32_t workLeft = 0;
    int32_t workTop = 0;
    int32_t workRight = 1024;
    int32_t workBottom = 738;
};

// A window as the model holds it; geometry in twips.
struct WindowView {
    int32_t hWnd = 0;
    std::string name;
    std::string caption;
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    bool visible = false;
    bool topMost = false;
    int16_t borderStyle = 2;
    int16_t unloadMode = 0;
};

// What happened to a window (WindowView carries its state after the change).
enum class WindowChange {
    Loaded,
    Shown,
    Moved,
    Resized,
    Hidden,
    Caption,
    TopMost,
    ZOrder,
    Foreground,
    Unloaded
};

// A tray icon record as the shell received it; texts are the field's characters up to its NUL
// (the whole field when it holds none), in UTF-8.
struct TrayView {
    uint32_t cbSize = 0;
    int32_t hWnd = 0;
    uint32_t uID = 0;
    uint32_t uFlags = 0;
    uint32_t uCallbackMessage = 0;
    int32_t hIcon = 0;
    std::string szTip;
    uint32_t dwState = 0;
    uint32_t dwStateMask = 0;
    std::string szInfo;
    uint32_t uTimeout = 0;
    std::string szInfoTitle;
    uint32_t dwInfoFlags = 0;
    bool accepted = false;  // whether the shell took the call
};

enum class TrayChange { Add, Modify, Delete, Balloon };

// An opened pop-up menu: its visible items in order, depth 1 for the menu's own items.
struct MenuItemView {
    std::string name;
    std::string caption;
    int depth = 1;
    bool enabled = true;
    bool checked = false;
};
struct MenuView {
    int32_t hWnd = 0;
    std::string form;
    std::string menu;
    std::vector<MenuItemView> items;
};

// One user or platform action for the model: a name ("close", "menu", "tray", ...) and its words.
struct InputEvent {
    int64_t atMs = 0;
    std::string action;
    std::vector<std::string> args;
};

// How a modal message box ended: the button chosen, and the clock time until which the box stays
// open (the model runs its timers meanwhile; at or before now: answered at once).
struct MessageBoxReply {
    int answer = 1;
    int64_t openUntilMs = 0;
};

// The one seam between the platform model and the world. A backend renders the model and feeds
// input and time into it; the model stays the single source of truth.
class Backend {
  public:
    virtual ~Backend() = default;

    virtual Clock& clock() = 0;

    // One observable effect: area is a short word ("msgbox", "registry", ...), detail its fields.
    virtual void trace(std::string_view area, std::string_view detail) = 0;

    // A modal message box; style carries the buttons and icon flags. The answer is the button
    // chosen (1 OK, 2 Cancel, 6 Yes, 7 No).
    virtual MessageBoxReply messageBox(std::string_view prompt, int style,
                                       std::string_view title) = 0;

    // ---- Windows, tray, menus and input ----
    virtual ScreenInfo screen() { return {}; }
    virtual void windowChanged(const WindowView& /*window*/, WindowChange /*change*/) {}
    // A control of a loaded window changed; a rendering backend reads it from the model.
    virtual void controlChanged(int32_t /*hWnd*/, std::string_view /*control*/, int16_t /*index*/) {
    }
    virtual void trayChanged(const TrayView& /*record*/, TrayChange /*change*/) {}
    virtual void menuOpened(const MenuView& /*menu*/) {}
    // Actions due at or before nowMs, in order; removed from the backend's queue.
    virtual std::vector<InputEvent> takeInput(int64_t /*nowMs*/) { return {}; }
    // Blocks until untilMs (-1: no deadline) or until input may be waiting. False when nothing can
    // ever arrive and there is no deadline: the loop would wait forever.
    virtual bool waitForInput(int64_t untilMs) {
        if (untilMs < 0) {
            return false;
        }
        clock().waitUntil(untilMs);
        return true;
    }

    // ---- Sound and network ----
    // Sound output and network state. The defaults are those of a machine without speakers or
    // network, so a backend that does not render them stays valid.
    //
    // Plays a sound file already checked to be a PCM WAV, from fromMs on for durationMs (what is
    // left of it); false when the output refuses it. Several sounds may play at once.
    virtual bool playSound(std::string_view path, int64_t fromMs, int64_t durationMs);
    // Silences a sound started by playSound before its end.
    virtual void stopSound(std::string_view path);
    // True when the machine is online; flags receives the connection-state flags either way.
    virtual bool connectionState(uint32_t& flags);
};

// The installed backend; when none is installed, the headless backend configured from the
// environment is installed on first use.
Backend& backend();

// Installs a backend and returns the one it replaces (tests restore it afterwards).
std::unique_ptr<Backend> installBackend(std::unique_ptr<Backend> next);

// Runs hook just before each later installBackend: state that belongs to one backend's run (the
// window model) starts afresh with the next backend.
void addBackendResetHook(std::function<void()> hook);

// Shorthand for backend().trace(...).
void trace(std::string_view area, std::string_view detail);

}  // namespace platform
