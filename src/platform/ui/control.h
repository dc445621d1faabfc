#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/backend.h"
#include "platform/runtime/control_design.h"
#include "platform/ui/picture.h"

namespace win {

class Form;
class Control;
class ControlArrayBase;

// A control on a form. Every property access first loads the form when it is not loaded, as a
// reference to a control does. Properties read as Name() and are written with setName(value).
class Control {
  public:
    Control(Form* form, std::string name, Design design = {});
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    // Unique in the process for the control's life: how input and renderers name it.
    int32_t Id() const { return id_; }
    virtual platform::ControlKind Kind() const = 0;
    // The element's index in its control array; -1 for a control that is not in one.
    int16_t Index() const { return index_; }
    Form& Parent() const { return *form_; }
    Control* Container() const { return design_.Container; }

    float Left();
    float Top();
    float Width();
    float Height();
    void setLeft(float value);
    void setTop(float value);
    void setWidth(float value);
    void setHeight(float value);
    void Move(float left, float top, float width, float height);
    bool Visible();
    void setVisible(bool value);
    bool Enabled();
    void setEnabled(bool value);
    std::string ToolTipText();
    void setToolTipText(const std::string& value);
    std::string Tag();
    void setTag(const std::string& value);
    uint32_t BackColor();
    void setBackColor(uint32_t value);
    int16_t MousePointer();
    // 0 (the default pointer) or 99 (the MouseIcon); run-time error 380 for another value.
    void setMousePointer(int16_t value);
    StdPicture MouseIcon();
    // The pointer shown with MousePointer 99 from every load on (stored with the window).
    void setDesignMouseIcon(const StdPicture& value);

    // The state as it stands, without loading the form (rendering backends and tests).
    const Design& state() const { return now_; }

    // A user click on the control, as the input of a window delivers it.
    virtual void userClick();
    // What the member did in a page this control shows (platform::input::Page*); false when the
    // control shows no page.
    virtual bool pageAction(const platform::InputEvent& /*event*/) { return false; }

  protected:
    // The live state, after loading the form when needed; write through it, then call changed().
    Design& live();
    // Tells the backend what changed, while the window is loaded.
    void changed(platform::ControlChange what);
    // The units of the control's geometry: its container's scale mode.
    int16_t containerScaleMode() const;
    // Raises the control's Click event (the array's, with this element's index, in an array).
    void raiseClick();
    // The form has loaded or unloaded: controls go back to their design.
    virtual void formLoaded() {}
    virtual void formUnloaded() {}
    virtual void enabledChanged() {}

    std::function<void()> onClickHandler() const;
    ControlArrayBase* array() const { return array_; }

  public:
    // Handler of the Click event of a control that is not in an array.
    std::function<void()> onClick;

  private:
    friend class Form;
    friend class ControlArrayBase;

    void resetToDesign();

    StdPicture designMouseIcon_;
    Form* form_;
    int32_t id_;
    std::string name_;
    Design design_;
    Design now_;
    ControlArrayBase* array_ = nullptr;
    int16_t index_ = -1;
};

// An indexed set of controls of one kind sharing one name and one set of event handlers. Elements
// made at design time stay; elements made with Load at run time go again with Unload or when the
// form unloads.
class ControlArrayBase {
  public:
    ControlArrayBase(Form* form, std::string name);
    virtual ~ControlArrayBase() = default;
    ControlArrayBase(const ControlArrayBase&) = delete;
    ControlArrayBase& operator=(const ControlArrayBase&) = delete;

    const std::string& Name() const { return name_; }
    int16_t Count() const { return static_cast<int16_t>(elements_.size()); }
    int16_t LBound() const;
    int16_t UBound() const;
    bool Exists(int16_t index) const { return elements_.count(index) != 0; }
    // The element; run-time error 340 when there is none at that index.
    Control& element(int16_t index);
    std::vector<int16_t> Indexes() const;

    // A new element copying the lowest element's properties, hidden (error 360 if it exists).
    void Load(int16_t index);
    // Removes a run-time element (error 340 if absent, 362 for a design element).
    void Unload(int16_t index);

    // Event handlers of the elements: each gets the element's index.
    std::function<void(int16_t Index)> onClick;
    std::function<void(int16_t Index)> onTimer;
    std::function<void(int16_t Index)> onChange;

  protected:
    Form* form() const { return form_; }
    void addDesignElement(int16_t index, std::unique_ptr<Control> control);
    virtual std::unique_ptr<Control> make(const std::string& name, const Design& design) = 0;

  private:
    friend class Form;
    void unloadRuntimeElements();

    Form* form_;
    std::string name_;
    std::map<int16_t, std::unique_ptr<Control>> elements_;
    std::map<int16_t, bool> designMade_;
};

template <class T>
class ControlArray final : public ControlArrayBase {
  public:
    // Design elements by index.
    ControlArray(Form* form, std::string name, std::vector<std::pair<int16_t, Design>> designs)
        : ControlArrayBase(form, std::move(name)) {
        for (auto& [index, design] : designs) {
            addDesignElement(index, make(Name(), design));
        }
    }

    T& operator[](int16_t index) { return static_cast<T&>(element(index)); }

  protected:
    std::unique_ptr<Control> make(const std::string& name, const Design& design) override {
        return std::make_unique<T>(form(), name, design);
    }
};

}  // namespace win
