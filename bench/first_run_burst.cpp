// The first-run burst: the eleven values the first-run defaults store, in their order, through
// clsRegistry into a settings key whose \DAPLinks the installer already wrote. Run it as
//   first_run_burst install FOLDER   (the installer's values; not measured)
//   first_run_burst burst FOLDER     (prints the burst's time; the process ends right after)
// under "strace -f -c -e trace=fsync,fdatasync" to count the flushes (bench/first-run-fsyncs).
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/registry/registry_store.h"
#include "storage/clsRegistry.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: first_run_burst install|burst FOLDER\n");
        return 2;
    }
    const std::string step = argv[1];
    platform::setRegistryFolder(argv[2]);
    clsRegistry registry;
    const std::string key = "Software\\Tarnix\\TarnixIM";
    if (step == "install") {
        registry.SaveSettingString(1, key + "\\DAPLinks", "X6Domain", "http://127.0.0.1:8080");
        return 0;
    }
    const std::string folder = "/opt/Tarnix IM";
    const auto start = std::chrono::steady_clock::now();
    registry.SaveSettingLong(1, key, "X6Installed", 1);
    registry.SaveSettingLong(1, key, "X6OnTop", 1);
    registry.SaveSettingLong(1, key, "OnWindowsLoad", 1);
    registry.SaveSettingString(1, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "tarnix.exe",
                               folder + "\\tarnix.exe");
    for (const char* kind : {"ContactOnline", "ChatRequest", "NewMail"}) {
        registry.SaveSettingLong(1, key + "\\Alerts", kind, 1);
    }
    registry.SaveSettingString(1, key + "\\Sounds", "Login", folder + "\\sounds\\notify.wav");
    registry.SaveSettingString(1, key + "\\Sounds", "ContactOnline",
                               folder + "\\sounds\\notify.wav");
    registry.SaveSettingString(1, key + "\\Sounds", "ChatRequest",
                               folder + "\\sounds\\doorbell08.wav");
    registry.SaveSettingString(1, key + "\\Sounds", "NewMail", folder + "\\sounds\\knock.wav");
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    std::printf("first-run burst: 11 values in %lld us\n", static_cast<long long>(took.count()));
    return 0;
}
