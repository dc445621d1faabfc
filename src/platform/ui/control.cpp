#include "platform/ui/control.h"

#include "platform/runtime/errors.h"
#include "platform/ui/form.h"

namespace win {

namespace {
constexpr int kNoSuchElement = 340;
constexpr int kAlreadyLoaded = 360;
constexpr int kDesignElement = 362;
}  // namespace

Control::Control(Form* form, std::string name, Design design)
    : form_(form), name_(std::move(name)), design_(std::move(design)), now_(design_) {
    form_->registerControl(this);
}

Control::~Control() {
    form_->unregisterControl(this);
}

Design& Control::live() {
    form_->ensureLoaded();
    return now_;
}

void Control::changed() {
    if (form_->IsLoaded()) {
        platform::backend().controlChanged(form_->hWnd_, name_, index_);
    }
}

void Control::resetToDesign() {
    now_ = design_;
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
    changed();
}

void Control::setTop(float value) {
    live().Top = value;
    changed();
}

void Control::setWidth(float value) {
    live().Width = value;
    changed();
}

void Control::setHeight(float value) {
    live().Height = value;
    changed();
}

void Control::Move(float left, float top, float width, float height) {
    auto& state = live();
    state.Left = left;
    state.Top = top;
    state.Width = width;
    state.Height = height;
    changed();
}

bool Control::Visible() {
    return live().Visible;
}

void Control::setVisible(bool value) {
    live().Visible = value;
    changed();
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
    changed();
}

std::string Control::ToolTipText() {
    return live().ToolTipText;
}

void Control::setToolTipText(const std::string& value) {
    live().ToolTipText = value;
    changed();
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
    made.changed();
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
    elements_.erase(found);
    designMade_.erase(index);
    control->formUnloaded();
}

void ControlArrayBase::unloadRuntimeElements() {
    for (auto it = elements_.begin(); it != elements_.end();) {
        if (!designMade_[it->first]) {
            designMade_.erase(it->first);
            it = elements_.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace win
