#include "platform/ui/control.h"

#include "platform/runtime/errors.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/model.h"

namespace win {

namespace {
constexpr int kNoSuchElement = 340;
constexpr int kAlreadyLoaded = 360;
constexpr int kDesignElement = 362;
}  // namespace

Control::Control(Form* form, std::string name, Design design)
    : form_(form),
      id_(detail::nextControlId()),
      name_(std::move(name)),
      design_(std::move(design)),
      now_(design_) {
    form_->registerControl(this);
}

Control::~Control() {
    form_->unregisterControl(this);
}

Design& Control::live() {
    form_->ensureLoaded();
    return now_;
}

void Control::changed(platform::ControlChange what) {
    if (!form_->IsLoaded()) {
        return;
    }
    const Control* container = now_.Container;
    const platform::ControlView view{
        form_->hWnd_,         id_, Kind(), name_, index_, container ? container->id_ : 0,
        containerScaleMode(), now_};
    platform::backend().controlChanged(view, what);
}

int16_t Control::containerScaleMode() const {
    const auto* box = dynamic_cast<const PictureBox*>(now_.Container);
    return box ? box->state().ScaleMode : form_->now_.ScaleMode;
}

void Control::resetToDesign() {
    now_ = design_;
}

void Control::setDesignMouseIcon(const StdPicture& value) {
    designMouseIcon_ = value;
    design_.MouseIcon = now_.MouseIcon = designMouseIcon_.Handle();
}

std::function<void()> Control::onClickHandler() const {
    if (array_) {
        if (!array_->onClick) {
            return {};
        }
        auto handler = array_->onClick;
        const int16_t index = index_;
        return [handler, index] { handler(index); };
    }
    return onClick;
}

void Control::raiseClick() {
    if (auto handler = onClickHandler()) {
        handler();
    }
}

void Control::userClick() {
    if (live().Enabled && now_.Visible) {
        raiseClick();
    }
}

float Control::Left() {
    return live().Left;
}

float Control::Top() {
    return live().Top;
}

float Control::Width() {
    return live().Width;
}

float Control::Height() {
    return live().Height;
}

void Control::setLeft(float value) {
    live().Left = value;
    changed(platform::ControlChange::Geometry);
}

void Control::setTop(float value) {
    live().Top = value;
    changed(platform::ControlChange::Geometry);
}

void Control::setWidth(float value) {
    live().Width = value;
    changed(platform::ControlChange::Geometry);
}

void Control::setHeight(float value) {
    live().Height = value;
    changed(platform::ControlChange::Geometry);
}

void Control::Move(float left, float top, float width, float height) {
    auto& state = live();
    state.Left = left;
    state.Top = top;
    state.Width = width;
    state.Height = height;
    changed(platform::ControlChange::Geometry);
}

bool Control::Visible() {
    return live().Visible;
}

void Control::setVisible(bool value) {
    live().Visible = value;
    changed(platform::ControlChange::Visible);
}

bool Control::Enabled() {
    return live().Enabled;
}

void Control::setEnabled(bool value) {
    auto& state = live();
    if (state.Enabled == value) {
        return;
    }
    state.Enabled = value;
    enabledChanged();
    changed(platform::ControlChange::Enabled);
}

uint32_t Control::BackColor() {
    return live().BackColor;
}

void Control::setBackColor(uint32_t value) {
    live().BackColor = value;
    changed(platform::ControlChange::Style);
}

int16_t Control::MousePointer() {
    return live().MousePointer;
}

void Control::setMousePointer(int16_t value) {
    constexpr int16_t kDefault = 0;
    constexpr int16_t kCustom = 99;
    if (value != kDefault && value != kCustom) {
        platform::raise(380, "Invalid property value");
    }
    live().MousePointer = value;
    changed(platform::ControlChange::Style);
}

StdPicture Control::MouseIcon() {
    live();
    return designMouseIcon_;
}

std::string Control::ToolTipText() {
    return live().ToolTipText;
}

void Control::setToolTipText(const std::string& value) {
    live().ToolTipText = value;
    changed(platform::ControlChange::ToolTip);
}

std::string Control::Tag() {
    return live().Tag;
}

void Control::setTag(const std::string& value) {
    live().Tag = value;
}

ControlArrayBase::ControlArrayBase(Form* form, std::string name)
    : form_(form), name_(std::move(name)) {
    form_->registerArray(this);
}

int16_t ControlArrayBase::LBound() const {
    return elements_.empty() ? 0 : elements_.begin()->first;
}

int16_t ControlArrayBase::UBound() const {
    return elements_.empty() ? -1 : elements_.rbegin()->first;
}

std::vector<int16_t> ControlArrayBase::Indexes() const {
    std::vector<int16_t> indexes;
    for (const auto& [index, element] : elements_) {
        indexes.push_back(index);
    }
    return indexes;
}

Control& ControlArrayBase::element(int16_t index) {
    form_->ensureLoaded();
    auto found = elements_.find(index);
    if (found == elements_.end()) {
        platform::raise(kNoSuchElement,
                        "Control array element '" + std::to_string(index) + "' doesn't exist");
    }
    return *found->second;
}

void ControlArrayBase::addDesignElement(int16_t index, std::unique_ptr<Control> control) {
    control->array_ = this;
    control->index_ = index;
    designMade_[index] = true;
    elements_[index] = std::move(control);
}

void ControlArrayBase::Load(int16_t index) {
    form_->ensureLoaded();
    if (elements_.count(index) != 0) {
        platform::raise(kAlreadyLoaded, "Object already loaded");
    }
    if (elements_.empty()) {
        platform::raise(kNoSuchElement, "Control array element '0' doesn't exist");
    }
    Control& lowest = *elements_.begin()->second;
    Design copy = lowest.now_;
    copy.Visible = false;
    auto control = make(name_, copy);
    control->array_ = this;
    control->index_ = index;
    Control& made = *control;
    elements_[index] = std::move(control);
    designMade_[index] = false;
    made.formLoaded();
    made.changed(platform::ControlChange::Created);
}

void ControlArrayBase::Unload(int16_t index) {
    form_->ensureLoaded();
    auto found = elements_.find(index);
    if (found == elements_.end()) {
        platform::raise(kNoSuchElement,
                        "Control array element '" + std::to_string(index) + "' doesn't exist");
    }
    if (designMade_[index]) {
        platform::raise(kDesignElement, "Can't unload controls created at design time");
    }
    auto control = std::move(found->second);
    control->changed(platform::ControlChange::Destroyed);
    elements_.erase(found);
    designMade_.erase(index);
    control->formUnloaded();
}

void ControlArrayBase::unloadRuntimeElements() {
    for (auto it = elements_.begin(); it != elements_.end();) {
        if (!designMade_[it->first]) {
            it->second->changed(platform::ControlChange::Destroyed);
            designMade_.erase(it->first);
            it = elements_.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace win
