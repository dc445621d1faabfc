#include "platform/ui/user_control.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/form.h"
#include "platform/ui/gdi.h"

namespace win {

int64_t PropertyNumber(const PropertyValue& value) {
    const auto* number = std::get_if<int64_t>(&value);
    return number ? *number : 0;
}

StdPicture PropertyPicture(const PropertyValue& value) {
    const auto* picture = std::get_if<StdPicture>(&value);
    return picture ? *picture : StdPicture();
}

bool SameProperty(const PropertyValue& a, const PropertyValue& b) {
    if (a.index() != b.index()) {
        return false;
    }
    if (const auto* number = std::get_if<int64_t>(&a)) {
        return *number == std::get<int64_t>(b);
    }
    return std::get<StdPicture>(a).Type() == vbPicTypeNone &&
           std::get<StdPicture>(b).Type() == vbPicTypeNone;
}

PropertyValue PropertyBag::ReadProperty(const std::string& name,
                                        const PropertyValue& defaultValue) const {
    const auto found = values_.find(name);
    return found == values_.end() ? defaultValue : found->second;
}

void PropertyBag::WriteProperty(const std::string& name, const PropertyValue& value,
                                const PropertyValue& defaultValue) {
    if (SameProperty(value, defaultValue)) {
        values_.erase(name);
    } else {
        values_[name] = value;
    }
}

namespace {
Design pixelsInside(Design design) {
    design.ScaleMode = vbPixels;
    return design;
}
}  // namespace

UserControl::UserControl(Form* host, std::string name, Design design,
                         std::optional<PropertyBag> stored)
    : PictureBox(host, std::move(name), pixelsInside(std::move(design))),
      stored_(std::move(stored)) {}

UserControl::~UserControl() {
    if (hDC_ != 0) {
        DeleteDC(hDC_);
    }
}

int16_t UserControl::BorderStyle() {
    return live().BorderStyle;
}

void UserControl::setBorderStyle(int16_t value) {
    live().BorderStyle = value;
    changed(platform::ControlChange::Style);
}

int16_t UserControl::Appearance() {
    live();
    return appearance_;
}

void UserControl::setAppearance(int16_t value) {
    live();
    appearance_ = value;
    changed(platform::ControlChange::Style);
}

int32_t UserControl::hDC() {
    const auto& state = live();
    if (hDC_ == 0) {
        const int16_t outer = Parent().ScaleMode();
        const auto width =
            static_cast<int32_t>(std::lround(Parent().ScaleX(state.Width, outer, vbPixels)));
        const auto height =
            static_cast<int32_t>(std::lround(Parent().ScaleY(state.Height, outer, vbPixels)));
        hDC_ = CreateSurfaceDC(std::max(width, 1), std::max(height, 1));
    }
    return hDC_;
}

void UserControl::setWidth(float value) {
    Control::setWidth(value);
    UserControl_Resize();
}

void UserControl::setHeight(float value) {
    Control::setHeight(value);
    UserControl_Resize();
}

void UserControl::Move(float left, float top, float width, float height) {
    Control::Move(left, top, width, height);
    UserControl_Resize();
}

PropertyBag UserControl::SaveProperties() {
    live();
    PropertyBag bag;
    UserControl_WriteProperties(bag);
    return bag;
}

void UserControl::formLoaded() {
    PictureBox::formLoaded();
    changed_.clear();
    appearance_ = 1;
    newInstance();
    UserControl_Initialize();
    if (stored_) {
        PropertyBag bag = *stored_;
        UserControl_ReadProperties(bag);
    } else {
        UserControl_InitProperties();
    }
    UserControl_Resize();
}

void UserControl::formUnloaded() {
    UserControl_Terminate();
    PictureBox::formUnloaded();
    if (hDC_ != 0) {
        DeleteDC(hDC_);
        hDC_ = 0;
    }
}

}  // namespace win
