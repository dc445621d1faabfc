#pragma once

#include <cstdint>
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

    // Sound output and network state. The defaults are those of a machine without speakers or
    // network, so a backend that does not render them stays valid.
    //
    // Plays a sound file already checked to be a PCM WAV, from fromMs on for durationMs (what is
    // left of it); false when the output refuses it. Several sounds may play at once.
    virtual bool playSound(std::string_view path, int64_t fromMs, int64_t durationMs);
    // Silences a sound started by playSound before its end.
    virtual void stopSound(std::string_view path);
    // True when the machine is online; flags receives the connection-state flags either way.
    virtual bool connectionState(uint32_t& flags);
};

// The installed backend; when none is installed, the headless backend configured from the
// environment is installed on first use.
Backend& backend();

// Installs a backend and returns the one it replaces (tests restore it afterwards).
std::unique_ptr<Backend> installBackend(std::unique_ptr<Backend> next);

// Shorthand for backend().trace(...).
void trace(std::string_view area, std::string_view detail);

}  // namespace platform
