#include "platform/desktop/desktop_dialogs.h"

#include <filesystem>
#include <string>

#include "platform/desktop/toolkit_text.h"
#include "platform/ui/msgbox.h"

namespace platform {

namespace {

GtkMessageType iconOf(int style) {
    switch (style & 0x70) {
        case win::vbCritical:
            return GTK_MESSAGE_ERROR;
        case win::vbQuestion:
            return GTK_MESSAGE_QUESTION;
        case win::vbExclamation:
            return GTK_MESSAGE_WARNING;
        case win::vbInformation:
            return GTK_MESSAGE_INFO;
        default:
            return GTK_MESSAGE_OTHER;
    }
}

// "Description|pattern;pattern|..." as the dialog's filters.
void addFilters(GtkFileChooser* chooser, const std::string& filter) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= filter.size() && !filter.empty()) {
        const size_t bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == std::string::npos ? bar : bar - start));
        if (bar == std::string::npos) {
            break;
        }
        start = bar + 1;
    }
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        GtkFileFilter* each = gtk_file_filter_new();
        gtk_file_filter_set_name(each, toolkitText(parts[i]).c_str());
        size_t from = 0;
        const std::string& patterns = parts[i + 1];
        while (from <= patterns.size()) {
            const size_t semicolon = patterns.find(';', from);
            const std::string pattern = patterns.substr(
                from, semicolon == std::string::npos ? semicolon : semicolon - from);
            if (!pattern.empty()) {
                gtk_file_filter_add_pattern(each, pattern.c_str());
            }
            if (semicolon == std::string::npos) {
                break;
            }
            from = semicolon + 1;
        }
        gtk_file_chooser_add_filter(chooser, each);
    }
}

}  // namespace

std::vector<BoxButton> boxButtons(int style) {
    switch (style & 7) {
        case 1:
            return {{"OK", win::vbOK}, {"Cancel", win::vbCancel}};
        case 2:
            return {{"_Abort", win::vbAbort}, {"_Retry", win::vbRetry}, {"_Ignore", win::vbIgnore}};
        case 3:
            return {{"_Yes", win::vbYes}, {"_No", win::vbNo}, {"Cancel", win::vbCancel}};
        case 4:
            return {{"_Yes", win::vbYes}, {"_No", win::vbNo}};
        case 5:
            return {{"_Retry", win::vbRetry}, {"Cancel", win::vbCancel}};
        default:
            return {{"OK", win::vbOK}};
    }
}

int boxCloseAnswer(int style) {
    for (const BoxButton& button : boxButtons(style)) {
        if (button.answer == win::vbCancel) {
            return win::vbCancel;
        }
    }
    return (style & 7) == 0 ? win::vbOK : 0;
}

DesktopDialogs::DesktopDialogs(UserInput& input) : input_(input) {}

DesktopDialogs::~DesktopDialogs() {
    for (auto& [id, dialog] : open_) {
        gtk_widget_destroy(dialog);
    }
}

void DesktopDialogs::answered(int32_t id, InputEvent answer) {
    if (const auto found = open_.find(id); found != open_.end()) {
        gtk_widget_destroy(found->second);
        open_.erase(found);
        input_.post(std::move(answer));
    }
}

void DesktopDialogs::openMessageBox(const MessageBoxRequest& box) {
    GtkWidget* dialog =
        gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, iconOf(box.style), GTK_BUTTONS_NONE, "%s",
                               toolkitText(box.prompt).c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), toolkitText(box.title).c_str());
    gtk_window_set_role(GTK_WINDOW(dialog), "msgbox");
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    const auto buttons = boxButtons(box.style);
    for (const BoxButton& button : buttons) {
        gtk_dialog_add_button(GTK_DIALOG(dialog), button.label, button.answer);
    }
    // vbDefaultButton2 and 3.
    const size_t preferred = static_cast<size_t>((box.style >> 8) & 3);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog),
                                    buttons[std::min(preferred, buttons.size() - 1)].answer);
    const int closeAnswer = boxCloseAnswer(box.style);
    gtk_window_set_deletable(GTK_WINDOW(dialog), closeAnswer != 0);
    g_object_set_data(G_OBJECT(dialog), "tarnix-request", GINT_TO_POINTER(box.id));
    g_object_set_data(G_OBJECT(dialog), "tarnix-close", GINT_TO_POINTER(closeAnswer));
    g_signal_connect(
        dialog, "response", G_CALLBACK(+[](GtkDialog* shown, gint response, gpointer self) {
            const int id = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(shown), "tarnix-request"));
            int answer = response;
            if (response < 0) {
                // Escape or the close box: only where the box has a way out.
                answer = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(shown), "tarnix-close"));
                if (answer == 0) {
                    return;
                }
            }
            static_cast<DesktopDialogs*>(self)->answered(id, input::MessageBoxAnswer{id, answer});
        }),
        this);
    open_[box.id] = dialog;
    gtk_widget_show_all(dialog);
}

void DesktopDialogs::openFileDialog(const FileDialogRequest& request, GtkWidget* owner) {
    const std::string title = request.title.empty() ? "Open" : toolkitText(request.title);
    GtkWidget* dialog = gtk_file_chooser_dialog_new(
        title.c_str(), owner != nullptr ? GTK_WINDOW(owner) : nullptr, GTK_FILE_CHOOSER_ACTION_OPEN,
        "_Cancel", GTK_RESPONSE_CANCEL, "_Open", GTK_RESPONSE_ACCEPT, nullptr);
    gtk_window_set_role(GTK_WINDOW(dialog), "filedialog");
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    auto* chooser = GTK_FILE_CHOOSER(dialog);
    addFilters(chooser, request.filter);
    std::error_code error;
    if (!request.initDir.empty() && std::filesystem::is_directory(request.initDir, error)) {
        gtk_file_chooser_set_current_folder(chooser, request.initDir.c_str());
    }
    g_object_set_data(G_OBJECT(dialog), "tarnix-request", GINT_TO_POINTER(request.id));
    g_signal_connect(
        dialog, "response", G_CALLBACK(+[](GtkDialog* shown, gint response, gpointer self) {
            const int id = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(shown), "tarnix-request"));
            std::optional<std::string> path;
            if (response == GTK_RESPONSE_ACCEPT) {
                if (gchar* file = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(shown))) {
                    path = file;
                    g_free(file);
                }
            }
            static_cast<DesktopDialogs*>(self)->answered(id,
                                                         input::DialogAnswer{id, std::move(path)});
        }),
        this);
    open_[request.id] = dialog;
    gtk_widget_show_all(dialog);
}

}  // namespace platform
