#pragma once

#include <string>

#include "platform/ui/control.h"

namespace win {

// The run-time error of a fetch that ended without an answer (no connection, no name, a time-out,
// a URL unfit for the wire); its description names the Windows Internet code of the failure, as
// in "Unable to complete the request (Internet error 12029)".
constexpr int kInetRequestFailed = 35750;

// The Internet transfer control ("InetCtlsObjects.Inet"), synchronous GET only. It has no window:
// it fetches on request.
class Inet : public Control {
  public:
    platform::ControlKind Kind() const override { return platform::ControlKind::Inet; }
    using Control::Control;

    std::string URL();
    void setURL(const std::string& value);

    // The whole body at URL, read once the fetch has ended. Any HTTP status is an answer: the
    // body comes back as the server sent it (at most the transport's cap). The bytes are read
    // through the ANSI code page, so a Windows-1252 body reads as the same characters (a UTF-8
    // body reads as one character per byte). Raises kInetRequestFailed when no answer arrived.
    std::string OpenURL();
    // The fetch is over when OpenURL returns: nothing to end. Does not load the window.
    void Cancel() {}
    bool StillExecuting() const { return false; }

  protected:
    void formUnloaded() override;

  private:
    std::string url_;
};

}  // namespace win
