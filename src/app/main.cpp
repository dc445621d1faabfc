#include <exception>
#include <iostream>

#include "main/frmTarnix.h"
#include "platform/files/paths.h"
#include "platform/headless/headless_backend.h"
#include "platform/runtime/errors.h"
#include "platform/ui/form.h"
#include "platform/ui/loop.h"

// The start-up object: the main window, then the message loop until no window remains loaded.
int main() {
    // Refused before anything is stored: paths outside the code page would be stored broken.
    if (const auto problem = platform::programFolderProblem()) {
        std::cerr << "tarnix: " << *problem << '\n';
        return 2;
    }
    try {
        // On the real clock the program waits in the tray until its session ends; SIGINT, SIGTERM
        // and SIGHUP end it as the desktop's end of session does.
        if (auto* headless = platform::headless()) {
            headless->endSessionOnSignals();
        }
        win::Default<frmTarnix>().Show();
        return win::RunMessageLoop();
    } catch (const platform::RuntimeError& error) {
        std::cerr << "tarnix: run-time error " << error.number() << ": " << error.description()
                  << '\n';
    } catch (const std::exception& error) {
        std::cerr << "tarnix: " << error.what() << '\n';
    }
    return 1;
}
