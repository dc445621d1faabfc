#include "platform/ui/controls.h"

#include <algorithm>
#include <cmath>
#include <variant>

#include "platform/runtime/backend.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/text.h"
#include "platform/runtime/trace.h"
#include "platform/ui/form.h"
#include "platform/ui/model.h"
#include "platform/ui/text_metrics.h"

namespace win {

namespace {
constexpr int kInvalidPropertyValue = 380;
constexpr int kInvalidArrayIndex = 381;
}  // namespace

std::string Label::Caption() {
    return live().Caption;
}

void Label::setCaption(const std::string& value) {
    live().Caption = value;
    changed(platform::ControlChange::Caption);
    fit();
}

bool Label::AutoSize() {
    return live().AutoSize;
}

void Label::setAutoSize(bool value) {
    live().AutoSize = value;
    fit();
}

bool Label::WordWrap() {
    return live().WordWrap;
}

void Label::setWordWrap(bool value) {
    live().WordWrap = value;
    fit();
}

int16_t Label::BackStyle() {
    return live().BackStyle;
}

void Label::setBackStyle(int16_t value) {
    live().BackStyle = value;
    changed(platform::ControlChange::Style);
}

void Label::fit() {
    auto& state = live();
    if (!state.AutoSize) {
        return;
    }
    // A backend with fonts measures; otherwise the fixed metric in twips.
    Form& window = Parent();
    const int16_t units = containerScaleMode();
    const int32_t wrapPx =
        state.WordWrap
            ? std::max(static_cast<int32_t>(window.ScaleX(state.Width, units, vbPixels)), 1)
            : 0;
    if (const auto extent = platform::backend().measureText(
            {state.Caption, state.FontSize, state.FontBold, wrapPx})) {
        if (!state.WordWrap) {
            state.Width = window.ScaleX(static_cast<float>(extent->widthPx), vbPixels, units);
        }
        state.Height = window.ScaleY(static_cast<float>(extent->heightPx), vbPixels, units);
        changed(platform::ControlChange::Geometry);
        return;
    }
    const float lineHeight = textmetrics::LineHeight(state.FontSize);
    if (state.WordWrap) {
        state.Height = lineHeight * static_cast<float>(textmetrics::WrappedLineCount(
                                        state.Caption, state.Width, state.FontSize));
    } else {
        state.Width = textmetrics::TextWidth(state.Caption, state.FontSize);
        state.Height = lineHeight * static_cast<float>(textmetrics::WrappedLineCount(
                                        state.Caption, state.Width, state.FontSize));
    }
    changed(platform::ControlChange::Geometry);
}

std::string CommandButton::Caption() {
    return live().Caption;
}

void CommandButton::setCaption(const std::string& value) {
    live().Caption = value;
    changed(platform::ControlChange::Caption);
}

std::string TextBox::Text() {
    return live().Text;
}

void TextBox::setText(const std::string& value) {
    auto& state = live();
    if (state.Text == value) {
        return;
    }
    state.Text = value;
    changed(platform::ControlChange::Text);
    if (onChange) {
        onChange();
    }
}

bool TextBox::Locked() {
    return live().Locked;
}

void TextBox::setLocked(bool value) {
    live().Locked = value;
    changed(platform::ControlChange::Style);
}

std::string CheckBox::Caption() {
    return live().Caption;
}

void CheckBox::setCaption(const std::string& value) {
    live().Caption = value;
    changed(platform::ControlChange::Caption);
}

int16_t CheckBox::Value() {
    return static_cast<int16_t>(live().Value);
}

void CheckBox::setValue(int16_t value) {
    if (value < vbUnchecked || value > vbGrayed) {
        platform::raise(kInvalidPropertyValue, "Invalid property value");
    }
    auto& state = live();
    if (static_cast<int16_t>(state.Value) == value) {
        return;
    }
    state.Value = value;
    changed(platform::ControlChange::Value);
    raiseClick();
}

void CheckBox::userClick() {
    auto& state = live();
    if (!state.Enabled || !state.Visible) {
        return;
    }
    setValue(static_cast<int16_t>(state.Value) == vbUnchecked ? vbChecked : vbUnchecked);
}

void ListBox::AddItem(const std::string& item, int16_t index) {
    auto& state = live();
    if (index < -1 || index > static_cast<int>(state.List.size())) {
        platform::raise(platform::kInvalidCall);
    }
    if (index == -1) {
        state.List.push_back(item);
    } else {
        state.List.insert(state.List.begin() + index, item);
        if (state.ListIndex >= index) {
            ++state.ListIndex;
        }
    }
    changed(platform::ControlChange::List);
}

void ListBox::RemoveItem(int16_t index) {
    auto& state = live();
    if (index < 0 || index >= static_cast<int>(state.List.size())) {
        platform::raise(platform::kInvalidCall);
    }
    state.List.erase(state.List.begin() + index);
    if (state.ListIndex == index) {
        state.ListIndex = -1;
    } else if (state.ListIndex > index) {
        --state.ListIndex;
    }
    changed(platform::ControlChange::List);
}

void ListBox::Clear() {
    auto& state = live();
    state.List.clear();
    state.ListIndex = -1;
    changed(platform::ControlChange::List);
}

std::string ListBox::List(int16_t i) {
    auto& state = live();
    if (i < 0) {
        platform::raise(kInvalidArrayIndex, "Invalid property array index");
    }
    return i < static_cast<int>(state.List.size()) ? state.List[i] : std::string();
}

void ListBox::setList(int16_t i, const std::string& value) {
    auto& state = live();
    if (i < 0) {
        platform::raise(kInvalidArrayIndex, "Invalid property array index");
    }
    if (i >= static_cast<int>(state.List.size())) {
        state.List.resize(i + 1);
    }
    state.List[i] = value;
    changed(platform::ControlChange::List);
}

int16_t ListBox::ListCount() {
    return static_cast<int16_t>(live().List.size());
}

int16_t ListBox::ListIndex() {
    return live().ListIndex;
}

void ListBox::setListIndex(int16_t value) {
    auto& state = live();
    if (value < -1 || value >= static_cast<int>(state.List.size())) {
        platform::raise(kInvalidPropertyValue, "Invalid property value");
    }
    if (state.ListIndex == value) {
        return;
    }
    state.ListIndex = value;
    changed(platform::ControlChange::List);
    raiseClick();
}

std::string ListBox::Text() {
    auto& state = live();
    return state.ListIndex >= 0 ? state.List[state.ListIndex] : std::string();
}

StdPicture PictureControl::Picture() {
    live();
    return picture_;
}

void PictureControl::setPicture(const StdPicture& value) {
    live();
    show(value);
}

void PictureControl::show(const StdPicture& value) {
    picture_ = value;
    // The handle is made now so that a renderer finds the pixels behind it.
    live().Picture = picture_.Handle();
    changed(platform::ControlChange::Picture);
}

void PictureControl::formLoaded() {
    picture_ = designPicture_;
    live().Picture = picture_.Handle();
}

void PictureControl::formUnloaded() {
    picture_ = StdPicture();
}

void CommonDialog::ShowOpen() {
    live();
    const int32_t owner = Parent().hWnd();
    const auto reply = detail::runModal([&](int32_t id) {
        platform::backend().openFileDialog({id, owner, title_, filter_, initDir_});
    });
    const auto& answer = std::get<platform::input::DialogAnswer>(reply);
    fileName_ = answer.path.value_or("");
    platform::trace(
        "dialog",
        "open hwnd=" + std::to_string(owner) + " filter=" + platform::quoted(filter_) +
            " dir=" + platform::quoted(initDir_) +
            (answer.path ? " path=" + platform::quoted(*answer.path) : std::string(" cancelled")));
}

void CommonDialog::formUnloaded() {
    filter_.clear();
    initDir_.clear();
    title_.clear();
    fileName_.clear();
}

bool Image::Stretch() {
    return live().Stretch;
}

void Image::setStretch(bool value) {
    live().Stretch = value;
    changed(platform::ControlChange::Style);
}

int16_t PictureBox::ScaleMode() {
    return live().ScaleMode;
}

void PictureBox::setScaleMode(int16_t value) {
    if (value != vbTwips && value != vbPixels && value != vbPoints) {
        platform::raise(kInvalidPropertyValue, "Invalid property value");
    }
    live().ScaleMode = value;
}

int32_t PictureBox::hDC() {
    auto& state = live();
    if (hDC_ == 0) {
        // The box's size is in its container's units: another box's scale mode or the window's.
        const auto* box = dynamic_cast<const PictureBox*>(Container());
        const int16_t outer = box ? box->state().ScaleMode : Parent().ScaleMode();
        const auto width =
            static_cast<int32_t>(std::lround(Parent().ScaleX(state.Width, outer, vbPixels)));
        const auto height =
            static_cast<int32_t>(std::lround(Parent().ScaleY(state.Height, outer, vbPixels)));
        hDC_ = CreateSurfaceDC(std::max(width, 1), std::max(height, 1));
    }
    return hDC_;
}

void PictureBox::formUnloaded() {
    PictureControl::formUnloaded();
    if (hDC_ != 0) {
        DeleteDC(hDC_);
        hDC_ = 0;
    }
}

float Line::X1() {
    return live().X1;
}

float Line::Y1() {
    return live().Y1;
}

float Line::X2() {
    return live().X2;
}

float Line::Y2() {
    return live().Y2;
}

void Line::setX1(float value) {
    live().X1 = value;
    changed(platform::ControlChange::Geometry);
}

void Line::setY1(float value) {
    live().Y1 = value;
    changed(platform::ControlChange::Geometry);
}

void Line::setX2(float value) {
    live().X2 = value;
    changed(platform::ControlChange::Geometry);
}

void Line::setY2(float value) {
    live().Y2 = value;
    changed(platform::ControlChange::Geometry);
}

float ProgressBar::Min() {
    return live().Min;
}

float ProgressBar::Max() {
    return live().Max;
}

float ProgressBar::Value() {
    return live().Value;
}

void ProgressBar::setMin(float value) {
    auto& state = live();
    if (value > state.Max) {
        platform::raise(kInvalidPropertyValue, "Invalid property value");
    }
    state.Min = value;
    if (state.Value < value) {
        state.Value = value;
    }
    changed(platform::ControlChange::Value);
}

void ProgressBar::setMax(float value) {
    auto& state = live();
    if (value < state.Min) {
        platform::raise(kInvalidPropertyValue, "Invalid property value");
    }
    state.Max = value;
    if (state.Value > value) {
        state.Value = value;
    }
    changed(platform::ControlChange::Value);
}

void ProgressBar::setValue(float value) {
    auto& state = live();
    if (value < state.Min || value > state.Max) {
        platform::raise(kInvalidPropertyValue, "Invalid property value");
    }
    state.Value = value;
    changed(platform::ControlChange::Value);
}

std::string Menu::Caption() {
    return live().Caption;
}

void Menu::setCaption(const std::string& value) {
    live().Caption = value;
    changed(platform::ControlChange::Caption);
}

bool Menu::Checked() {
    return live().Checked;
}

void Menu::setChecked(bool value) {
    live().Checked = value;
    changed(platform::ControlChange::Value);
}

void Menu::userClick() {
    // The item and every menu above it must be enabled; all but the top-level menu (which may be
    // a hidden menu opened with PopupMenu) must be visible.
    for (Menu* item = this; item != nullptr; item = item->ParentMenu()) {
        const bool topLevel = item->ParentMenu() == nullptr;
        if (!item->live().Enabled || (!topLevel && !item->state().Visible)) {
            return;
        }
    }
    raiseClick();
}

Timer::Timer(Form* form, std::string name, Design design)
    : Control(form, std::move(name), std::move(design)),
      serial_(detail::model().nextTimerSerial++) {
    detail::model().timers[serial_] = this;
    if (Parent().IsLoaded()) {
        schedule();
    }
}

Timer::~Timer() {
    detail::model().timers.erase(serial_);
}

int32_t Timer::Interval() {
    return live().Interval;
}

void Timer::setInterval(int32_t value) {
    if (value < 0) {
        platform::raise(kInvalidPropertyValue, "Invalid property value");
    }
    live().Interval = value;
    schedule();
}

void Timer::enabledChanged() {
    schedule();
}

void Timer::formLoaded() {
    schedule();
}

void Timer::formUnloaded() {
    nextDue_ = -1;
}

void Timer::schedule() {
    const auto& now = state();
    if (now.Enabled && now.Interval > 0 && Parent().IsLoaded()) {
        nextDue_ = detail::nowMs() + now.Interval;
    } else {
        nextDue_ = -1;
    }
}

void Timer::fire() {
    // The next tick counts from this one; a loop that fell behind does not catch up in a burst.
    const int64_t current = detail::nowMs();
    nextDue_ += state().Interval;
    if (nextDue_ <= current) {
        nextDue_ = current + state().Interval;
    }
    std::function<void()> handler;
    if (array()) {
        if (array()->onTimer) {
            handler = [h = array()->onTimer, index = Index()] { h(index); };
        }
    } else {
        handler = onTimer;
    }
    if (!handler) {
        return;
    }
    const uint64_t serial = serial_;
    auto keepForm = Parent().weak_from_this().lock();
    running_ = true;
    try {
        handler();
    } catch (...) {
        if (detail::model().timers.count(serial) != 0) {
            running_ = false;
        }
        throw;
    }
    // The handler may have unloaded this element of its array.
    if (detail::model().timers.count(serial) != 0) {
        running_ = false;
    }
}

}  // namespace win
