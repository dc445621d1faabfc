#include "platform/ui/input.h"

#include <charconv>

#include "platform/runtime/backend.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/text.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/model.h"

namespace win {

namespace {

bool parseNumber(const std::string& word, double& value) {
    const char* first = word.data();
    const char* last = first + word.size();
    auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last;
}

void ignored(const std::string& why) {
    platform::trace("input", "ignored " + why);
}

void closeAction(const std::vector<std::string>& args) {
    Form* form = args.size() == 1 ? FindFormByWord(args[0]) : nullptr;
    if (form == nullptr || !form->Visible()) {
        ignored("close: no such visible window");
        return;
    }
    form->CloseBox();
}

void menuAction(const std::vector<std::string>& args) {
    Form* form = args.size() == 2 ? FindFormByWord(args[0]) : nullptr;
    auto* item = form ? dynamic_cast<Menu*>(FindControlByWord(*form, args[1])) : nullptr;
    if (item == nullptr) {
        ignored("menu: no such menu item");
        return;
    }
    // Only an item of the open pop-up menu, or of a visible menu bar, can be chosen.
    Menu* top = item;
    while (top->ParentMenu() != nullptr) {
        top = top->ParentMenu();
    }
    const bool reachable = form->OpenPopupMenu() == top || (top->state().Visible && top != item);
    if (!reachable) {
        ignored("menu: " + args[1] + " is not on an open menu");
        return;
    }
    form->closePopupMenu();
    item->userClick();
}

void clickAction(const std::vector<std::string>& args) {
    Form* form = args.size() == 2 ? FindFormByWord(args[0]) : nullptr;
    Control* control = form ? FindControlByWord(*form, args[1]) : nullptr;
    if (control == nullptr || dynamic_cast<Menu*>(control) != nullptr) {
        ignored("click: no such control");
        return;
    }
    control->userClick();
}

void selectAction(const std::vector<std::string>& args) {
    Form* form = args.size() == 3 ? FindFormByWord(args[0]) : nullptr;
    auto* list = form ? dynamic_cast<ListBox*>(FindControlByWord(*form, args[1])) : nullptr;
    double index = 0;
    if (list == nullptr || !parseNumber(args[2], index) || index < 0 ||
        index >= list->ListCount() || !list->Enabled()) {
        ignored("select: no such list entry");
        return;
    }
    list->setListIndex(static_cast<int16_t>(index));
}

void mouseMoveAction(const std::vector<std::string>& args) {
    Form* form = args.size() == 3 ? FindFormByWord(args[0]) : nullptr;
    double x = 0;
    double y = 0;
    if (form == nullptr || !parseNumber(args[1], x) || !parseNumber(args[2], y)) {
        ignored("mousemove: bad window or position");
        return;
    }
    form->mouseMoveFromPlatform(0, 0, static_cast<float>(x), static_cast<float>(y));
}

void endSessionAction(const std::vector<std::string>& /*args*/) {
    for (const auto& form : Forms()) {
        form->Unload(vbAppWindows);
    }
}

}  // namespace

Form* FindFormByWord(const std::string& word) {
    if (!word.empty() && word[0] == '#') {
        double handle = 0;
        if (!parseNumber(word.substr(1), handle)) {
            return nullptr;
        }
        return FindWindow(static_cast<int32_t>(handle));
    }
    for (const auto& form : detail::model().loaded) {
        if (form->Name() == word) {
            return form.get();
        }
    }
    return nullptr;
}

Control* FindControlByWord(Form& form, const std::string& word) {
    const size_t open = word.find('(');
    if (open == std::string::npos) {
        return form.findControl(word, -1);
    }
    if (word.back() != ')') {
        return nullptr;
    }
    double index = 0;
    if (!parseNumber(word.substr(open + 1, word.size() - open - 2), index) || index < 0 ||
        index > 32767) {
        return nullptr;
    }
    return form.findControl(word.substr(0, open), static_cast<int16_t>(index));
}

void RegisterInputAction(const std::string& name,
                         std::function<void(const std::vector<std::string>& args)> handler) {
    detail::registerInputAction(name, std::move(handler));
}

namespace detail {

void registerInputAction(const std::string& name, InputHandler handler) {
    model().actions[name] = std::move(handler);
}

void registerBuiltinActions(Model& model) {
    model.actions["close"] = closeAction;
    model.actions["menu"] = menuAction;
    model.actions["click"] = clickAction;
    model.actions["select"] = selectAction;
    model.actions["mousemove"] = mouseMoveAction;
    model.actions["end-session"] = endSessionAction;
}

void dispatchInput(const platform::InputEvent& event) {
    std::string line = event.action;
    for (const auto& arg : event.args) {
        line += ' ';
        line += arg;
    }
    platform::trace("input", line);
    auto found = model().actions.find(event.action);
    if (found == model().actions.end()) {
        ignored("unknown action " + event.action);
        return;
    }
    // Copied: a handler may register actions itself.
    auto handler = found->second;
    handler(event.args);
}

}  // namespace detail

}  // namespace win
