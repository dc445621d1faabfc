#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/runtime/control_design.h"

// The one seam between the platform's model (windows, controls, tray, timers, settings) and the
// world. The model is the single source of truth: it tells a backend what changed through typed
// notices, asks it to open modal boxes and dialogs, and takes typed input events and waits from it.
// A backend renders and feeds input; it never decides. See docs/backends.md.
namespace platform {

// ---- What a backend offers ----

enum class Feature : uint32_t {
    Windows = 1u << 0,       // windows and their controls on a screen
    Tray = 1u << 1,          // icons in a notification area, with their mouse messages
    Balloons = 1u << 2,      // the tray's balloon notifications
    Menus = 1u << 3,         // pop-up menus
    MessageBoxes = 1u << 4,  // modal message boxes answered by a user or a script
    FileDialogs = 1u << 5,   // the file-open dialog
    Sound = 1u << 6,         // sound output
    NetworkState = 1u << 7,  // whether the machine is online
    WebView = 1u << 8,       // the embedded browser's page display
    OpenAddress = 1u << 9,   // web addresses handed to the user's browser
    WebEngine = 1u << 10,    // a web engine loads and runs the browser control's pages
};

class Features {
  public:
    constexpr Features() = default;
    constexpr Features(std::initializer_list<Feature> features) {
        for (Feature feature : features) {
            bits_ |= static_cast<uint32_t>(feature);
        }
    }
    constexpr bool has(Feature feature) const {
        return (bits_ & static_cast<uint32_t>(feature)) != 0;
    }
    constexpr uint32_t bits() const { return bits_; }

  private:
    uint32_t bits_ = 0;
};

// ---- What the model shows a backend (plain data: a backend renders, the model decides) ----

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

// A rectangle of pixels [left, right) x [top, bottom) in a window's own pixel coordinates.
struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// A window as the model holds it; geometry in twips.
struct WindowView {
    int32_t hWnd = 0;
    std::string name{};
    std::string caption{};
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    bool visible = false;
    bool topMost = false;
    int16_t borderStyle = 2;
    int16_t unloadMode = 0;
    bool showInTaskbar = true;
    // The model's frame and caption for the border style: the client area starts frameWidthPx
    // from the left and frameWidthPx + captionHeightPx from the top.
    float frameWidthPx = 0;
    float captionHeightPx = 0;
    // The background picture's bitmap handle (0: none), drawn at the client area's top-left.
    int32_t picture = 0;
    // The window's outline when a region was set (SetWindowRgn): the pixels it keeps, as disjoint
    // rectangles; empty for a rectangular window.
    std::vector<PixelRect> shape{};
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
    BorderStyle,
    Shape,
    Picture,
    Unloaded
};

// The kinds of control the model has; a renderer draws by kind.
enum class ControlKind {
    Label,
    TextBox,
    CheckBox,
    ListBox,
    CommandButton,
    Image,
    PictureBox,
    Line,
    ProgressBar,
    Menu,
    Timer,
    CommonDialog,  // never drawn: it opens the file dialog on request
    Inet,          // never drawn: the Internet transfer control
    WebBrowser,    // the embedded browser's page
};

// A control of a loaded window. The id is stable for the control's life and unique in the
// process; containerId is the id of the container control, or of the parent menu of a menu item
// (0: the window itself). Geometry in state is in the container's scale units (containerScaleMode,
// win::ScaleModeConstants). The references are valid during the notice only.
struct ControlView {
    int32_t hWnd = 0;
    int32_t id = 0;
    ControlKind kind = ControlKind::Label;
    std::string_view name;
    int16_t index = -1;  // the element's index in its control array; -1 outside one
    int32_t containerId = 0;
    int16_t containerScaleMode = 1;
    const win::Design& state;
};

// How a script or a test names a control: "name", or "name(i)" for an element of a control array.
inline std::string controlWord(std::string_view name, int16_t index) {
    std::string word(name);
    if (index >= 0) {
        word += '(' + std::to_string(index) + ')';
    }
    return word;
}

// What changed of a control (ControlView carries its state after the change).
enum class ControlChange {
    Created,    // the window loaded, or an array element was loaded
    Destroyed,  // the window unloads, or an array element was unloaded
    Geometry,
    Caption,
    Text,
    Value,  // check-box value, progress position and range, menu check mark
    Visible,
    Enabled,
    List,  // list entries or the selected entry
    ToolTip,
    Picture,
    Style,  // fonts, colours, alignment and other looks
};

// A tray icon as a desktop shows it, decoded from the shell's record (platform/shell).
struct TrayNotice {
    int32_t hWnd = 0;
    uint32_t uID = 0;
    int32_t hIcon = 0;
    std::vector<uint8_t> iconFile{};  // the .ico file of the icon (empty: none)
    std::string tip{};
    // Balloon only:
    std::string balloonTitle{};
    std::string balloonText{};
    uint32_t balloonFlags = 0;
    uint32_t balloonTimeoutMs = 0;
};

enum class TrayChange { Add, Modify, Delete, Balloon };

// An opened pop-up menu: its visible items in order, depth 1 for the menu's own items.
struct MenuItemView {
    int32_t id = 0;  // the menu item's control id
    std::string name{};
    std::string caption{};
    int depth = 1;
    bool enabled = true;
    bool checked = false;
};
struct MenuView {
    int32_t hWnd = 0;
    std::string form{};
    std::string menu{};
    std::vector<MenuItemView> items{};
};

// Text as a label shows it: the toolkit's UI font at fontSize points, bold or not; wrapped at
// wrapWidthPx when that is positive, else broken at line feeds only.
struct TextMeasure {
    std::string_view text;
    float fontSize = 8;
    bool bold = false;
    int32_t wrapWidthPx = 0;
};
struct TextExtent {
    int32_t widthPx = 0;
    int32_t heightPx = 0;
};

// ---- Modal requests: opened by the model, answered later by an input event ----

struct MessageBoxRequest {
    int32_t id = 0;
    std::string prompt{};
    int style = 0;  // buttons and icon flags
    std::string title{};
};

struct FileDialogRequest {
    int32_t id = 0;
    int32_t hWnd = 0;  // the owner window
    std::string title{};
    std::string filter{};  // "Description|pattern;pattern|..."
    std::string initDir{};
};

// ---- Input: typed events keyed by window handle and control id ----

namespace input {
struct CloseBox {  // the window's close box
    int32_t hWnd = 0;
    friend bool operator==(const CloseBox&, const CloseBox&) = default;
};
struct MenuChoice {  // an item of an open pop-up menu (or a visible menu bar)
    int32_t hWnd = 0;
    int32_t controlId = 0;
    friend bool operator==(const MenuChoice&, const MenuChoice&) = default;
};
struct Click {  // a click on a control
    int32_t hWnd = 0;
    int32_t controlId = 0;
    friend bool operator==(const Click&, const Click&) = default;
};
struct ListSelect {  // an entry of a list box chosen
    int32_t hWnd = 0;
    int32_t controlId = 0;
    int32_t index = 0;
    friend bool operator==(const ListSelect&, const ListSelect&) = default;
};
struct TextEdited {  // a text box's text changed by the user
    int32_t hWnd = 0;
    int32_t controlId = 0;
    std::string text{};
    friend bool operator==(const TextEdited&, const TextEdited&) = default;
};
struct MouseMove {  // the mouse over a window, in pixels of its client area
    int32_t hWnd = 0;
    int16_t button = 0;
    int16_t shift = 0;
    float x = 0;
    float y = 0;
    friend bool operator==(const MouseMove&, const MouseMove&) = default;
};
struct TrayMouse {  // a mouse message on a tray icon (WM_MOUSEMOVE ... WM_RBUTTONDBLCLK)
    int32_t hWnd = 0;
    uint32_t uID = 0;
    uint32_t message = 0;
    friend bool operator==(const TrayMouse&, const TrayMouse&) = default;
};
struct MessageBoxAnswer {  // the button chosen (1 OK, 2 Cancel, 6 Yes, 7 No, ...)
    int32_t requestId = 0;
    int answer = 1;
    friend bool operator==(const MessageBoxAnswer&, const MessageBoxAnswer&) = default;
};
struct DialogAnswer {  // the chosen file's path; nothing when cancelled
    int32_t requestId = 0;
    std::optional<std::string> path{};
    friend bool operator==(const DialogAnswer&, const DialogAnswer&) = default;
};
// What the member does in a page shown by a browser control; elementId is the page element's id.
struct PageType {  // text typed into a field of the page
    int32_t hWnd = 0;
    int32_t controlId = 0;
    std::string elementId{};
    std::string text{};
    friend bool operator==(const PageType&, const PageType&) = default;
};
struct PageClick {  // a click on an element of the page
    int32_t hWnd = 0;
    int32_t controlId = 0;
    std::string elementId{};
    friend bool operator==(const PageClick&, const PageClick&) = default;
};
struct PageLink {  // the page's link number index (0: the first, in page order) followed
    int32_t hWnd = 0;
    int32_t controlId = 0;
    int32_t index = 0;
    friend bool operator==(const PageLink&, const PageLink&) = default;
};
struct PageClose {  // the page asks to close its window
    int32_t hWnd = 0;
    int32_t controlId = 0;
    friend bool operator==(const PageClose&, const PageClose&) = default;
};
struct PageNewWindow {  // the page asks for a new window showing url
    int32_t hWnd = 0;
    int32_t controlId = 0;
    std::string url{};
    friend bool operator==(const PageNewWindow&, const PageNewWindow&) = default;
};
// A page a web engine has loaded (see Backend::navigatePage): its address and markup, and those
// of its frames in page order (markup empty for a frame the engine could not read).
struct PageFrame {
    std::string url{};
    std::string html{};
    friend bool operator==(const PageFrame&, const PageFrame&) = default;
};
struct PageLoaded {
    int32_t hWnd = 0;
    int32_t controlId = 0;
    uint64_t serial = 0;  // the navigation's, or 0 for one the page made itself (a link, a form)
    std::string url{};
    std::string html{};
    std::vector<PageFrame> frames{};
    bool failed = false;
    friend bool operator==(const PageLoaded&, const PageLoaded&) = default;
};
struct EndSession {  // the desktop session ends
    friend bool operator==(const EndSession&, const EndSession&) = default;
};
}  // namespace input

using InputEvent =
    std::variant<input::CloseBox, input::MenuChoice, input::Click, input::ListSelect,
                 input::TextEdited, input::MouseMove, input::TrayMouse, input::MessageBoxAnswer,
                 input::DialogAnswer, input::PageType, input::PageClick, input::PageLink,
                 input::PageClose, input::PageNewWindow, input::PageLoaded, input::EndSession>;

// A page the browser control asks a web engine to show (Feature::WebEngine); the engine answers
// with a PageLoaded event carrying the serial.
struct PageRequest {
    int32_t hWnd = 0;
    int32_t controlId = 0;
    uint64_t serial = 0;
    std::string url{};
};

// ---- The seam ----

class Backend {
  public:
    virtual ~Backend() = default;

    virtual Features features() const = 0;
    virtual ScreenInfo screen() = 0;

    // Notices: the model changed; render it.
    virtual void windowChanged(const WindowView& window, WindowChange change) = 0;
    virtual void controlChanged(const ControlView& control, ControlChange change) = 0;
    virtual void trayChanged(const TrayNotice& icon, TrayChange change) = 0;
    virtual void menuOpened(const MenuView& menu) = 0;
    // The room a label's text takes in the backend's font; nothing when it has no fonts (the
    // model then uses its fixed metric).
    virtual std::optional<TextExtent> measureText(const TextMeasure& text) = 0;

    // Shows a page in the browser control's view (only a backend with Feature::WebEngine is asked).
    virtual void navigatePage(const PageRequest& page) = 0;

    // Modal requests: show them; the answer comes back later through takeInput.
    virtual void openMessageBox(const MessageBoxRequest& box) = 0;
    virtual void openFileDialog(const FileDialogRequest& dialog) = 0;

    // Input events due at or before nowMs, in order; removed from the backend's queue.
    virtual std::vector<InputEvent> takeInput(int64_t nowMs) = 0;
    // Blocks until the clock reads untilMs (-1: no deadline) or until input may be waiting.
    // False when nothing can ever arrive and there is no deadline: the loop would wait forever.
    virtual bool waitForInput(int64_t untilMs) = 0;
    // The model is inside a synchronous call (a fetch) and takes nothing now: keep the screen
    // drawn and hold input back. Called every few milliseconds while the call lasts.
    virtual void keepResponsive() = 0;

    // Plays a sound file already checked to be a PCM WAV, from fromMs on for durationMs (what is
    // left of it); false when the output refuses it. Several sounds may play at once.
    virtual bool playSound(std::string_view path, int64_t fromMs, int64_t durationMs) = 0;
    // Silences a sound started by playSound before its end.
    virtual void stopSound(std::string_view path) = 0;
    // True when the machine is online; flags receives the connection-state flags either way.
    virtual bool connectionState(uint32_t& flags) = 0;
    // Opens a web address (http or https, already checked) in the user's default browser, with
    // no shell in between; false when nothing could take it.
    virtual bool openAddress(std::string_view address) = 0;
};

// The installed backend. The program and every test install one before the model is used; using
// the model without one is a programming error (std::logic_error).
Backend& backend();
// The installed backend, or null.
Backend* installedBackend();

// Installs a backend and returns the one it replaces (tests restore it afterwards).
std::unique_ptr<Backend> installBackend(std::unique_ptr<Backend> next);

// Runs hook just before each later installBackend: state that belongs to one backend's run (the
// window model) starts afresh with the next backend.
void addBackendResetHook(std::function<void()> hook);

// The installed backend's keepResponsive, when there is one (synchronous transfers call it).
void keepResponsive();

}  // namespace platform
