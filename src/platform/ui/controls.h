#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/ui/control.h"
#include "platform/ui/picture.h"

namespace win {

class Label : public Control {
  public:
    platform::ControlKind Kind() const override { return platform::ControlKind::Label; }
    using Control::Control;
    std::string Caption();
    void setCaption(const std::string& value);
    bool AutoSize();
    void setAutoSize(bool value);
    bool WordWrap();
    void setWordWrap(bool value);
    // 0 transparent, 1 opaque.
    int16_t BackStyle();
    void setBackStyle(int16_t value);

  private:
    // With AutoSize the label takes the size of its text; with WordWrap too it keeps its width.
    void fit();
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

// A control that shows a picture: the one it was designed with each time its window loads.
class PictureControl : public Control {
  public:
    using Control::Control;
    StdPicture Picture();
    void setPicture(const StdPicture& value);
    // The picture shown from every load on (stored with the window); does not load the window.
    void setDesignPicture(const StdPicture& value) { designPicture_ = value; }

  protected:
    void formLoaded() override;
    void formUnloaded() override;

  private:
    void show(const StdPicture& value);

    StdPicture designPicture_;
    StdPicture picture_;
};

class Image : public PictureControl {
  public:
    platform::ControlKind Kind() const override { return platform::ControlKind::Image; }
    using PictureControl::PictureControl;
    bool Stretch();
    void setStretch(bool value);
};

// A picture box: also a container whose inner coordinates use its own scale mode.
class PictureBox : public PictureControl {
  public:
    platform::ControlKind Kind() const override { return platform::ControlKind::PictureBox; }
    using PictureControl::PictureControl;
    int16_t ScaleMode();
    void setScaleMode(int16_t value);
    // A device context over the box's surface, made on first use and kept until the form unloads.
    int32_t hDC();

  protected:
    void formUnloaded() override;

  private:
    int32_t hDC_ = 0;
};

// The common dialog control: the file-open dialog on request. It is never drawn.
class CommonDialog : public Control {
  public:
    platform::ControlKind Kind() const override { return platform::ControlKind::CommonDialog; }
    using Control::Control;
    // "Description|pattern;pattern|...".
    std::string Filter() const { return filter_; }
    void setFilter(const std::string& value) { filter_ = value; }
    std::string InitDir() const { return initDir_; }
    void setInitDir(const std::string& value) { initDir_ = value; }
    std::string DialogTitle() const { return title_; }
    void setDialogTitle(const std::string& value) { title_ = value; }
    // The chosen file's path after ShowOpen; "" when the member cancelled.
    std::string FileName() const { return fileName_; }
    void setFileName(const std::string& value) { fileName_ = value; }
    // Shows the file-open dialog over the window and waits for the member (timers run meanwhile,
    // other input waits). A cancel raises no error: it leaves FileName empty.
    void ShowOpen();

  protected:
    void formUnloaded() override;

  private:
    std::string filter_;
    std::string initDir_;
    std::string title_;
    std::string fileName_;
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
