#include "platform/ui/msgbox.h"

#include <variant>

#include "platform/runtime/app_info.h"
#include "platform/runtime/backend.h"
#include "platform/runtime/text.h"
#include "platform/runtime/trace.h"
#include "platform/ui/model.h"

namespace win {

int MsgBox(std::string_view prompt, int style, std::string_view title) {
    const platform::MessageBoxRequest request{
        0, std::string(prompt), style, std::string(title.empty() ? platform::kAppTitle : title)};
    const int64_t opened = detail::nowMs();
    const auto reply = detail::runModal([&request](int32_t id) {
        auto box = request;
        box.id = id;
        platform::backend().openMessageBox(box);
    });
    const int answer = std::get<platform::input::MessageBoxAnswer>(reply).answer;
    std::string detail = "style=" + std::to_string(style) +
                         " title=" + platform::quoted(request.title) +
                         " text=" + platform::quoted(prompt) + " answer=" + std::to_string(answer);
    if (detail::nowMs() > opened) {
        detail += " opened=" + std::to_string(opened);
    }
    platform::trace("msgbox", detail);
    return answer;
}

}  // namespace win
