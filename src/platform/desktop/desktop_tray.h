#pragma once

#include <gtk/gtk.h>

#include <map>
#include <utility>

#include "platform/desktop/user_input.h"
#include "platform/runtime/backend.h"

typedef struct _NotifyNotification NotifyNotification;

namespace platform {

// Tray icons in an XEmbed tray host (the toolkit's status icon), their balloons as desktop
// notifications, and pop-up menus. A press or release on an icon becomes the icon's mouse
// message (WM_LBUTTONDOWN ... WM_RBUTTONUP) for the model, which opens its menu itself. With no
// tray host or no notification daemon the program goes on and says once on stderr what is missing.
class DesktopTray {
  public:
    explicit DesktopTray(UserInput& input);
    ~DesktopTray();
    DesktopTray(const DesktopTray&) = delete;
    DesktopTray& operator=(const DesktopTray&) = delete;

    void trayChanged(const TrayNotice& icon, TrayChange change);
    // Opens the menu at the pointer; a choice becomes a menu choice for the model.
    void menuOpened(const MenuView& menu);

    // For tests: the icon's status icon, and the open menu (null when none).
    GtkStatusIcon* statusIcon(int32_t hWnd, uint32_t uID) const;
    GtkWidget* openMenu() const { return menu_; }
    // Delivers a button event on the icon as the tray host would.
    void press(int32_t hWnd, uint32_t uID, unsigned button, bool release, bool doubleClick);

  private:
    struct Icon {
        GtkStatusIcon* status = nullptr;
        NotifyNotification* balloon = nullptr;
        std::vector<uint8_t> iconFile;
    };
    using Key = std::pair<int32_t, uint32_t>;

    // Hides the icon and closes its balloon; the caller forgets it.
    static void drop(Icon& icon);
    void update(Icon& icon, const TrayNotice& notice);
    void showBalloon(Icon& icon, const TrayNotice& notice);
    void checkEmbedded();

    UserInput& input_;
    std::map<Key, Icon> icons_;
    GtkWidget* menu_ = nullptr;
    bool notifyReady_ = false;
    bool toldNoDaemon_ = false;
    bool toldNoTray_ = false;
    unsigned embedCheck_ = 0;
};

}  // namespace platform
