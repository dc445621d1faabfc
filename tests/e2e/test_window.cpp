// A plain X client for the desktop checks' own tests: one window made as the arguments say, and
// a line on stdout for each thing the X server tells it (mapped, embedded, a click, a key).
//
//   desktop-checks-window [--role R] [--geometry WxH+X+Y] [--colour RRGGBB] [--override]
//                         [--type popup_menu|dropdown_menu] [--hole] [--unmapped] [--dock]
//
// --hole cuts a square out of the middle of the window's shape (half its width and height);
// --dock asks the tray host to embed the window (the system tray protocol over XEmbed).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

struct Options {
    std::string role;
    unsigned width = 120;
    unsigned height = 80;
    int x = 200;
    int y = 150;
    unsigned long colour = 0x3366cc;
    bool overrideRedirect = false;
    std::string type;
    bool hole = false;
    bool unmapped = false;
    bool dock = false;
};

void say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string hex(Window window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", window);
    return text;
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--role" && hasValue) {
            options.role = argv[++i];
        } else if (arg == "--geometry" && hasValue) {
            if (std::sscanf(argv[++i], "%ux%u%d%d", &options.width, &options.height, &options.x,
                            &options.y) != 4) {
                return false;
            }
        } else if (arg == "--colour" && hasValue) {
            options.colour = std::strtoul(argv[++i], nullptr, 16);
        } else if (arg == "--type" && hasValue) {
            options.type = argv[++i];
        } else if (arg == "--override") {
            options.overrideRedirect = true;
        } else if (arg == "--hole") {
            options.hole = true;
        } else if (arg == "--unmapped") {
            options.unmapped = true;
        } else if (arg == "--dock") {
            options.dock = true;
        } else {
            return false;
        }
    }
    return true;
}

// The tray host owns the screen's system tray selection; it may take a moment to.
bool dock(Display* display, Window window) {
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display));
    const Atom trayAtom = XInternAtom(display, selection.c_str(), False);
    Window host = None;
    for (int tries = 0; tries < 500 && host == None; ++tries) {
        host = XGetSelectionOwner(display, trayAtom);
        if (host == None) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    if (host == None) {
        return false;
    }
    // XEmbed version 0, mapped once embedded.
    const long info[2] = {0, 1};
    const Atom infoAtom = XInternAtom(display, "_XEMBED_INFO", False);
    XChangeProperty(display, window, infoAtom, infoAtom, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(info), 2);
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = host;
    request.xclient.message_type = XInternAtom(display, "_NET_SYSTEM_TRAY_OPCODE", False);
    request.xclient.format = 32;
    request.xclient.data.l[0] = CurrentTime;
    request.xclient.data.l[1] = 0;  // SYSTEM_TRAY_REQUEST_DOCK
    request.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(display, host, False, NoEventMask, &request);
    XFlush(display);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fputs("usage: see the top of test_window.cpp\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("cannot open the display\n", stderr);
        return 1;
    }
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = options.colour;
    attributes.override_redirect = options.overrideRedirect ? True : False;
    attributes.event_mask = ButtonPressMask | KeyPressMask | StructureNotifyMask | ExposureMask;
    const Window window =
        XCreateWindow(display, RootWindow(display, screen), options.x, options.y, options.width,
                      options.height, 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWBackPixel | CWOverrideRedirect | CWEventMask, &attributes);

    XClassHint classHint{};
    std::string instance = "checks";
    std::string className = "Checks";
    classHint.res_name = instance.data();
    classHint.res_class = className.data();
    XSetClassHint(display, window, &classHint);
    XStoreName(display, window, "desktop checks");
    // Placed where asked, not where the window manager would like.
    XSizeHints hints{};
    hints.flags = USPosition | USSize | PMinSize;
    hints.x = options.x;
    hints.y = options.y;
    hints.min_width = static_cast<int>(options.width);
    hints.min_height = static_cast<int>(options.height);
    XSetWMNormalHints(display, window, &hints);
    if (!options.role.empty()) {
        XChangeProperty(display, window, XInternAtom(display, "WM_WINDOW_ROLE", False), XA_STRING,
                        8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(options.role.c_str()),
                        static_cast<int>(options.role.size()));
    }
    if (!options.type.empty()) {
        std::string typeName = "_NET_WM_WINDOW_TYPE_";
        for (const char c : options.type) {
            typeName += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        const Atom type = XInternAtom(display, typeName.c_str(), False);
        XChangeProperty(display, window, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False),
                        XA_ATOM, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&type),
                        1);
    }
    if (options.hole) {
        // Four bands around the middle square; the shape is both what shows and what takes input.
        const short w = static_cast<short>(options.width);
        const short h = static_cast<short>(options.height);
        XRectangle bands[4] = {
            {0, 0, static_cast<unsigned short>(w), static_cast<unsigned short>(h / 4)},
            {0, static_cast<short>(h - h / 4), static_cast<unsigned short>(w),
             static_cast<unsigned short>(h / 4)},
            {0, static_cast<short>(h / 4), static_cast<unsigned short>(w / 4),
             static_cast<unsigned short>(h - 2 * (h / 4))},
            {static_cast<short>(w - w / 4), static_cast<short>(h / 4),
             static_cast<unsigned short>(w / 4), static_cast<unsigned short>(h - 2 * (h / 4))},
        };
        XShapeCombineRectangles(display, window, ShapeBounding, 0, 0, bands, 4, ShapeSet, Unsorted);
        XShapeCombineRectangles(display, window, ShapeInput, 0, 0, bands, 4, ShapeSet, Unsorted);
    }

    if (options.dock) {
        if (!dock(display, window)) {
            std::fputs("no tray host\n", stderr);
            return 1;
        }
    } else if (!options.unmapped) {
        XMapRaised(display, window);
    }
    XFlush(display);
    say("window " + hex(window));

    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        switch (event.type) {
            case MapNotify:
                say("mapped");
                break;
            case ReparentNotify:
                say("reparented " + hex(event.xreparent.parent));
                break;
            case ButtonPress:
                say("button " + std::to_string(event.xbutton.button) + " " +
                    std::to_string(event.xbutton.x) + " " + std::to_string(event.xbutton.y));
                break;
            case KeyPress: {
                char text[16] = {};
                KeySym key = NoSymbol;
                XLookupString(&event.xkey, text, sizeof text - 1, &key, nullptr);
                const char* name = XKeysymToString(key);
                say(std::string("key ") + (name != nullptr ? name : "?"));
                break;
            }
            default:
                break;
        }
    }
}
