#pragma once

#include <gtk/gtk.h>

#include <map>

#include "platform/desktop/user_input.h"
#include "platform/runtime/backend.h"

namespace platform {

// Message boxes and the file-open dialog as the toolkit's dialogs. They are not run modally here:
// the model keeps its loop (timers go on) and the answer comes back as an input event when the
// user presses a button.
class DesktopDialogs {
  public:
    explicit DesktopDialogs(UserInput& input);
    ~DesktopDialogs();
    DesktopDialogs(const DesktopDialogs&) = delete;
    DesktopDialogs& operator=(const DesktopDialogs&) = delete;

    void openMessageBox(const MessageBoxRequest& box);
    // owner: the owner window's toolkit window, or null.
    void openFileDialog(const FileDialogRequest& dialog, GtkWidget* owner);

    // For tests: the open dialogs by request id.
    const std::map<int32_t, GtkWidget*>& open() const { return open_; }

  private:
    void answered(int32_t id, InputEvent answer);

    UserInput& input_;
    std::map<int32_t, GtkWidget*> open_;
};

// The buttons a message box style shows, as (label, answer) in order, and the answer its close box
// gives (0: it has none).
struct BoxButton {
    const char* label;
    int answer;
};
std::vector<BoxButton> boxButtons(int style);
int boxCloseAnswer(int style);

}  // namespace platform
