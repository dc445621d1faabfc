#include "platform/desktop/user_input.h"

#include <gtk/gtk.h>

namespace platform {

UserInput::~UserInput() {
    if (lastPress_ != nullptr) {
        gdk_event_free(lastPress_);
    }
}

void UserInput::rememberPress(const GdkEvent* press) {
    if (lastPress_ != nullptr) {
        gdk_event_free(lastPress_);
    }
    lastPress_ = gdk_event_copy(press);
}

}  // namespace platform
