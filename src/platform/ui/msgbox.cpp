#include "platform/ui/msgbox.h"

#include "platform/runtime/app_info.h"
#include "platform/runtime/backend.h"

namespace win {

int MsgBox(std::string_view prompt, int style, std::string_view title) {
    return platform::backend().messageBox(prompt, style,
                                          title.empty() ? platform::kAppTitle : title);
}

}  // namespace win
