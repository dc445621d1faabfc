// Runs a hidden window with a 100 ms timer on the real clock for the given seconds (default 10)
// and prints the ticks; scripts/measure-idle measures it with `/usr/bin/time -v`.
#include <cstdio>
#include <cstdlib>

#include "platform/headless/headless_backend.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/loop.h"

namespace {

int64_t gSeconds = 10;

class frmIdle : public win::Form {
  public:
    frmIdle() : Form("frmIdle") {
        tmrAnimation.onTimer = [this] {
            ++ticks;
            if (ticks >= gSeconds * 10) {
                Unload();
            }
        };
    }
    win::Timer tmrAnimation{this, "tmrAnimation", {.Interval = 100}};
    int64_t ticks = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        char* end = nullptr;
        gSeconds = std::strtoll(argv[1], &end, 10);
        if (*end != '\0' || gSeconds < 1 || gSeconds > 3600) {
            std::fprintf(stderr, "usage: idle_timer [seconds, 1 to 3600]\n");
            return 2;
        }
    }
    platform::installBackend(std::make_unique<platform::HeadlessBackend>());
    auto& form = win::Default<frmIdle>();
    form.Load();
    win::RunMessageLoop();
    std::printf("ticks=%lld\n", static_cast<long long>(form.ticks));
    return 0;
}
