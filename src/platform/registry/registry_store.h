#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/hive.h"
#include "platform/registry/hive_file.h"
#include "platform/registry/registry.h"

namespace platform {

// The registry of one folder: a hive file per root ("HKEY_CURRENT_USER.reg", ...), read when it
// changed on disk and otherwise served from memory, written whole and atomically under a lock so
// that several store objects and processes can share the folder. The operations behave as the
// win::Reg* functions of the same meaning (registry.h), which use the process-wide store.
class RegistryStore {
  public:
    explicit RegistryStore(std::filesystem::path folder);

    const std::filesystem::path& folder() const { return folder_; }
    // The file holding a root ("<folder>/HKEY_CURRENT_USER.reg"); empty for no root.
    std::filesystem::path hiveFile(win::HKEY root) const;

    int32_t openKey(win::HKEY key, std::string_view subKey, win::HKEY& result);
    int32_t createKey(win::HKEY key, std::string_view subKey, win::HKEY& result);
    int32_t closeKey(win::HKEY key);
    int32_t queryValue(win::HKEY key, std::string_view name, uint32_t* type, uint8_t* data,
                       uint32_t* size);
    int32_t setValue(win::HKEY key, std::string_view name, uint32_t type, const uint8_t* data,
                     uint32_t size);
    int32_t deleteValue(win::HKEY key, std::string_view name);
    int32_t deleteKey(win::HKEY key, std::string_view subKey);
    int32_t enumKey(win::HKEY key, uint32_t index, char* name, uint32_t nameSize);
    int32_t enumValue(win::HKEY key, uint32_t index, char* name, uint32_t* nameSize, uint32_t* type,
                      uint8_t* data, uint32_t* dataSize);

    // Handles given out and not yet closed.
    size_t openHandles() const;

  private:
    struct Hive {
        registry::Key root;
        registry::FileIdentity identity;
        bool known = false;
        // The file could be neither read nor moved aside: writing would replace it, so writes
        // are refused until it changes.
        bool unreadable = false;
    };
    // A key named by its root and its path of Windows-1252 names, so that it survives a reload.
    struct KeyPath {
        size_t hive = 0;
        std::vector<std::string> names;
    };

    // The path a handle names; null for a handle that is not open.
    const KeyPath* pathOf(win::HKEY key) const;
    // The key path below key, or the status why there is none (kRegKeyDeleted when the key
    // behind the handle is gone).
    int32_t resolvePath(win::HKEY key, std::string_view subKey, KeyPath& path);
    // The hive brought up to date with its file.
    Hive& refreshed(size_t hive);
    void load(size_t hive, const registry::FileIdentity& seen);
    static registry::Key* find(registry::Key& root, const std::vector<std::string>& names);
    // The key behind a handle in the current hive, or the status why there is none.
    int32_t lookUp(win::HKEY key, registry::Key*& found);
    win::HKEY newHandle(KeyPath path);
    // Runs change on a copy of the hive under the writers' lock and stores the result. change
    // returns a status and sets changed when there is anything to write.
    template <typename Change>
    int32_t modify(size_t hive, Change change);
    void reportWriteFailure(size_t hive, const std::string& reason) const;

    std::filesystem::path folder_;
    std::array<std::filesystem::path, 6> files_;
    std::array<Hive, 6> hives_;
    std::array<KeyPath, 6> rootPaths_;
    // True while modify holds the writers' lock (a reload then must not take it again).
    bool locked_ = false;
    // Handle n names slot n - 1; freed slots are reused lowest first.
    std::vector<std::optional<KeyPath>> handles_;
};

// The store of the process, made on first use in registryFolder().
RegistryStore& registryStore();

// Where the registry lives: TARNIX_REGISTRY_DIR when set, else
// ${XDG_CONFIG_HOME:-~/.config}/tarnix/registry.
std::filesystem::path registryFolder();

// Replaces the store of the process with one on folder (tests point it at a temporary folder);
// an empty folder goes back to registryFolder(). Handles of the old store are no longer valid.
void setRegistryFolder(const std::filesystem::path& folder);

}  // namespace platform
