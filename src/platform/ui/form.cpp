#include "platform/ui/form.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/runtime/convert.h"
#include "platform/runtime/errors.h"
#include "platform/ui/controls.h"
#include "platform/ui/gdi.h"
#include "platform/ui/model.h"
#include "platform/ui/screen.h"

namespace win {

using platform::WindowChange;

Form::Form(std::string name, FormDesign design)
    : name_(std::move(name)), design_(std::move(design)), now_(design_) {}

Form::~Form() {
    if (hWnd_ != 0) {
        detail::model().byHandle.erase(hWnd_);
    }
}

void Form::ensureLoaded() {
    if (state_ == State::Unloaded && constructed_) {
        Load();
    }
}

void Form::registerControl(Control* control) {
    controls_.push_back(control);
}

void Form::unregisterControl(Control* control) {
    std::erase(controls_, control);
}

void Form::registerArray(ControlArrayBase* array) {
    arrays_.push_back(array);
}

Control* Form::findControl(const std::string& name, int16_t index) const {
    for (Control* control : controls_) {
        if (control->Name() == name && control->Index() == index) {
            return control;
        }
    }
    return nullptr;
}

void Form::Load() {
    if (state_ != State::Unloaded) {
        return;
    }
    auto self = weak_from_this().lock();
    if (!self || !constructed_) {
        throw std::logic_error("forms are made with win::Default<F>() or win::New<F>()");
    }
    auto& model = detail::model();
    state_ = State::Loading;
    hWnd_ = model.nextHandle++;
    model.byHandle[hWnd_] = this;
    model.loaded.push_back(self);
    now_ = design_;
    visible_ = false;
    shownSinceLoad_ = false;
    topMost_ = false;
    picture_ = designPicture_;
    for (Control* control : std::vector<Control*>(controls_)) {
        control->formLoaded();
    }
    notify(WindowChange::Loaded);
    for (Control* control : std::vector<Control*>(controls_)) {
        control->changed(platform::ControlChange::Created);
    }
    try {
        Form_Load();
    } catch (...) {
        // The error goes to whoever referenced the window; the window stays loaded.
        if (state_ == State::Loading) {
            state_ = State::Loaded;
        }
        throw;
    }
    if (state_ == State::Loading) {
        state_ = State::Loaded;
    }
}

void Form::Unload(int16_t unloadMode) {
    if (state_ == State::Unloaded || unloading_) {
        return;
    }
    // Keeps this window alive until the unload is over, whoever drops it meanwhile.
    auto self = shared_from_this();
    unloading_ = true;
    int16_t cancel = 0;
    Form_QueryUnload(cancel, unloadMode);
    if (cancel != 0 || state_ == State::Unloaded) {
        unloading_ = false;
        return;
    }
    cancel = 0;
    Form_Unload(cancel);
    if (cancel != 0 || state_ == State::Unloaded) {
        unloading_ = false;
        return;
    }
    if (visible_) {
        visible_ = false;
        notify(WindowChange::Hidden);
    }
    openPopup_ = nullptr;
    for (ControlArrayBase* array : arrays_) {
        array->unloadRuntimeElements();
    }
    for (Control* control : std::vector<Control*>(controls_)) {
        control->changed(platform::ControlChange::Destroyed);
        control->resetToDesign();
        control->formUnloaded();
    }
    picture_ = StdPicture();
    if (hDC_ != 0) {
        DeleteDC(hDC_);
        hDC_ = 0;
    }
    auto unloaded = view();
    unloaded.unloadMode = unloadMode;
    if (region_ != 0) {
        DeleteObject(region_);
        region_ = 0;
    }
    platform::backend().windowChanged(unloaded, WindowChange::Unloaded);
    auto& model = detail::model();
    model.byHandle.erase(hWnd_);
    hWnd_ = 0;
    state_ = State::Unloaded;
    unloading_ = false;
    std::erase(model.loaded, self);
}

void Form::Show() {
    ensureLoaded();
    if (state_ == State::Unloaded || visible_) {
        return;
    }
    visible_ = true;
    notify(WindowChange::Shown);
    if (!shownSinceLoad_) {
        shownSinceLoad_ = true;
        Form_Resize();
    }
}

void Form::Hide() {
    ensureLoaded();
    if (state_ == State::Unloaded || !visible_) {
        return;
    }
    visible_ = false;
    notify(WindowChange::Hidden);
}

bool Form::Visible() {
    ensureLoaded();
    return visible_;
}

void Form::setVisible(bool value) {
    if (value) {
        Show();
    } else {
        Hide();
    }
}

int32_t Form::hWnd() {
    ensureLoaded();
    return hWnd_;
}

std::string Form::Caption() {
    ensureLoaded();
    return now_.Caption;
}

void Form::setCaption(const std::string& value) {
    ensureLoaded();
    if (value == now_.Caption) {
        return;
    }
    now_.Caption = value;
    if (visible_) {
        notify(WindowChange::Caption);
    }
}

float Form::Left() {
    ensureLoaded();
    return now_.Left;
}

float Form::Top() {
    ensureLoaded();
    return now_.Top;
}

float Form::Width() {
    ensureLoaded();
    return now_.Width;
}

float Form::Height() {
    ensureLoaded();
    return now_.Height;
}

void Form::setLeft(float value) {
    ensureLoaded();
    Move(value, now_.Top, now_.Width, now_.Height);
}

void Form::setTop(float value) {
    ensureLoaded();
    Move(now_.Left, value, now_.Width, now_.Height);
}

void Form::setWidth(float value) {
    ensureLoaded();
    Move(now_.Left, now_.Top, value, now_.Height);
}

void Form::setHeight(float value) {
    ensureLoaded();
    Move(now_.Left, now_.Top, now_.Width, value);
}

void Form::Move(float left, float top, float width, float height) {
    ensureLoaded();
    if (width < 0 || height < 0) {
        platform::raise(platform::kInvalidCall);
    }
    const bool moved = left != now_.Left || top != now_.Top;
    const bool resized = width != now_.Width || height != now_.Height;
    now_.Left = left;
    now_.Top = top;
    now_.Width = width;
    now_.Height = height;
    geometryChanged(moved, resized);
    if (resized && state_ != State::Unloaded) {
        Form_Resize();
    }
}

void Form::geometryChanged(bool moved, bool resized) {
    if (!visible_ || state_ == State::Unloaded) {
        return;
    }
    if (moved) {
        notify(WindowChange::Moved);
    } else if (resized) {
        notify(WindowChange::Resized);
    }
}

int16_t Form::BorderStyle() {
    ensureLoaded();
    return now_.BorderStyle;
}

void Form::setBorderStyle(int16_t value) {
    ensureLoaded();
    if (value < vbBSNone || value > vbSizableToolWindow) {
        platform::raise(380, "Invalid property value");
    }
    if (now_.BorderStyle == value) {
        return;
    }
    now_.BorderStyle = value;
    if (visible_) {
        notify(WindowChange::BorderStyle);
    }
}

int16_t Form::ScaleMode() {
    ensureLoaded();
    return now_.ScaleMode;
}

void Form::setScaleMode(int16_t value) {
    ensureLoaded();
    if (value != vbTwips && value != vbPixels && value != vbPoints) {
        platform::raise(380, "Invalid property value");
    }
    now_.ScaleMode = value;
}

// Frame and caption sizes of the model's windows, in pixels, by border style.
float Form::frameWidthPx() const {
    switch (now_.BorderStyle) {
        case vbBSNone:
            return 0;
        case vbSizable:
        case vbSizableToolWindow:
            return 4;
        default:
            return 3;
    }
}

float Form::captionHeightPx() const {
    switch (now_.BorderStyle) {
        case vbBSNone:
            return 0;
        case vbFixedToolWindow:
        case vbSizableToolWindow:
            return 16;
        default:
            return 19;
    }
}

float Form::ScaleWidth() {
    ensureLoaded();
    const float inner = now_.Width - 2 * frameWidthPx() * Screen.TwipsPerPixelX();
    return ScaleX(std::max(inner, 0.0f), vbTwips, now_.ScaleMode);
}

float Form::ScaleHeight() {
    ensureLoaded();
    const float inner =
        now_.Height - (2 * frameWidthPx() + captionHeightPx()) * Screen.TwipsPerPixelY();
    return ScaleY(std::max(inner, 0.0f), vbTwips, now_.ScaleMode);
}

double twipsPerUnit(int16_t mode, float twipsPerPixel, bool horizontal) {
    switch (mode) {
        case vbUser:  // no user scale is ever set: it stays the default, twips
        case vbTwips:
            return 1;
        case vbPoints:
            return 20;
        case vbPixels:
            return twipsPerPixel;
        case vbCharacters:
            return horizontal ? 120 : 240;
        case vbInches:
            return 1440;
        case vbMillimeters:
            return 1440 / 25.4;
        case vbCentimeters:
            return 1440 / 2.54;
        case vbHimetric:
            return 1440 / 2540.0;
        default:
            platform::raise(platform::kInvalidCall);
    }
}

namespace {

float convert(float value, int16_t from, int16_t to, float twipsPerPixel, bool horizontal) {
    const double fromUnit = twipsPerUnit(from, twipsPerPixel, horizontal);
    const double toUnit = twipsPerUnit(to, twipsPerPixel, horizontal);
    if (fromUnit == toUnit) {
        return value;
    }
    return static_cast<float>(static_cast<double>(value) * fromUnit / toUnit);
}
}  // namespace

float Form::ScaleX(float value, int16_t from, int16_t to) {
    return convert(value, from, to, Screen.TwipsPerPixelX(), true);
}

float Form::ScaleY(float value, int16_t from, int16_t to) {
    return convert(value, from, to, Screen.TwipsPerPixelY(), false);
}

bool Form::TopMost() {
    ensureLoaded();
    return topMost_;
}

void Form::setTopMost(bool value) {
    ensureLoaded();
    if (topMost_ == value) {
        return;
    }
    topMost_ = value;
    notify(WindowChange::TopMost);
}

StdPicture Form::Picture() {
    ensureLoaded();
    return picture_;
}

void Form::setPicture(const StdPicture& value) {
    ensureLoaded();
    picture_ = value;
    notify(WindowChange::Picture);
}

int32_t Form::hDC() {
    ensureLoaded();
    if (hDC_ == 0) {
        const auto width = static_cast<int32_t>(std::lround(now_.Width / Screen.TwipsPerPixelX()));
        const auto height =
            static_cast<int32_t>(std::lround(now_.Height / Screen.TwipsPerPixelY()));
        hDC_ = CreateSurfaceDC(std::max(width, 1), std::max(height, 1));
    }
    return hDC_;
}

void Form::setRegion(int32_t hRgn) {
    if (region_ != 0 && region_ != hRgn) {
        DeleteObject(region_);
    }
    region_ = hRgn;
    notify(WindowChange::Shape);
}

void Form::bringToTop() {
    ensureLoaded();
    notify(WindowChange::ZOrder);
}

void Form::PopupMenu(Menu& menu, int32_t flags) {
    ensureLoaded();
    PopupMenu(menu, flags, mouseX_, mouseY_);
}

void Form::PopupMenu(Menu& menu, int32_t /*flags*/, float /*x*/, float /*y*/) {
    ensureLoaded();
    if (&menu.Parent() != this) {
        platform::raise(platform::kInvalidCall);
    }
    openPopup_ = &menu;
    platform::MenuView view;
    view.hWnd = hWnd_;
    view.form = name_;
    view.menu = menu.Name();
    // Items in declaration order, each below its own menu, skipping hidden ones.
    std::function<void(Menu*, int)> addChildren = [&](Menu* parent, int depth) {
        for (Control* control : controls_) {
            auto* item = dynamic_cast<Menu*>(control);
            if (item && item->ParentMenu() == parent && item->state().Visible) {
                view.items.push_back(
                    {item->Id(), platform::controlWord(item->Name(), item->Index()),
                     item->state().Caption, depth, item->state().Enabled, item->state().Checked});
                addChildren(item, depth + 1);
            }
        }
    };
    addChildren(&menu, 1);
    platform::backend().menuOpened(view);
}

void Form::mouseMoveFromPlatform(int16_t button, int16_t shift, float xPixels, float yPixels) {
    if (state_ == State::Unloaded) {
        return;
    }
    auto self = shared_from_this();
    mouseX_ = ScaleX(xPixels, vbPixels, now_.ScaleMode);
    mouseY_ = ScaleY(yPixels, vbPixels, now_.ScaleMode);
    Form_MouseMove(button, shift, mouseX_, mouseY_);
}

void Form::notify(WindowChange change) {
    platform::backend().windowChanged(view(), change);
}

platform::WindowView Form::view() const {
    platform::WindowView view;
    view.hWnd = hWnd_;
    view.name = name_;
    view.caption = now_.Caption;
    view.left = now_.Left;
    view.top = now_.Top;
    view.width = now_.Width;
    view.height = now_.Height;
    view.visible = visible_;
    view.topMost = topMost_;
    view.borderStyle = now_.BorderStyle;
    view.showInTaskbar = design_.ShowInTaskbar;
    view.frameWidthPx = frameWidthPx();
    view.captionHeightPx = captionHeightPx();
    view.picture = picture_.Handle();
    if (const Region* region = region_ != 0 ? FindRegion(region_) : nullptr) {
        for (const RECT& rect : region->rects()) {
            view.shape.push_back({rect.Left, rect.Top, rect.Right, rect.Bottom});
        }
    }
    return view;
}

}  // namespace win
