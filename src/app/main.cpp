#include <exception>
#include <iostream>

#include "app/start_up.h"
#include "main/frmTarnix.h"
#include "platform/files/paths.h"
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
        InstallPlatform();
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
