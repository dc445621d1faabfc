// The cost of one connectivity probe and one sound cycle on this machine, against a server on
// 127.0.0.1 (so the figures are the program's own overhead, not the network's). Beside the probe,
// the plainest libcurl GET of the same address: a fresh easy handle each time, as the probe's
// request object has.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include "desktop/cAV.h"
#include "desktop/mInternet.h"
#include "platform/media/mci.h"
#include "platform/net/http.h"
#include "support/headless_test.h"
#include "support/loopback_server.h"
#include "support/wave_bytes.h"

namespace {

void BM_CheckConnectionLoopback(benchmark::State& state) {
    testsupport::LoopbackServer server;
    const std::string url = server.url("/status/200");
    int16_t flags = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(mInternet::CheckConnection(url, true, flags));
    }
}
BENCHMARK(BM_CheckConnectionLoopback)->Unit(benchmark::kMicrosecond);

size_t discardBody(char*, size_t size, size_t count, void*) {
    return size * count;
}

void BM_PlainCurlGetLoopback(benchmark::State& state) {
    testsupport::LoopbackServer server;
    const std::string url = server.url("/status/200");
    for (auto _ : state) {
        CURL* handle = curl_easy_init();
        curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
        curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, discardBody);
        const CURLcode result = curl_easy_perform(handle);
        long status = 0;
        curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
        curl_easy_cleanup(handle);
        if (result != CURLE_OK || status != 200) {
            state.SkipWithError("the plain GET did not get its 200");
            break;
        }
    }
}
BENCHMARK(BM_PlainCurlGetLoopback)->Unit(benchmark::kMicrosecond);

void BM_HttpGetLoopback(benchmark::State& state) {
    testsupport::LoopbackServer server;
    const std::string url = server.url("/bytes/" + std::to_string(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(platform::net::httpGet(url));
    }
}
BENCHMARK(BM_HttpGetLoopback)->Arg(100)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

void BM_SoundOpenPlayClose(benchmark::State& state) {
    testsupport::TempDir dir;
    testsupport::writeFile(dir.path() / "notify.wav", testsupport::pcmWave(1000, 22050));
    const std::string path = dir.file("notify.wav");
    cAV player;
    for (auto _ : state) {
        player.OpenMCIAudioFile(path);
        player.PlayMCIAudioFile(true);
        player.CloseMCIAudioFile();
    }
}
BENCHMARK(BM_SoundOpenPlayClose)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    // The probe yields to the message loop and plays sounds: a quiet headless backend serves.
    platform::installBackend(std::make_unique<platform::HeadlessBackend>());
    curl_global_init(CURL_GLOBAL_DEFAULT);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    curl_global_cleanup();
    return 0;
}
