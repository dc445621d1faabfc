#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/writer_lock.h"
#include "platform/registry/hive.h"
#include "platform/registry/hive_file.h"
#include "platform/registry/registry.h"
#include "platform/runtime/result.h"

namespace platform {

// The registry of one folder: a hive file per root ("HKEY_CURRENT_USER.reg", ...), read when it
// changed on disk and otherwise served from memory, written whole and atomically under a lock so
// that several store objects and processes can share the folder. The operations behave as the
// win::Reg* functions of the same meaning (registry.h), which use the process-wide store.
//
// A write replaces the hive file at once, so a process killed at any moment loses nothing it
// stored, but the flush to disk is shared by the writes of a burst: the hive is flushed (file and
// folder) at the first access kSyncDelay or more after the first write not yet flushed, and when
// the store goes (the end of the process). A power loss before that can cost those writes.
//
// Values set or deleted under HKEY_CURRENT_USER's Run key also make or remove the desktop's
// autostart entries (autostart_entry.h), once they are stored: at once, or at a batch's commit.
class RegistryStore {
  public:
    static constexpr std::chrono::milliseconds kSyncDelay{1000};

    explicit RegistryStore(std::filesystem::path folder);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

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

    // Changes made from beginBatch to commitBatch reach each hive file in one write, so that a
    // process killed before the commit leaves the files as they were. The writers' lock of each
    // hive changed is held from its first change to the commit (no other writer, not even another
    // store of this process, may write it meanwhile). commitBatch returns the status of the first
    // write that failed (that hive then reads as its file again); abandonBatch drops the changes.
    void beginBatch();
    int32_t commitBatch();
    void abandonBatch();

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
    // A step below that fails gives the win::RegStatus its operation returns as the failure's code.

    // The key path below key, or why there is none (kRegKeyDeleted when the key behind the handle
    // is gone).
    Result<KeyPath> resolvePath(win::HKEY key, std::string_view subKey);
    // The hive brought up to date with its file.
    Hive& refreshed(size_t hive);
    void load(size_t hive, const registry::FileIdentity& seen);
    static registry::Key* find(registry::Key& root, const std::vector<std::string>& names);
    // The key behind a handle in the current hive, or why there is none.
    Result<registry::Key*> lookUp(win::HKEY key);
    win::HKEY newHandle(KeyPath path);
    // Runs change on a copy of the hive under the writers' lock and stores the result (in a batch,
    // in memory until the commit). change gives whether there is anything to write, or why the
    // change is refused.
    template <typename Change>
    Status modify(size_t hive, Change change);
    // Makes the folder and takes the hive's writers' lock.
    Result<std::unique_ptr<WriterLock>> takeLock(size_t hive);
    // Replaces the hive's file with root, to be flushed later.
    Status writeHive(size_t hive, const registry::Key& root);
    // Flushes the hives written since the last flush once they are due, or now.
    void syncWritten(bool now);
    void reportWriteFailure(size_t hive, const std::string& reason) const;

    std::filesystem::path folder_;
    std::array<std::filesystem::path, 6> files_;
    std::array<Hive, 6> hives_;
    std::array<KeyPath, 6> rootPaths_;
    // True while modify holds the writers' lock (a reload then must not take it again).
    bool locked_ = false;
    // A value of the Run key set (or deleted), for the desktop's autostart entries.
    struct AutostartChange {
        registry::Value value;
        bool deleted = false;
    };
    // Hands the change on once it is on disk: now, or at the commit of a batch.
    void mirrorAutostart(AutostartChange change);

    struct Batch {
        std::array<std::unique_ptr<WriterLock>, 6> locks;
        std::array<bool, 6> changed;  // zeroed: a batch is value-initialised
        std::vector<AutostartChange> autostart;
    };
    std::optional<Batch> batch_;
    // Hives written and not yet flushed to disk, and when the flush is due.
    std::array<bool, 6> unsynced_{};
    std::optional<std::chrono::steady_clock::time_point> syncDue_;
    // Handle n names slot n - 1; freed slots are reused lowest first.
    std::vector<std::optional<KeyPath>> handles_;
};

// The store of the process, made on first use in registryFolder().
RegistryStore& registryStore();

// A batch of the process store for the life of the object: commit writes it, otherwise it is
// dropped.
class RegistryBatch {
  public:
    RegistryBatch() { registryStore().beginBatch(); }
    ~RegistryBatch() { registryStore().abandonBatch(); }
    RegistryBatch(const RegistryBatch&) = delete;
    RegistryBatch& operator=(const RegistryBatch&) = delete;

    int32_t commit() { return registryStore().commitBatch(); }
};

// Where the registry lives: TARNIX_REGISTRY_DIR when set, else
// ${XDG_CONFIG_HOME:-~/.config}/tarnix/registry.
std::filesystem::path registryFolder();

// Replaces the store of the process with one on folder (tests point it at a temporary folder);
// an empty folder goes back to registryFolder(). Handles of the old store are no longer valid.
void setRegistryFolder(const std::filesystem::path& folder);

}  // namespace platform
