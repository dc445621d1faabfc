#pragma once

// What a desktop session (scripts/desktop-session) shows, read from the X server and the session
// bus with the X tools (xwininfo, xprop, xdotool, import) and dbus-monitor run as child processes:
// a test checks what a user would see there, never what the program says about itself. Every
// call is bounded in time; none fails the test by itself, the caller checks what it returns.

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace testsupport {
class ChildProcess;
}

namespace desktopcheck {

using std::chrono::milliseconds;

// An X window id as the X tools print it (0x...); 0 is none.
using WindowId = unsigned long;

// Polls the condition every 20 ms until it holds (true) or the limit has passed (false); it is
// asked once more at the deadline.
bool waitFor(const std::function<bool()>& condition, milliseconds limit = milliseconds(5'000));

// One run of a tool found on PATH: its exit code (nothing when it did not end within the limit,
// and was stopped) and what it wrote.
struct ToolRun {
    std::optional<int> exitCode;
    std::string out;
    std::string err;
    bool ok() const { return exitCode == 0; }
};
ToolRun runTool(const std::string& tool, const std::vector<std::string>& args,
                milliseconds limit = milliseconds(10'000));

// "0x1c00003".
std::string hex(WindowId window);

struct Geometry {
    int x = 0;  // absolute: from the screen's top left corner
    int y = 0;
    int width = 0;
    int height = 0;
    bool contains(int px, int py) const {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
    bool operator==(const Geometry&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Geometry& geometry);

// A window as xwininfo -id sees it.
struct WindowState {
    bool viewable = false;  // mapped, and so are all its ancestors
    bool overrideRedirect = false;
    Geometry geometry;  // of the window itself, without a window manager's frame
};

// Nothing when there is no such window (any more).
std::optional<WindowState> windowState(WindowId window);
bool isViewable(WindowId window);  // false for a window that is not there
bool isOverrideRedirect(WindowId window);
std::optional<Geometry> geometry(WindowId window);

WindowId rootWindow();

// The screen's top-level windows, topmost first: every child of the root, except that a window
// manager's frame stands for the client window inside it. Mapped or not, override-redirect or not.
std::vector<WindowId> topLevelWindows();

// The top-level windows whose WM_WINDOW_ROLE equals role exactly, topmost first.
std::vector<WindowId> windowsWithRole(const std::string& role);

// A text property's value (STRING or UTF8_STRING, the first one for a list), unquoted; nothing
// when the window does not have it.
std::optional<std::string> textProperty(WindowId window, const std::string& name);
// An ATOM property's atom names (e.g. _NET_WM_WINDOW_TYPE); empty when it is not set.
std::vector<std::string> atomProperty(WindowId window, const std::string& name);
// A property's value as xprop prints it after " = " or ": "; nothing when it is not set.
std::optional<std::string> rawProperty(WindowId window, const std::string& name);

// Viewable override-redirect top-level windows of type _NET_WM_WINDOW_TYPE_POPUP_MENU or
// _NET_WM_WINDOW_TYPE_DROPDOWN_MENU (an open menu), topmost first.
std::vector<WindowId> openMenus();

// The tray host's window (trayer's panel, WM_CLASS "panel", "trayer"); 0 when there is none.
WindowId trayHost();
// The windows embedded in the tray host: those inside it that carry _XEMBED_INFO, i.e. other
// clients' icons. Their positions come from geometry().
std::vector<WindowId> trayIcons();

// Moves the pointer to the point and returns the top-level window the X server finds there
// (through input shapes: a shaped window's hole finds what is below), as topLevelWindows() names
// it; rootWindow() when there is none, 0 when the tools fail.
WindowId windowAt(int x, int y);

// Input through the XTEST extension, as a user's: the X server sends the events to whatever is
// under the pointer, or has the keyboard focus.
bool movePointer(int x, int y);
bool click(int x, int y, int button = 1);
bool clickCentre(WindowId window, int button = 1);
// Each a key sequence as xdotool names them: "Escape", "Return", "ctrl+a", "Down".
bool pressKeys(const std::vector<std::string>& keys);
bool typeText(const std::string& text);
// Asks the window manager to activate (raise and focus) the window and waits until it has.
bool activate(WindowId window);
// Asks for the window to be moved (a managed window: its frame, as the window manager places
// it); does not wait.
bool moveWindow(WindowId window, int x, int y);

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Rgb& colour);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // rows top to bottom, three bytes a pixel
    Rgb at(int x, int y) const;
    // What lies inside the area, clipped to the image.
    Image crop(const Geometry& area) const;
};

// The screen as shown (the root window's contents), through import.
std::optional<Image> captureScreen();
// The screen area a window covers (at its absolute geometry), as shown: what covers the
// window, or shows through its shape's holes, is in it too.
std::optional<Image> captureWindow(WindowId window);
// A PNG file of the root window (window 0) or of one window, for a person to look at.
bool saveScreenshot(const std::string& pngPath, WindowId window = 0);

// One org.freedesktop.Notifications.Notify call seen on the session bus.
struct Notification {
    std::string appName;
    std::uint32_t replacesId = 0;
    std::string icon;
    std::string summary;
    std::string body;
    std::vector<std::string> actions;
    std::map<std::string, std::string> hints;  // value as dbus-monitor prints it: "byte 1"
    std::int32_t expireTimeout = -1;
};

// The Notify calls in dbus-monitor's output, in order.
std::vector<Notification> parseNotifyCalls(const std::string& monitorOutput);

// Watches the session bus for Notify calls from its construction on (dbus-monitor as a child
// process); construct it before the action that should notify.
class NotificationWatcher {
  public:
    explicit NotificationWatcher(milliseconds limit = milliseconds(5'000));
    ~NotificationWatcher();
    NotificationWatcher(const NotificationWatcher&) = delete;
    NotificationWatcher& operator=(const NotificationWatcher&) = delete;

    // Whether dbus-monitor came up and listens; a watcher that does not sees nothing.
    bool listening() const { return listening_; }
    // Every Notify call seen so far.
    std::vector<Notification> seen();
    // Waits until at least count calls were seen, and returns all of them.
    std::vector<Notification> waitForCount(std::size_t count,
                                           milliseconds limit = milliseconds(5'000));

  private:
    std::unique_ptr<testsupport::ChildProcess> monitor_;
    bool listening_ = false;
};

}  // namespace desktopcheck
