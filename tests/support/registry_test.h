#pragma once

#include "platform/registry/registry_store.h"
#include "support/headless_test.h"

namespace testsupport {

// A headless test whose process registry lives in a fresh temporary folder.
class RegistryTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        platform::setRegistryFolder(folder_.path());
    }
    void TearDown() override {
        platform::setRegistryFolder({});
        HeadlessTest::TearDown();
    }

    const std::filesystem::path& registryDir() const { return folder_.path(); }
    std::filesystem::path hiveFile(const char* root = "HKEY_CURRENT_USER") const {
        return folder_.path() / (std::string(root) + ".reg");
    }

  private:
    TempDir folder_;
};

}  // namespace testsupport
