#include "platform/ui/loop.h"

namespace win {

// Placeholder until the message loop lands: there is nothing to dispatch yet.
int DoEvents() {
    return 0;
}

}  // namespace win
