// The registry store on hives of 10, 1,000 and 100,000 values in one key: loading the file into a
// fresh store, a warm read and a save (which rewrites the whole file). Beside them the file
// system's own floor for the same file: reading it whole (under a load), a stat() (a warm read
// checks the file is unchanged) and a write of the same bytes to a temporary file, fsync'ed and
// renamed over it. The registry lives in
// a fresh folder under TMPDIR (or /tmp), so writes are measured on that file system.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/file_references.h"
#include "bench/temp_folder.h"
#include "platform/registry/hive_format.h"
#include "platform/registry/registry_store.h"

namespace {

using namespace win;

constexpr const char* kPath = "Software\\Pexar\\X6";

// A folder holding a hive with count text values under kPath.
class Hive {
  public:
    explicit Hive(int64_t count) {
        platform::registry::Key root;
        auto& values = root.subkey("Software").subkey("Pexar").subkey("X6").values;
        for (int64_t i = 0; i < count; ++i) {
            values.push_back({"Value" + std::to_string(i), REG_SZ,
                              "C:\\Program Files\\TarnixIM\\sounds\\file" + std::to_string(i)});
        }
        bench::writeFile(folder_.path() / "HKEY_CURRENT_USER.reg",
                         platform::registry::formatHive("HKEY_CURRENT_USER", root));
    }
    const std::filesystem::path& folder() const { return folder_.path(); }
    std::filesystem::path file() const { return folder_.path() / "HKEY_CURRENT_USER.reg"; }

  private:
    bench::TempFolder folder_;
};

HKEY openSettings(platform::RegistryStore& store) {
    HKEY key = 0;
    if (store.openKey(HKEY_CURRENT_USER, kPath, key) != kRegOk) {
        throw std::runtime_error("the settings key is missing");
    }
    return key;
}

void BM_HiveLoad(benchmark::State& state) {
    const Hive hive(state.range(0));
    for (auto _ : state) {
        platform::RegistryStore store(hive.folder());
        benchmark::DoNotOptimize(openSettings(store));
    }
}
BENCHMARK(BM_HiveLoad)->Arg(10)->Arg(1000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

void BM_HiveRead(benchmark::State& state) {
    const Hive hive(state.range(0));
    platform::RegistryStore store(hive.folder());
    const HKEY key = openSettings(store);
    const std::string name = "value" + std::to_string(state.range(0) - 1);
    char data[256];
    for (auto _ : state) {
        uint32_t size = sizeof data;
        benchmark::DoNotOptimize(
            store.queryValue(key, name, nullptr, reinterpret_cast<uint8_t*>(data), &size));
    }
}
BENCHMARK(BM_HiveRead)->Arg(10)->Arg(1000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

void BM_HiveSave(benchmark::State& state) {
    const Hive hive(state.range(0));
    platform::RegistryStore store(hive.folder());
    const HKEY key = openSettings(store);
    uint32_t number = 0;
    for (auto _ : state) {
        ++number;  // a new value: every save writes the file
        store.setValue(key, "Value0", REG_DWORD, reinterpret_cast<const uint8_t*>(&number), 4);
    }
}
BENCHMARK(BM_HiveSave)->Arg(10)->Arg(1000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

void BM_HiveFileReadReference(benchmark::State& state) {
    const Hive hive(state.range(0));
    const std::filesystem::path file = hive.file();
    for (auto _ : state) {
        benchmark::DoNotOptimize(bench::bytesOf(file));
    }
}
BENCHMARK(BM_HiveFileReadReference)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(100'000)
    ->Unit(benchmark::kMicrosecond);

void BM_HiveStatReference(benchmark::State& state) {
    const Hive hive(state.range(0));
    const std::filesystem::path file = hive.file();
    for (auto _ : state) {
        bench::statOf(file);
    }
}
BENCHMARK(BM_HiveStatReference)->Arg(10)->Arg(1000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

void BM_HiveFsyncWriteReference(benchmark::State& state) {
    const Hive hive(state.range(0));
    const std::filesystem::path file = hive.file();
    const std::string bytes = bench::bytesOf(file);
    for (auto _ : state) {
        bench::writeSyncRename(file, bytes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_HiveFsyncWriteReference)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(100'000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
