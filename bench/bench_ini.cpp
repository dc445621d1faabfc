// The desktop settings file with 10, 1,000 and 10,000 keys in one section: a read and a write of
// one key through the profile functions, and the two cIni section listings. Beside them the file
// system's own floor for the same file: reading it whole, a stat() and a write of the same bytes
// to a temporary file, fsync'ed and renamed over it.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/file_references.h"
#include "bench/temp_folder.h"
#include "platform/files/profile.h"
#include "storage/cIni.h"

namespace {

// A folder holding "t.ini" with count keys in [Keys], between two small sections.
class IniFile {
  public:
    explicit IniFile(int64_t count) {
        std::string text = "[Language]\r\nLang=1\r\n[Keys]\r\n";
        for (int64_t i = 0; i < count; ++i) {
            text += "Key" + std::to_string(i) + "=C:\\Program Files\\TarnixIM\\value" +
                    std::to_string(i) + "\r\n";
        }
        text += "[StartDetails]\r\nREGADDRESS=Software\\Tarnix\\TarnixIM\r\n";
        bench::writeFile(path(), text);
    }
    std::string path() const { return (folder_.path() / "t.ini").string(); }

  private:
    bench::TempFolder folder_;
};

void BM_IniRead(benchmark::State& state) {
    const IniFile ini(state.range(0));
    const std::string key = "key" + std::to_string(state.range(0) - 1);
    std::string value;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            win::GetPrivateProfileStringA("Keys", key, "", value, 750, ini.path()));
    }
}
BENCHMARK(BM_IniRead)->Arg(10)->Arg(1000)->Arg(10'000)->Unit(benchmark::kMicrosecond);

void BM_IniWrite(benchmark::State& state) {
    const IniFile ini(state.range(0));
    const std::string key = "KEY" + std::to_string(state.range(0) / 2);
    int64_t number = 0;
    for (auto _ : state) {
        win::WritePrivateProfileStringA("Keys", key, std::to_string(++number), ini.path());
    }
}
BENCHMARK(BM_IniWrite)->Arg(10)->Arg(1000)->Arg(10'000)->Unit(benchmark::kMicrosecond);

void BM_IniFileReadReference(benchmark::State& state) {
    const IniFile ini(state.range(0));
    const std::filesystem::path file = ini.path();
    for (auto _ : state) {
        benchmark::DoNotOptimize(bench::bytesOf(file));
    }
}
BENCHMARK(BM_IniFileReadReference)->Arg(10)->Arg(1000)->Arg(10'000)->Unit(benchmark::kMicrosecond);

void BM_IniStatReference(benchmark::State& state) {
    const IniFile ini(state.range(0));
    const std::filesystem::path file = ini.path();
    for (auto _ : state) {
        bench::statOf(file);
    }
}
BENCHMARK(BM_IniStatReference)->Arg(10)->Arg(1000)->Arg(10'000)->Unit(benchmark::kMicrosecond);

void BM_IniFsyncWriteReference(benchmark::State& state) {
    const IniFile ini(state.range(0));
    const std::filesystem::path file = ini.path();
    const std::string bytes = bench::bytesOf(file);
    for (auto _ : state) {
        bench::writeSyncRename(file, bytes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_IniFsyncWriteReference)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(10'000)
    ->Unit(benchmark::kMicrosecond);

struct ItemList {
    std::vector<std::string> items;
    void AddItem(std::string item) { items.push_back(std::move(item)); }
};

// One listing of the section into a fresh Result each time: a list box or the key array.
template <typename Result, auto List>
void BM_IniListing(benchmark::State& state) {
    const IniFile ini(state.range(0));
    cIni reader;
    reader.IniPath(ini.path());
    for (auto _ : state) {
        Result result;
        benchmark::DoNotOptimize((reader.*List)("Keys", result));
    }
}
BENCHMARK(BM_IniListing<ItemList, &cIni::InsertSKVtoListBox<ItemList>>)
    ->Name("BM_IniListBox")
    ->Arg(10)
    ->Arg(1000)
    ->Arg(10'000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IniListing<IniKeyArray, &cIni::InsertSKVtoArray>)
    ->Name("BM_IniArray")
    ->Arg(10)
    ->Arg(1000)
    ->Arg(10'000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
