#include "platform/ui/input.h"

#include <type_traits>
#include <variant>

#include "platform/runtime/trace.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/model.h"
#include "platform/ui/tray.h"

namespace win {

namespace {

using namespace platform::input;

void ignored(const std::string& why) {
    platform::trace("input", "ignored " + why);
}

Form* visibleWindow(int32_t hWnd) {
    Form* form = FindWindow(hWnd);
    return form != nullptr && form->Visible() ? form : nullptr;
}

template <typename T>
T* controlOn(int32_t hWnd, int32_t id) {
    Form* form = FindWindow(hWnd);
    return form != nullptr ? dynamic_cast<T*>(FindControlById(*form, id)) : nullptr;
}

void apply(const CloseBox& event) {
    if (Form* form = visibleWindow(event.hWnd)) {
        form->CloseBox();
        return;
    }
    ignored("close: no such visible window");
}

void apply(const MenuChoice& event) {
    auto* item = controlOn<Menu>(event.hWnd, event.controlId);
    if (item == nullptr) {
        ignored("menu: no such menu item");
        return;
    }
    // Only an item of the open pop-up menu, or of a visible menu bar, can be chosen.
    Menu* top = item;
    while (top->ParentMenu() != nullptr) {
        top = top->ParentMenu();
    }
    Form& form = item->Parent();
    const bool reachable = form.OpenPopupMenu() == top || (top->state().Visible && top != item);
    if (!reachable) {
        ignored("menu: " + item->Name() + " is not on an open menu");
        return;
    }
    form.closePopupMenu();
    item->userClick();
}

void apply(const Click& event) {
    Control* control = controlOn<Control>(event.hWnd, event.controlId);
    if (control == nullptr || dynamic_cast<Menu*>(control) != nullptr) {
        ignored("click: no such control");
        return;
    }
    control->userClick();
}

void apply(const ListSelect& event) {
    auto* list = controlOn<ListBox>(event.hWnd, event.controlId);
    if (list == nullptr || event.index < 0 || event.index >= list->ListCount() ||
        !list->Enabled()) {
        ignored("select: no such list entry");
        return;
    }
    list->setListIndex(static_cast<int16_t>(event.index));
}

void apply(const TextEdited& event) {
    auto* box = controlOn<TextBox>(event.hWnd, event.controlId);
    if (box == nullptr || !box->Enabled() || box->Locked()) {
        ignored("type: no such text box");
        return;
    }
    box->setText(event.text);
}

void apply(const MouseMove& event) {
    Form* form = FindWindow(event.hWnd);
    if (form == nullptr) {
        ignored("mousemove: bad window or position");
        return;
    }
    form->mouseMoveFromPlatform(event.button, event.shift, event.x, event.y);
}

void apply(const TrayMouse& event) {
    const TrayIcon* icon = FindTrayIcon(event.hWnd, event.uID);
    if (icon == nullptr) {
        ignored("tray: no icon");
        return;
    }
    // Copied: a handler may remove the icon.
    const TrayIcon copy = *icon;
    SendTrayMessage(copy, event.message);
}

// An action in a page goes to the browser control showing it.
template <typename PageEvent>
void applyToPage(const PageEvent& event) {
    Control* control = controlOn<Control>(event.hWnd, event.controlId);
    if (control == nullptr || !control->pageAction(event)) {
        ignored("page: no such browser");
    }
}
template <typename T>
constexpr bool kPageEvent = std::is_same_v<T, PageType> || std::is_same_v<T, PageClick> ||
                            std::is_same_v<T, PageLink> || std::is_same_v<T, PageClose> ||
                            std::is_same_v<T, PageNewWindow> || std::is_same_v<T, PageLoaded>;

void apply(const EndSession& /*event*/) {
    for (const auto& form : Forms()) {
        form->Unload(vbAppWindows);
    }
}

}  // namespace

Control* FindControlById(Form& form, int32_t id) {
    for (Control* control : form.controls()) {
        if (control->Id() == id) {
            return control;
        }
    }
    return nullptr;
}

namespace detail {

void dispatchInput(const platform::InputEvent& event) {
    std::visit(
        [&event](const auto& typed) {
            using T = std::decay_t<decltype(typed)>;
            if constexpr (std::is_same_v<T, MessageBoxAnswer> || std::is_same_v<T, DialogAnswer>) {
                model().answers.emplace(typed.requestId, event);
            } else if constexpr (kPageEvent<T>) {
                applyToPage(typed);
            } else {
                apply(typed);
            }
        },
        event);
}

}  // namespace detail

}  // namespace win
