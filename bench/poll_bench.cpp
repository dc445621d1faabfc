// The poll: one tick against a loopback site beside the bare fetch of the same address, so the
// difference is the tick's own cost; and pop-up lifecycles on the virtual clock with the memory
// they leave behind (resident set after 1,000 and after 10,000).
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "main/frmTarnix.h"
#include "main/program_values.h"
#include "platform/headless/headless_backend.h"
#include "platform/net/http.h"
#include "platform/runtime/clock.h"
#include "platform/ui/loop.h"
#include "support/loopback_server.h"

// The main window's poll tick, reached as the tests reach it.
struct frmTarnixTestAccess {
    static void tick(frmTarnix& form) { form.tmrRequestCheck_Timer(); }
};

namespace {

// The resident set of this process in kB.
long residentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

class Poll {
  public:
    Poll() {
        // The window's settings go to a folder of the run's own, never the user's.
        std::string folder = "/tmp/tarnix-bench-XXXXXX";
        if (::mkdtemp(folder.data()) != nullptr) {
            folder_ = folder;
            ::setenv("TARNIX_REGISTRY_DIR", folder.c_str(), 1);
        }
        platform::installClock(std::make_unique<platform::VirtualClock>());
        platform::installBackend(std::make_unique<platform::HeadlessBackend>());
        site.setPage("poll", "");
        site.setPage("newmail.php", "<p>mail</p>");
        sUpdateURL = site.url("/page/poll");
        sNewRequestURL = site.url("/page/");
        sMemberName = "member0042";
    }
    ~Poll() {
        platform::installBackend(nullptr);
        if (!folder_.empty()) {
            std::filesystem::remove_all(folder_);
        }
    }
    testsupport::LoopbackServer site;

  private:
    std::string folder_;
};

void BM_PollTickWithoutAlerts(benchmark::State& state) {
    Poll poll;
    auto& form = win::Default<frmTarnix>();
    for (auto _ : state) {
        frmTarnixTestAccess::tick(form);
    }
}
BENCHMARK(BM_PollTickWithoutAlerts)->Unit(benchmark::kMicrosecond);

void BM_FetchOfThePollAddress(benchmark::State& state) {
    Poll poll;
    const std::string url =
        sUpdateURL + "?membername=member0042&vb=0123456789abcdef0123456789abcdef";
    for (auto _ : state) {
        benchmark::DoNotOptimize(platform::net::httpGet(url));
    }
}
BENCHMARK(BM_FetchOfThePollAddress)->Unit(benchmark::kMicrosecond);

// Each pop-up is shown, loads its page, slides in, stays, slides out and unloads.
void BM_PopupLifecycles(benchmark::State& state) {
    Poll poll;
    auto& form = win::Default<frmTarnix>();
    long after1000 = 0;
    int64_t done = 0;
    for (auto _ : state) {
        for (int i = 0; i < 10'000; ++i) {
            form.ShowRequest("NewMail");
            win::RunFor(10'000);
            if (++done == 1000) {
                after1000 = residentKb();
            }
        }
    }
    state.counters["rss_kb_after_1000"] = static_cast<double>(after1000);
    state.counters["rss_kb_after_10000"] = static_cast<double>(residentKb());
}
BENCHMARK(BM_PopupLifecycles)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
