#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "platform/runtime/backend.h"
#include "platform/ui/control.h"
#include "platform/ui/picture.h"

namespace win {

class Menu;

// Why a window unloads, as Form_QueryUnload receives it.
enum QueryUnloadConstants : int16_t {
    vbFormControlMenu = 0,  // the close box or the window menu
    vbFormCode = 1,         // Unload in code
    vbAppWindows = 2,       // the session is ending
    vbAppTaskManager = 3,
    vbFormMDIForm = 4,
    vbFormOwner = 5,
};

enum FormBorderStyleConstants : int16_t {
    vbBSNone = 0,
    vbFixedSingle = 1,
    vbSizable = 2,
    vbFixedDialog = 3,
    vbFixedToolWindow = 4,
    vbSizableToolWindow = 5,
};

// The design of a window; Left/Top/Width/Height are its outer edges in twips.
struct FormDesign {
    std::string Caption{};
    float Left = 0;
    float Top = 0;
    float Width = 4800;
    float Height = 3600;
    int16_t BorderStyle = vbSizable;
    int16_t ScaleMode = vbTwips;
    bool ShowInTaskbar = true;
};

// Twips in one unit of a scale mode (vbTwips, vbPixels, vbPoints...) on one axis; run-time error 5
// for a mode there is none of.
double twipsPerUnit(int16_t mode, float twipsPerPixel, bool horizontal);

// A window. Subclasses declare controls as members (constructed with `this`) and override the
// Form_ handlers. Forms are made with Default<F>() or New<F>() only. The first reference to a
// property, a control or a method of a window that is not loaded loads it (Form_Load), without
// showing it.
class Form : public std::enable_shared_from_this<Form> {
  public:
    Form(std::string name, FormDesign design = {});
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& Name() const { return name_; }
    bool IsLoaded() const { return state_ != State::Unloaded; }

    void Load();
    void Show();
    void Hide();
    // Unloads with unload mode vbFormCode.
    void Unload() { Unload(vbFormCode); }
    void Unload(int16_t unloadMode);
    // The close box: unload mode vbFormControlMenu.
    void CloseBox() { Unload(vbFormControlMenu); }

    int32_t hWnd();
    std::string Caption();
    void setCaption(const std::string& value);
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
    int16_t BorderStyle();
    void setBorderStyle(int16_t value);
    int16_t ScaleMode();
    void setScaleMode(int16_t value);
    // The inner area in the window's scale units.
    float ScaleWidth();
    float ScaleHeight();
    // Converts a length between scale modes (vbTwips, vbPixels, vbPoints) along X or Y.
    float ScaleX(float value, int16_t from, int16_t to);
    float ScaleY(float value, int16_t from, int16_t to);
    bool TopMost();
    // The background picture, drawn at the window's top-left corner.
    StdPicture Picture();
    void setPicture(const StdPicture& value);
    // The picture the window shows from every load on (stored with it); does not load it.
    void setDesignPicture(const StdPicture& value) { designPicture_ = value; }
    // A device context over the window's surface, made on first use and kept until it unloads.
    int32_t hDC();

    // Opens a menu as a pop-up menu at (x, y) in scale units (the mouse position when omitted).
    void PopupMenu(Menu& menu, int32_t flags = 0);
    void PopupMenu(Menu& menu, int32_t flags, float x, float y);
    // The menu opened by PopupMenu and not yet chosen from or closed; null when none.
    Menu* OpenPopupMenu() const { return openPopup_; }
    void closePopupMenu() { openPopup_ = nullptr; }

    // The window's state as the model holds it, without loading (backends and tests).
    const std::vector<Control*>& controls() const { return controls_; }
    Control* findControl(const std::string& name, int16_t index = -1) const;
    platform::WindowView view() const;

    // Platform side: a mouse move over the window, x and y in pixels (tray callbacks arrive so).
    void mouseMoveFromPlatform(int16_t button, int16_t shift, float xPixels, float yPixels);
    // Platform side: geometry, visibility and z-order (used by SetWindowPos).
    void setTopMost(bool value);
    void bringToTop();
    // Platform side: the window takes the region (0: none) and deletes the one it had.
    void setRegion(int32_t hRgn);

  protected:
    virtual void Form_Load() {}
    virtual void Form_QueryUnload(int16_t& /*Cancel*/, int16_t /*UnloadMode*/) {}
    virtual void Form_Unload(int16_t& /*Cancel*/) {}
    virtual void Form_MouseMove(int16_t /*Button*/, int16_t /*Shift*/, float /*X*/, float /*Y*/) {}
    // The window's size changed (also when it is first shown after loading).
    virtual void Form_Resize() {}

  private:
    friend class Control;
    friend class ControlArrayBase;
    template <class F>
    friend F& Default();
    template <class F>
    friend std::shared_ptr<F> New();

    enum class State { Unloaded, Loading, Loaded };

    void ensureLoaded();
    void registerControl(Control* control);
    void unregisterControl(Control* control);
    void registerArray(ControlArrayBase* array);
    void notify(platform::WindowChange change);
    void geometryChanged(bool moved, bool resized);
    float frameWidthPx() const;
    float captionHeightPx() const;

    std::string name_;
    FormDesign design_;
    FormDesign now_;
    State state_ = State::Unloaded;
    bool constructed_ = false;
    bool unloading_ = false;
    bool visible_ = false;
    bool shownSinceLoad_ = false;
    bool topMost_ = false;
    int32_t hWnd_ = 0;
    float mouseX_ = 0;
    float mouseY_ = 0;
    Menu* openPopup_ = nullptr;
    StdPicture designPicture_;
    StdPicture picture_;
    int32_t hDC_ = 0;
    int32_t region_ = 0;
    std::vector<Control*> controls_;
    std::vector<ControlArrayBase*> arrays_;
};

namespace detail {
std::shared_ptr<Form>& defaultSlot(std::type_index type);
}

// The program-wide default instance of a window: made on first use; any reference to its
// properties or controls loads it.
template <class F>
F& Default() {
    auto& slot = detail::defaultSlot(std::type_index(typeid(F)));
    if (!slot) {
        auto form = std::make_shared<F>();
        form->constructed_ = true;
        slot = form;
    }
    return static_cast<F&>(*slot);
}

// A separate instance (a pop-up): lives while it is loaded or referenced.
template <class F>
std::shared_ptr<F> New() {
    auto form = std::make_shared<F>();
    form->constructed_ = true;
    return form;
}

// Unloads a window (vbFormCode); a window that is not loaded stays as it is.
inline void Unload(Form& form) {
    form.Unload(vbFormCode);
}

// The loaded window with this handle; null for a handle that names no window.
Form* FindWindow(int32_t hWnd);
// Loaded windows in load order.
std::vector<std::shared_ptr<Form>> Forms();
// The number of loaded windows.
int FormCount();

}  // namespace win
