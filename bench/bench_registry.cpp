// Warm reads and writes of clsRegistry on a settings hive of about 50 values. The registry lives
// in a fresh folder under TMPDIR (or /tmp), so writes are measured on that file system.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/registry/registry_store.h"
#include "storage/cls_registry.h"

namespace {

constexpr const char* kPath = "Software\\Pexar\\X6";

// A temporary registry folder holding a settings hive like the program's own, removed at exit.
class SettingsHive {
  public:
    SettingsHive() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarnix-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            throw std::runtime_error("mkdtemp failed");
        }
        folder_ = pattern;
        platform::setRegistryFolder(folder_);
        clsRegistry reg;
        const std::string base = kPath;
        for (int i = 0; i < 20; ++i) {
            reg.SaveSettingLong(1, base, "Number" + std::to_string(i), i);
            reg.SaveSettingString(1, base, "Text" + std::to_string(i),
                                  "C:\\Program Files\\TarnixIM\\sounds\\file" + std::to_string(i));
        }
        for (const char* kind : {"ContactOnline", "ChatRequest", "NewMail", "GenAlert", "Login"}) {
            reg.SaveSettingLong(1, base + "\\Alerts", kind, 1);
            reg.SaveSettingString(1, base + "\\Sounds", kind,
                                  std::string("C:\\Program Files\\TarnixIM\\sounds\\") + kind);
        }
    }
    ~SettingsHive() {
        platform::setRegistryFolder({});
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

  private:
    std::filesystem::path folder_;
};

SettingsHive& hive() {
    static SettingsHive settings;
    return settings;
}

void BM_GetSettingLong(benchmark::State& state) {
    hive();
    clsRegistry reg;
    for (auto _ : state) {
        benchmark::DoNotOptimize(reg.GetSettingLong(1, kPath, "Number17"));
    }
}
BENCHMARK(BM_GetSettingLong);

void BM_GetSettingString(benchmark::State& state) {
    hive();
    clsRegistry reg;
    for (auto _ : state) {
        benchmark::DoNotOptimize(reg.GetSettingString(1, kPath, "Text17"));
    }
}
BENCHMARK(BM_GetSettingString);

void BM_SaveSettingLong(benchmark::State& state) {
    hive();
    clsRegistry reg;
    int32_t value = 0;
    for (auto _ : state) {
        reg.SaveSettingLong(1, kPath, "Number17", ++value);  // a new value: every save writes
    }
}
BENCHMARK(BM_SaveSettingLong);

}  // namespace
