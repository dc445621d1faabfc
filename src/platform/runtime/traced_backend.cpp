#include "platform/runtime/traced_backend.h"

#include "platform/runtime/convert.h"
#include "platform/runtime/text.h"
#include "platform/runtime/trace.h"

namespace platform {

namespace {

std::string windowFields(const WindowView& window) {
    return "hwnd=" + std::to_string(window.hWnd) + " name=" + window.name;
}

std::string geometry(const WindowView& window) {
    return " left=" + CStr(window.left) + " top=" + CStr(window.top) +
           " width=" + CStr(window.width) + " height=" + CStr(window.height);
}

void traceWindow(const WindowView& window, WindowChange change) {
    switch (change) {
        case WindowChange::Loaded:
            trace("form", "loaded " + windowFields(window));
            break;
        case WindowChange::Unloaded:
            trace("form", "unloaded " + windowFields(window) +
                              " mode=" + std::to_string(window.unloadMode));
            break;
        case WindowChange::Shown:
            trace("window", "shown " + windowFields(window) + " caption=" + quoted(window.caption) +
                                geometry(window) + " topmost=" + (window.topMost ? "1" : "0"));
            break;
        case WindowChange::Moved:
            trace("window", "moved " + windowFields(window) + geometry(window));
            break;
        case WindowChange::Resized:
            trace("window", "resized " + windowFields(window) + geometry(window));
            break;
        case WindowChange::Hidden:
            trace("window", "hidden " + windowFields(window));
            break;
        case WindowChange::Caption:
            trace("window",
                  "caption " + windowFields(window) + " caption=" + quoted(window.caption));
            break;
        case WindowChange::TopMost:
            trace("window",
                  "topmost " + windowFields(window) + " on=" + (window.topMost ? "1" : "0"));
            break;
        case WindowChange::ZOrder:
            trace("window", "raised " + windowFields(window));
            break;
        case WindowChange::Foreground:
            trace("window", "foreground " + windowFields(window));
            break;
        case WindowChange::BorderStyle:
            trace("window", "border " + windowFields(window) +
                                " style=" + std::to_string(window.borderStyle));
            break;
        case WindowChange::Shape: {
            int64_t pixels = 0;
            for (const PixelRect& rect : window.shape) {
                pixels += int64_t{rect.right - rect.left} * (rect.bottom - rect.top);
            }
            trace("window", "shape " + windowFields(window) +
                                " rects=" + std::to_string(window.shape.size()) +
                                " pixels=" + std::to_string(pixels));
            break;
        }
        case WindowChange::Picture:
            // Only drawing changes: the trace keeps to what the window does.
            break;
    }
}

}  // namespace

void TracedBackend::windowChanged(const WindowView& window, WindowChange change) {
    if (tracing()) {
        traceWindow(window, change);
    }
    ForwardingBackend::windowChanged(window, change);
}

void TracedBackend::menuOpened(const MenuView& menu) {
    if (tracing()) {
        std::string items;
        for (const auto& item : menu.items) {
            if (!items.empty()) {
                items += '|';
            }
            items += std::string(static_cast<size_t>(item.depth - 1), '>');
            if (!item.enabled) {
                items += '~';
            }
            if (item.checked) {
                items += '*';
            }
            items += item.caption;
        }
        trace("menu", "open hwnd=" + std::to_string(menu.hWnd) + " form=" + menu.form +
                          " menu=" + menu.menu + " items=" + quoted(items));
    }
    ForwardingBackend::menuOpened(menu);
}

bool TracedBackend::playSound(std::string_view path, int64_t fromMs, int64_t durationMs) {
    const bool played = ForwardingBackend::playSound(path, fromMs, durationMs);
    if (played) {
        trace("sound", "play path=" + quoted(path) + " from=" + std::to_string(fromMs) +
                           " ms=" + std::to_string(durationMs));
    }
    return played;
}

void TracedBackend::stopSound(std::string_view path) {
    trace("sound", "stop path=" + quoted(path));
    ForwardingBackend::stopSound(path);
}

bool TracedBackend::openAddress(std::string_view address) {
    const bool opened = ForwardingBackend::openAddress(address);
    trace("shell", "open address=" + quoted(address) + " ok=" + (opened ? "1" : "0"));
    return opened;
}

}  // namespace platform
