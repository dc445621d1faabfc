#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/ui/control.h"

namespace win {

class Label : public Control {
  public:
    platform::ControlKind Kind() const override { return platform::ControlKind::Label; }
    using Control::Control;
    std::string Caption();
    void setCaption(const std::string& value);
};

class CommandButton : public Control {
  public:
    platform::ControlKind Kind() const override { return platform::ControlKind::CommandButton; }
    using Control::Control;
    std::string Caption();
    void setCaption(const std::string& value);
};

class TextBox : public Control {
  public:
    platform::ControlKind Kind() const override { return platform::ControlKind::TextBox; }
    using Control::Control;
    std::string Text();
    // Raises Change when the text differs from what it was.
    void setText(const std::string& value);
    bool Locked();
    void setLocked(bool value);

    std::function<void()> onChange;
};

enum CheckBoxValue : int16_t { vbUnchecked = 0, vbChecked = 1, vbGrayed = 2 };

class CheckBox : public Control {
  public:
    platform::ControlKind Kind() const override { return platform::ControlKind::CheckBox; }
    using Control::Control;
    std::string Caption();
    void setCaption(const std::string& value);
    int16_t Value();
    // Raises Click only when the value changes (error 380 outside 0..2).
    void setValue(int16_t value);
    // A user click ticks an unticked box and clears a ticked or grayed one.
    void userClick() override;
};

class ListBox : public Control {
  public:
    platform::ControlKind Kind() const override { return platform::ControlKind::ListBox; }
    using Control::Control;
    // Adds at index (-1: at the end); error 5 for an index beyond the end.
    void AddItem(const std::string& item, int16_t index = -1);
    void RemoveItem(int16_t index);
    void Clear();
    // The entry at i; "" past the end, error 381 below 0.
    std::string List(int16_t i);
    void setList(int16_t i, const std::string& value);
    int16_t ListCount();
    int16_t ListIndex();
    // -1 selects nothing; raises Click when the selection changes (error 380 out of range).
    void setListIndex(int16_t value);
    std::string Text();
};

class Image : public Control {
  public:
    platform::ControlKind Kind() const override { return platform::ControlKind::Image; }
    using Control::Control;
    bool Stretch();
    void setStretch(bool value);
};

// A picture box: also a container whose inner coordinates use its own scale mode.
class PictureBox : public Control {
  public:
    platform::ControlKind Kind() const override { return platform::ControlKind::PictureBox; }
    using Control::Control;
    int16_t ScaleMode();
    void setScaleMode(int16_t value);
};

class Line : public Control {
  public:
    platform::ControlKind Kind() const override { return platform::ControlKind::Line; }
    using Control::Control;
    float X1();
    float Y1();
    float X2();
    float Y2();
    void setX1(float value);
    void setY1(float value);
    void setX2(float value);
    void setY2(float value);
};

// A progress bar: Min <= Value <= Max, else error 380.
class ProgressBar : public Control {
  public:
    platform::ControlKind Kind() const override { return platform::ControlKind::ProgressBar; }
    using Control::Control;
    float Min();
    float Max();
    float Value();
    void setMin(float value);
    void setMax(float value);
    void setValue(float value);
};

// A menu item; Container in its design names the menu it belongs to (none: a top-level menu).
class Menu : public Control {
  public:
    platform::ControlKind Kind() const override { return platform::ControlKind::Menu; }
    using Control::Control;
    std::string Caption();
    void setCaption(const std::string& value);
    bool Checked();
    void setChecked(bool value);
    Menu* ParentMenu() const { return static_cast<Menu*>(Container()); }
    // A choice of the item by the user: raises Click when it and its menus are enabled.
    void userClick() override;
};

// A timer: while Enabled with an Interval above 0 on a loaded form, its Timer event fires every
// Interval ms. Switching on a running timer leaves its count alone; a new Interval restarts it.
class Timer : public Control {
  public:
    platform::ControlKind Kind() const override { return platform::ControlKind::Timer; }
    Timer(Form* form, std::string name, Design design = {});
    ~Timer() override;

    int32_t Interval();
    void setInterval(int32_t value);

    std::function<void()> onTimer;

    // For the message loop.
    uint64_t serial() const { return serial_; }
    int64_t nextDueMs() const { return nextDue_; }
    bool running() const { return running_; }
    void fire();

  protected:
    void formLoaded() override;
    void formUnloaded() override;
    void enabledChanged() override;

  private:
    void schedule();

    uint64_t serial_;
    int64_t nextDue_ = -1;  // -1: not scheduled
    bool running_ = false;
};

}  // namespace win
