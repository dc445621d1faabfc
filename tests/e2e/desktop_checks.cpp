#include "e2e/desktop_checks.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "support/child_process.h"

namespace desktopcheck {

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        result.push_back(line);
    }
    return result;
}

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::optional<WindowId> parseId(const std::string& text) {
    try {
        std::size_t used = 0;
        const unsigned long id = std::stoul(text, &used, 0);
        if (used == 0) {
            return std::nullopt;
        }
        return id;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The value after "label:" on one of xwininfo's lines.
std::optional<std::string> field(const std::string& text, const std::string& label) {
    for (const std::string& line : lines(text)) {
        const std::string trimmed = trim(line);
        if (trimmed.rfind(label + ":", 0) == 0) {
            return trim(trimmed.substr(label.size() + 1));
        }
    }
    return std::nullopt;
}

// One window in xwininfo -root -tree's listing.
struct Node {
    WindowId id = 0;
    int depth = 0;  // 0: a child of the root
    WindowId parent = 0;
    bool hasClass = false;
    std::string instance;
    std::string windowClass;
};

// The strings in a quoted list as xwininfo and xprop print them ("a" "b" / "a", "b"), with
// their backslash escapes undone.
std::vector<std::string> quotedStrings(const std::string& text) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '"') {
            continue;
        }
        std::string value;
        for (++i; i < text.size() && text[i] != '"'; ++i) {
            if (text[i] != '\\' || i + 1 >= text.size()) {
                value += text[i];
                continue;
            }
            const char next = text[++i];
            if (next >= '0' && next <= '7') {
                int code = 0;
                int digits = 0;
                for (; digits < 3 && i < text.size() && text[i] >= '0' && text[i] <= '7';
                     ++digits, ++i) {
                    code = code * 8 + (text[i] - '0');
                }
                --i;
                value += static_cast<char>(code);
            } else {
                value += next == 'n' ? '\n' : next == 't' ? '\t' : next;
            }
        }
        result.push_back(value);
    }
    return result;
}

std::optional<std::vector<Node>> windowTree() {
    const ToolRun run = runTool("xwininfo", {"-root", "-tree"});
    if (!run.ok()) {
        return std::nullopt;
    }
    std::vector<Node> nodes;
    std::vector<WindowId> ancestors;  // by depth
    const WindowId root = rootWindow();
    for (const std::string& line : lines(run.out)) {
        const auto start = line.find("0x");
        // A window's line: its id first, after the indent (five spaces for the root's children,
        // three more a level); the lines of counts and the root's own do not start so.
        if (start == std::string::npos || start < 5 || line.find_first_not_of(' ') != start) {
            continue;
        }
        const auto id = parseId(line.substr(start, line.find(' ', start) - start));
        if (!id) {
            continue;
        }
        Node node;
        node.id = *id;
        node.depth = static_cast<int>((start - 5) / 3);
        ancestors.resize(static_cast<std::size_t>(node.depth));
        node.parent = node.depth == 0 ? root : ancestors.back();
        ancestors.push_back(node.id);
        // ... "name": ("instance" "class")  WxH+x+y  +X+Y: the class list ends the line before
        // the two geometries.
        const auto classEnd = line.rfind(')');
        const auto classStart = line.rfind(": (", classEnd);
        if (classEnd != std::string::npos && classStart != std::string::npos) {
            const std::string list = line.substr(classStart + 3, classEnd - classStart - 3);
            const auto strings = quotedStrings(list);
            node.hasClass = !strings.empty();
            if (strings.size() >= 2) {
                node.instance = strings[0];
                node.windowClass = strings[1];
            }
        }
        nodes.push_back(node);
    }
    return nodes;
}

std::vector<WindowId> managedClients() {
    std::vector<WindowId> clients;
    const auto value = rawProperty(rootWindow(), "_NET_CLIENT_LIST");
    if (!value) {
        return clients;
    }
    std::string list = *value;
    const auto hash = list.find('#');
    std::istringstream in(hash == std::string::npos ? list : list.substr(hash + 1));
    for (std::string item; std::getline(in, item, ',');) {
        if (const auto id = parseId(trim(item))) {
            clients.push_back(*id);
        }
    }
    return clients;
}

// The top-level windows with the tree's nodes for them; a frame's node stands for its client.
std::vector<std::pair<WindowId, Node>> topLevels(const std::vector<Node>& tree) {
    const std::vector<WindowId> clients = managedClients();
    std::vector<std::pair<WindowId, Node>> result;
    for (const Node& node : tree) {
        if (node.depth != 0) {
            continue;
        }
        const auto client = std::find_if(tree.begin(), tree.end(), [&](const Node& child) {
            return child.parent == node.id && child.depth == 1 &&
                   std::find(clients.begin(), clients.end(), child.id) != clients.end();
        });
        if (client != tree.end()) {
            result.emplace_back(client->id, *client);
        } else {
            result.emplace_back(node.id, node);
        }
    }
    return result;
}

// The top-level window a window belongs to, as topLevelWindows() names it.
WindowId topLevelOf(WindowId window, const std::vector<Node>& tree) {
    auto node =
        std::find_if(tree.begin(), tree.end(), [&](const Node& n) { return n.id == window; });
    if (node == tree.end()) {
        return window;  // the root, or a window that has just gone
    }
    while (node->depth > 0) {
        const WindowId parent = node->parent;
        node =
            std::find_if(tree.begin(), tree.end(), [&](const Node& n) { return n.id == parent; });
        if (node == tree.end()) {
            return window;
        }
    }
    for (const auto& [id, top] : topLevels(tree)) {
        if (top.id == node->id || top.parent == node->id) {
            return id;
        }
    }
    return node->id;
}

bool xdotool(const std::vector<std::string>& args) {
    return runTool("xdotool", args).ok();
}

}  // namespace

bool waitFor(const std::function<bool()>& condition, milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(
            std::min<Clock::duration>(milliseconds(20), deadline - Clock::now()));
        if (Clock::now() >= deadline) {
            return condition();
        }
    }
}

ToolRun runTool(const std::string& tool, const std::vector<std::string>& args, milliseconds limit) {
    ToolRun run;
    try {
        testsupport::ChildProcess child(tool, args);
        run.exitCode = child.exitCode(limit);
        run.out = child.outputText();
        if (run.exitCode) {
            run.err = child.errorText();
        }
    } catch (const std::exception& error) {
        run.err = error.what();
    }
    return run;
}

std::string hex(WindowId window) {
    std::ostringstream out;
    out << "0x" << std::hex << window;
    return out.str();
}

std::ostream& operator<<(std::ostream& out, const Geometry& geometry) {
    return out << geometry.width << "x" << geometry.height << "+" << geometry.x << "+"
               << geometry.y;
}

std::optional<WindowState> windowState(WindowId window) {
    const ToolRun run = runTool("xwininfo", {"-id", hex(window)});
    if (!run.ok()) {
        return std::nullopt;
    }
    const auto x = field(run.out, "Absolute upper-left X");
    const auto y = field(run.out, "Absolute upper-left Y");
    const auto width = field(run.out, "Width");
    const auto height = field(run.out, "Height");
    const auto mapState = field(run.out, "Map State");
    const auto overrideRedirect = field(run.out, "Override Redirect State");
    if (!x || !y || !width || !height || !mapState || !overrideRedirect) {
        return std::nullopt;
    }
    WindowState state;
    try {
        state.geometry = {std::stoi(*x), std::stoi(*y), std::stoi(*width), std::stoi(*height)};
    } catch (const std::exception&) {
        return std::nullopt;
    }
    state.viewable = *mapState == "IsViewable";
    state.overrideRedirect = *overrideRedirect == "yes";
    return state;
}

bool isViewable(WindowId window) {
    const auto state = windowState(window);
    return state && state->viewable;
}

bool isOverrideRedirect(WindowId window) {
    const auto state = windowState(window);
    return state && state->overrideRedirect;
}

std::optional<Geometry> geometry(WindowId window) {
    const auto state = windowState(window);
    if (!state) {
        return std::nullopt;
    }
    return state->geometry;
}

WindowId rootWindow() {
    static WindowId root = 0;
    if (root == 0) {
        const ToolRun run = runTool("xwininfo", {"-root"});
        const auto marker = run.out.find("Window id: ");
        if (run.ok() && marker != std::string::npos) {
            root = parseId(run.out.substr(marker + 11, 12)).value_or(0);
        }
    }
    return root;
}

std::vector<WindowId> topLevelWindows() {
    std::vector<WindowId> result;
    if (const auto tree = windowTree()) {
        for (const auto& [id, node] : topLevels(*tree)) {
            result.push_back(id);
        }
    }
    return result;
}

std::vector<WindowId> windowsWithRole(const std::string& role) {
    std::vector<WindowId> result;
    const auto tree = windowTree();
    if (!tree) {
        return result;
    }
    for (const auto& [id, node] : topLevels(*tree)) {
        // A window without WM_CLASS is the window manager's or a tool's; the toolkit names the
        // class of each of its windows, so only those are asked for their role.
        if (node.hasClass && textProperty(id, "WM_WINDOW_ROLE") == role) {
            result.push_back(id);
        }
    }
    return result;
}

std::optional<std::string> rawProperty(WindowId window, const std::string& name) {
    const ToolRun run = runTool("xprop", {"-id", hex(window), name});
    // "NAME(TYPE) = value" or "NAME(TYPE): value"; "NAME:  not found." when it is not set.
    if (!run.ok() || run.out.rfind(name + "(", 0) != 0) {
        return std::nullopt;
    }
    const auto close = run.out.find(')');
    std::string rest = run.out.substr(close + 1);
    if (rest.rfind(" = ", 0) == 0) {
        rest = rest.substr(3);
    } else if (rest.rfind(":", 0) == 0) {
        rest = rest.substr(1);
    }
    return trim(rest);
}

std::optional<std::string> textProperty(WindowId window, const std::string& name) {
    const auto value = rawProperty(window, name);
    if (!value) {
        return std::nullopt;
    }
    const auto strings = quotedStrings(*value);
    if (strings.empty()) {
        return std::nullopt;
    }
    return strings.front();
}

std::vector<std::string> atomProperty(WindowId window, const std::string& name) {
    std::vector<std::string> atoms;
    if (const auto value = rawProperty(window, name)) {
        std::istringstream in(*value);
        for (std::string atom; std::getline(in, atom, ',');) {
            if (!trim(atom).empty()) {
                atoms.push_back(trim(atom));
            }
        }
    }
    return atoms;
}

std::vector<WindowId> openMenus() {
    std::vector<WindowId> menus;
    const auto tree = windowTree();
    if (!tree) {
        return menus;
    }
    for (const Node& node : *tree) {
        // Override-redirect windows are never framed: the root's children are all there is.
        if (node.depth != 0) {
            continue;
        }
        const auto state = windowState(node.id);
        if (!state || !state->viewable || !state->overrideRedirect) {
            continue;
        }
        for (const std::string& type : atomProperty(node.id, "_NET_WM_WINDOW_TYPE")) {
            if (type == "_NET_WM_WINDOW_TYPE_POPUP_MENU" ||
                type == "_NET_WM_WINDOW_TYPE_DROPDOWN_MENU") {
                menus.push_back(node.id);
                break;
            }
        }
    }
    return menus;
}

// The tray host of the test desktop (trayer).
bool isTrayHost(const Node& node) {
    return node.instance == "panel" && node.windowClass == "trayer";
}

WindowId trayHost() {
    if (const auto tree = windowTree()) {
        const auto host = std::find_if(tree->begin(), tree->end(), isTrayHost);
        return host == tree->end() ? 0 : host->id;
    }
    return 0;
}

std::vector<WindowId> trayIcons() {
    std::vector<WindowId> icons;
    const auto tree = windowTree();
    if (!tree) {
        return icons;
    }
    const auto host = std::find_if(tree->begin(), tree->end(), isTrayHost);
    if (host == tree->end()) {
        return icons;
    }
    // The listing is depth first: the host's subtree is the run of deeper lines after it.
    for (auto node = std::next(host); node != tree->end() && node->depth > host->depth; ++node) {
        if (rawProperty(node->id, "_XEMBED_INFO")) {
            icons.push_back(node->id);
        }
    }
    return icons;
}

WindowId windowAt(int x, int y) {
    if (!movePointer(x, y)) {
        return 0;
    }
    // The X server's own answer: the root's child under the pointer, through input shapes. (The
    // X tools look for a managed client there and find none over an override-redirect window.)
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return 0;
    }
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    const bool same = XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX,
                                    &rootY, &windowX, &windowY, &buttons);
    XCloseDisplay(display);
    if (!same) {
        return 0;
    }
    if (child == 0) {
        return rootWindow();
    }
    const auto tree = windowTree();
    return tree ? topLevelOf(child, *tree) : child;
}

bool movePointer(int x, int y) {
    return xdotool({"mousemove", std::to_string(x), std::to_string(y)});
}

bool click(int x, int y, int button) {
    return xdotool(
        {"mousemove", std::to_string(x), std::to_string(y), "click", std::to_string(button)});
}

bool clickCentre(WindowId window, int button) {
    const auto where = geometry(window);
    return where && click(where->x + where->width / 2, where->y + where->height / 2, button);
}

bool pressKeys(const std::vector<std::string>& keys) {
    std::vector<std::string> args{"key", "--"};
    args.insert(args.end(), keys.begin(), keys.end());
    return xdotool(args);
}

bool typeText(const std::string& text) {
    return xdotool({"type", "--", text});
}

bool activate(WindowId window) {
    const ToolRun run =
        runTool("xdotool", {"windowactivate", "--sync", hex(window)}, milliseconds(5'000));
    return run.ok();
}

bool moveWindow(WindowId window, int x, int y) {
    return xdotool({"windowmove", hex(window), std::to_string(x), std::to_string(y)});
}

std::ostream& operator<<(std::ostream& out, const Rgb& colour) {
    return out << "rgb(" << int{colour.r} << ", " << int{colour.g} << ", " << int{colour.b} << ")";
}

Rgb Image::at(int x, int y) const {
    const std::size_t offset = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                static_cast<std::size_t>(x)) *
                               3;
    if (x < 0 || y < 0 || x >= width || y >= height || offset + 2 >= rgb.size()) {
        return {};
    }
    return {rgb[offset], rgb[offset + 1], rgb[offset + 2]};
}

Image Image::crop(const Geometry& area) const {
    const int left = std::clamp(area.x, 0, width);
    const int top = std::clamp(area.y, 0, height);
    const int right = std::clamp(area.x + area.width, left, width);
    const int bottom = std::clamp(area.y + area.height, top, height);
    Image cut;
    cut.width = right - left;
    cut.height = bottom - top;
    for (int y = top; y < bottom; ++y) {
        const auto row = rgb.begin() + (static_cast<std::ptrdiff_t>(y) * width + left) * 3;
        cut.rgb.insert(cut.rgb.end(), row, row + static_cast<std::ptrdiff_t>(cut.width) * 3);
    }
    return cut;
}

std::optional<Image> captureScreen() {
    // A binary PPM: "P6", width, height and the largest value, each after white space, then the
    // pixels.
    const ToolRun run = runTool("import", {"-window", "root", "-depth", "8", "ppm:-"});
    if (!run.ok()) {
        return std::nullopt;
    }
    std::istringstream in(run.out);
    std::string magic;
    Image image;
    int largest = 0;
    if (!(in >> magic >> image.width >> image.height >> largest) || magic != "P6" ||
        largest != 255 || image.width <= 0 || image.height <= 0) {
        return std::nullopt;
    }
    const auto pixels = static_cast<std::size_t>(in.tellg()) + 1;  // one white space
    const auto size =
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3;
    if (run.out.size() < pixels + size) {
        return std::nullopt;
    }
    image.rgb.assign(run.out.begin() + static_cast<std::ptrdiff_t>(pixels),
                     run.out.begin() + static_cast<std::ptrdiff_t>(pixels + size));
    return image;
}

std::optional<Image> captureWindow(WindowId window) {
    const auto where = geometry(window);
    if (!where) {
        return std::nullopt;
    }
    const auto screen = captureScreen();
    if (!screen) {
        return std::nullopt;
    }
    return screen->crop(*where);
}

bool saveScreenshot(const std::string& pngPath, WindowId window) {
    return runTool("import", {"-window", window == 0 ? "root" : hex(window), pngPath}).ok();
}

std::vector<Notification> parseNotifyCalls(const std::string& monitorOutput) {
    std::vector<Notification> calls;
    // A call's header starts a line; its arguments follow, each on lines of its own indented by
    // three spaces. dbus-monitor prints strings between quotes as they are, line breaks and
    // quotes included, so a string ends at the quote before the next argument's line.
    const std::string header = "method call ";
    std::size_t at = 0;
    while ((at = monitorOutput.find(header, at)) != std::string::npos) {
        if (at != 0 && monitorOutput[at - 1] != '\n') {
            at += header.size();
            continue;
        }
        const auto lineEnd = monitorOutput.find('\n', at);
        if (lineEnd == std::string::npos) {
            break;
        }
        const std::string headerLine = monitorOutput.substr(at, lineEnd - at);
        at = lineEnd + 1;
        if (headerLine.find("interface=org.freedesktop.Notifications;") == std::string::npos ||
            headerLine.find("member=Notify") == std::string::npos) {
            continue;
        }
        std::size_t pos = at;
        // Reads `   <prefix>` and the text up to `<end>`, leaving pos after it.
        auto take = [&](const std::string& prefix,
                        const std::string& end) -> std::optional<std::string> {
            if (monitorOutput.compare(pos, prefix.size(), prefix) != 0) {
                return std::nullopt;
            }
            const auto stop = monitorOutput.find(end, pos + prefix.size());
            if (stop == std::string::npos) {
                return std::nullopt;
            }
            std::string value =
                monitorOutput.substr(pos + prefix.size(), stop - pos - prefix.size());
            pos = stop + end.size();
            return value;
        };
        const std::string next = "\"\n   ";
        Notification call;
        const auto appName = take("   string \"", next);
        const auto replaces = take("uint32 ", "\n   ");
        const auto icon = take("string \"", next);
        const auto summary = take("string \"", next);
        const auto body = take("string \"", "\"\n   array [\n");
        if (!appName || !replaces || !icon || !summary || !body) {
            continue;  // not all of it written yet
        }
        call.appName = *appName;
        call.replacesId = static_cast<std::uint32_t>(parseId(*replaces).value_or(0));
        call.icon = *icon;
        call.summary = *summary;
        call.body = *body;
        // The actions, the hints and the timeout: the rest of the call, up to "   int32 N".
        const auto timeout = monitorOutput.find("\n   int32 ", pos);
        if (timeout == std::string::npos) {
            continue;
        }
        const auto timeoutEnd = monitorOutput.find('\n', timeout + 1);
        if (timeoutEnd == std::string::npos) {
            continue;  // the line is not complete yet
        }
        call.expireTimeout = static_cast<std::int32_t>(
            std::strtol(monitorOutput.c_str() + timeout + 10, nullptr, 10));
        // From the actions' first line on; the line break ahead of it marks the first too.
        const std::string rest = "\n" + monitorOutput.substr(pos, timeout - pos);
        const auto actionsEnd = rest.find("\n   ]\n");
        const auto actionLines =
            lines(actionsEnd == std::string::npos ? std::string() : rest.substr(0, actionsEnd));
        for (const std::string& line : actionLines) {
            if (line.rfind("      string \"", 0) == 0 && line.size() >= 15) {
                call.actions.push_back(line.substr(14, line.size() - 15));
            }
        }
        std::string key;
        const std::string hintLines =
            actionsEnd == std::string::npos ? std::string() : rest.substr(actionsEnd + 6);
        for (const std::string& line : lines(hintLines)) {
            const std::string trimmed = trim(line);
            if (trimmed.rfind("string \"", 0) == 0 && key.empty() && trimmed.size() >= 9) {
                key = trimmed.substr(8, trimmed.size() - 9);
            } else if (trimmed.rfind("variant", 0) == 0 && !key.empty()) {
                call.hints[key] = trim(trimmed.substr(7));
                key.clear();
            }
        }
        calls.push_back(call);
        at = timeoutEnd + 1;
    }
    return calls;
}

NotificationWatcher::NotificationWatcher(milliseconds limit) {
    try {
        monitor_ = std::make_unique<testsupport::ChildProcess>(
            "dbus-monitor",
            std::vector<std::string>{"--session",
                                     "interface='org.freedesktop.Notifications',member='Notify'"});
    } catch (const std::exception&) {
        return;
    }
    // The bus tells a monitor it lost its own name once it has become one; from then on it sees
    // every call that matches.
    listening_ =
        waitFor(
            [this] {
                return monitor_->outputText().find("member=NameLost") != std::string::npos ||
                       monitor_->exitCode(milliseconds(0)).has_value();
            },
            limit) &&
        !monitor_->exitCode(milliseconds(0)).has_value();
}

NotificationWatcher::~NotificationWatcher() = default;

std::vector<Notification> NotificationWatcher::seen() {
    if (!monitor_) {
        return {};
    }
    return parseNotifyCalls(monitor_->outputText());
}

std::vector<Notification> NotificationWatcher::waitForCount(std::size_t count, milliseconds limit) {
    std::vector<Notification> calls;
    waitFor(
        [&] {
            calls = seen();
            return calls.size() >= count;
        },
        limit);
    return calls;
}

}  // namespace desktopcheck
