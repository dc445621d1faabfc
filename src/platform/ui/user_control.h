#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/picture.h"

namespace win {

// A stored property: a number (integers and colours) or a picture.
using PropertyValue = std::variant<int64_t, StdPicture>;

// The number a value holds; 0 for a picture.
int64_t PropertyNumber(const PropertyValue& value);
// The picture a value holds; the empty picture for a number.
StdPicture PropertyPicture(const PropertyValue& value);
// Numbers are equal by value; pictures only when both are empty, so a picture is always stored.
bool SameProperty(const PropertyValue& a, const PropertyValue& b);

// The stored design of a user control: named values. A value equal to its default is not stored.
class PropertyBag {
  public:
    PropertyBag() = default;
    PropertyBag(std::initializer_list<std::pair<const std::string, PropertyValue>> values)
        : values_(values) {}

    // The stored value, or defaultValue when the design holds none under that name.
    PropertyValue ReadProperty(const std::string& name, const PropertyValue& defaultValue) const;
    // Stores value; a value equal to defaultValue removes the name instead.
    void WriteProperty(const std::string& name, const PropertyValue& value,
                       const PropertyValue& defaultValue);

    bool Contains(const std::string& name) const { return values_.count(name) != 0; }
    const std::map<std::string, PropertyValue>& values() const { return values_; }

  private:
    std::map<std::string, PropertyValue> values_;
};

// A user control placed on a host window: its own surface is a picture box measuring its children
// in pixels; its constituent controls are members of the subclass made with the host form and
// `this` as their container. Each time the host loads, before the host's Form_Load, a fresh
// instance is made: UserControl_Initialize, then UserControl_ReadProperties with the stored design
// (or UserControl_InitProperties when there is none), then UserControl_Resize. When the host
// unloads, UserControl_Terminate runs; the host has already removed the run-time elements of its
// control arrays by then.
class UserControl : public PictureBox {
  public:
    // design: the position on the host in its units; stored: the stored design, none for a new
    // instance.
    UserControl(Form* host, std::string name, Design design,
                std::optional<PropertyBag> stored = std::nullopt);
    ~UserControl() override;

    // The surface's border style (0 none, 1 fixed single) and appearance (0 flat, 1 3D).
    int16_t BorderStyle();
    void setBorderStyle(int16_t value);
    int16_t Appearance();
    void setAppearance(int16_t value);
    // A device context over the surface, made on first use and kept until the host unloads.
    int32_t hDC();

    // Resizing the control on its host raises UserControl_Resize.
    void setWidth(float value);
    void setHeight(float value);
    void Move(float left, float top, float width, float height);

    // What UserControl_WriteProperties stores now: the host saving its design.
    PropertyBag SaveProperties();
    // The names given to PropertyChanged since this instance was made, in order.
    const std::vector<std::string>& ChangedProperties() const { return changed_; }

  protected:
    // Tells the host that a stored property changed.
    void PropertyChanged(const std::string& name) { changed_.push_back(name); }

    // A fresh instance: the subclass's fields go back to what a new object holds.
    virtual void newInstance() {}
    virtual void UserControl_Initialize() {}
    virtual void UserControl_InitProperties() {}
    virtual void UserControl_ReadProperties(PropertyBag& /*PropBag*/) {}
    virtual void UserControl_WriteProperties(PropertyBag& /*PropBag*/) {}
    virtual void UserControl_Resize() {}
    virtual void UserControl_Terminate() {}

    void formLoaded() override;
    void formUnloaded() override;

  private:
    std::optional<PropertyBag> stored_;
    std::vector<std::string> changed_;
    int16_t appearance_ = 1;
    int32_t hDC_ = 0;
};

}  // namespace win
