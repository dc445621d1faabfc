#pragma once

#include <memory>
#include <string_view>

#include "platform/runtime/clock.h"

namespace platform {

// The one seam between the platform model and the world. A backend renders the model and feeds
// input and time into it; the model stays the single source of truth.
class Backend {
  public:
    virtual ~Backend() = default;

    virtual Clock& clock() = 0;

    // One observable effect: area is a short word ("msgbox", "registry", ...), detail its fields.
    virtual void trace(std::string_view area, std::string_view detail) = 0;

    // A modal message box; style carries the buttons and icon flags. Returns the button chosen
    // (1 OK, 2 Cancel, 6 Yes, 7 No).
    virtual int messageBox(std::string_view prompt, int style, std::string_view title) = 0;
};

// The installed backend; when none is installed, the headless backend configured from the
// environment is installed on first use.
Backend& backend();

// Installs a backend and returns the one it replaces (tests restore it afterwards).
std::unique_ptr<Backend> installBackend(std::unique_ptr<Backend> next);

// Shorthand for backend().trace(...).
void trace(std::string_view area, std::string_view detail);

}  // namespace platform
