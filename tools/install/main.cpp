// tarnix-install-settings: writes what the installer of the program provides into the registry.
// Exit codes: 0 stored (or --help), 1 the settings file or the registry failed, 2 a bad command
// line.
#include <cstdio>
#include <string_view>
#include <vector>

#include "install/install_settings.h"
#include "platform/registry/registry_store.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    install::InstallSettings settings;
    if (const auto error = install::parseArguments(args, settings)) {
        std::fprintf(stderr, "tarnix-install-settings: %s\n%s", error->c_str(),
                     install::usage().c_str());
        return 2;
    }
    if (settings.help) {
        std::fputs(install::usage().c_str(), stdout);
        return 0;
    }
    std::string error;
    const auto keyPath = install::settingsKeyPath(settings.iniPath, error);
    if (!keyPath) {
        std::fprintf(stderr, "tarnix-install-settings: %s\n", error.c_str());
        return 1;
    }
    if (!install::writeSettings(settings, *keyPath)) {
        std::fprintf(stderr, "tarnix-install-settings: the settings could not be stored in %s\n",
                     platform::registryFolder().c_str());
        return 1;
    }
    std::printf("installed the site and company settings under HKEY_CURRENT_USER\\%s in %s\n",
                keyPath->c_str(), platform::registryFolder().c_str());
    return 0;
}
