#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "platform/registry/registry_store.h"
#include "support/headless_test.h"

namespace testsupport {

// A headless test whose process registry lives in a fresh temporary folder, and whose autostart
// entries (the Run key's mirror) in a fresh configuration folder, never the user's.
class RegistryTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        environment_.emplace();
        environment_->set("XDG_CONFIG_HOME", config_.path().c_str());
        environment_->set("TARNIX_AUTOSTART_DIR", nullptr);
        platform::setRegistryFolder(folder_.path());
    }
    void TearDown() override {
        platform::setRegistryFolder({});
        environment_.reset();
        HeadlessTest::TearDown();
    }

    const std::filesystem::path& registryDir() const { return folder_.path(); }
    // XDG_CONFIG_HOME while the test runs.
    const std::filesystem::path& configDir() const { return config_.path(); }
    std::filesystem::path hiveFile(const char* root = "HKEY_CURRENT_USER") const {
        return folder_.path() / (std::string(root) + ".reg");
    }

  private:
    TempDir folder_;
    TempDir config_;
    std::optional<ScopedEnvironment> environment_;
};

// Stores raw bytes of any type, as another program might have left them, making the key; the
// status of the first call that failed.
int32_t storeValue(platform::RegistryStore& store, const std::string& path, const std::string& name,
                   uint32_t type, const std::string& data, win::HKEY root = win::HKEY_CURRENT_USER);

// Type and bytes of a value as stored, or nothing when it cannot be read.
std::optional<std::pair<uint32_t, std::string>> storedValue(
    platform::RegistryStore& store, const std::string& path, const std::string& name,
    win::HKEY root = win::HKEY_CURRENT_USER);

}  // namespace testsupport
