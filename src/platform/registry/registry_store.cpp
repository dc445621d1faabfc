#include "platform/registry/registry_store.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/files/atomic_write.h"
#include "platform/files/paths.h"
#include "platform/files/writer_lock.h"
#include "platform/registry/autostart_entry.h"
#include "platform/registry/hive_format.h"
#include "platform/runtime/ansi.h"
#include "platform/runtime/env_setting.h"
#include "platform/runtime/text.h"
#include "platform/runtime/trace.h"

namespace platform {

using registry::FileIdentity;
using registry::Key;
using namespace win;

namespace {
struct Root {
    HKEY handle;
    const char* name;
};
constexpr std::array<Root, 6> kRoots = {{
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
    {HKEY_USERS, "HKEY_USERS"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
    {HKEY_DYN_DATA, "HKEY_DYN_DATA"},
}};

std::optional<size_t> rootIndex(HKEY key) {
    for (size_t i = 0; i < kRoots.size(); ++i) {
        if (kRoots[i].handle == key) {
            return i;
        }
    }
    return std::nullopt;
}

// The full name of a key, for the trace.
std::string keyName(size_t hive, const std::vector<std::string>& names) {
    std::string key = kRoots[hive].name;
    for (const std::string& name : names) {
        key += '\\';
        key += name;
    }
    return platform::quoted(fromAnsi(key));
}

// A value the program stored, for the trace: the key's full name, the value's name, its type and
// size.
void traceSet(size_t hive, const std::vector<std::string>& names, const std::string& valueName,
              uint32_t type, size_t size) {
    trace("registry", "set key=" + keyName(hive, names) +
                          " value=" + platform::quoted(fromAnsi(valueName)) +
                          " type=" + std::to_string(type) + " bytes=" + std::to_string(size));
}

// A write the system refused for want of permission is access denied; any other failure is a
// write that could not be made.
int32_t writeStatus(int errorNumber) {
    const bool refused = errorNumber == EACCES || errorNumber == EPERM || errorNumber == EROFS;
    return refused ? kRegAccessDenied : kRegCannotWrite;
}

// The status the store's operations return for a step's result.
template <typename T>
int32_t statusOf(const Result<T>& result) {
    return result ? kRegOk : static_cast<int32_t>(result.failure().code);
}

Failure badHandle() {
    return {kRegBadHandle, "not an open key"};
}

Failure keyDeleted() {
    return {kRegKeyDeleted, "the key is deleted"};
}

void report(const std::string& traceLine, const std::string& message) {
    std::fprintf(stderr, "tarnix: %s\n", message.c_str());
    trace("registry", traceLine);
}
}  // namespace

RegistryStore::RegistryStore(std::filesystem::path folder) : folder_(std::move(folder)) {
    for (size_t i = 0; i < rootPaths_.size(); ++i) {
        rootPaths_[i].hive = i;
        files_[i] = folder_ / (std::string(kRoots[i].name) + ".reg");
    }
}

RegistryStore::~RegistryStore() {
    abandonBatch();
    syncWritten(true);
}

std::filesystem::path RegistryStore::hiveFile(HKEY root) const {
    const auto index = rootIndex(root);
    return index ? files_[*index] : std::filesystem::path();
}

size_t RegistryStore::openHandles() const {
    size_t count = 0;
    for (const auto& slot : handles_) {
        count += slot.has_value();
    }
    return count;
}

const RegistryStore::KeyPath* RegistryStore::pathOf(HKEY key) const {
    if (const auto root = rootIndex(key)) {
        return &rootPaths_[*root];
    }
    if (key == 0 || key > handles_.size() || !handles_[key - 1]) {
        return nullptr;
    }
    return &*handles_[key - 1];
}

Result<RegistryStore::KeyPath> RegistryStore::resolvePath(HKEY key, std::string_view subKey) {
    const KeyPath* base = pathOf(key);
    if (!base) {
        return badHandle();
    }
    if (!find(refreshed(base->hive).root, base->names)) {
        return keyDeleted();  // nothing is made, opened or deleted below a deleted key
    }
    KeyPath path = *base;
    for (auto& name : registry::splitPath(toAnsi(subKey))) {
        path.names.push_back(std::move(name));
    }
    return path;
}

Key* RegistryStore::find(Key& root, const std::vector<std::string>& names) {
    Key* key = &root;
    for (const auto& name : names) {
        key = key->findSubkey(name);
        if (!key) {
            return nullptr;
        }
    }
    return key;
}

RegistryStore::Hive& RegistryStore::refreshed(size_t hive) {
    syncWritten(false);
    Hive& state = hives_[hive];
    const auto& file = files_[hive];
    // A file replaced between looking and reading is looked at again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const FileIdentity now = registry::identityOf(file);
        if (state.known && now == state.identity) {
            break;
        }
        load(hive, now);
    }
    return state;
}

void RegistryStore::load(size_t hive, const FileIdentity& seen) {
    Hive& state = hives_[hive];
    const auto& file = files_[hive];
    state = Hive{};
    state.known = true;
    if (!seen.exists) {
        return;
    }
    const Result<registry::FileContent> read = registry::readWhole(file);
    if (!read) {
        const std::string& error = read.failure().reason;
        state.identity = registry::identityOf(file);
        state.unreadable = state.identity.exists;
        if (state.unreadable) {
            report("unreadable file=" + platform::quoted(file.string()) +
                       " reason=" + platform::quoted(error) + " aside=\"\"",
                   "registry file " + file.string() + " cannot be read (" + error +
                       "); changes to " + kRoots[hive].name + " are refused");
        }
        return;
    }
    Result<Key> parsed = registry::parseHive(kRoots[hive].name, read->bytes);
    if (parsed) {
        state.root = std::move(parsed).value();
        state.identity = read->identity;
        return;
    }
    const std::string& reason = parsed.failure().reason;
    // Kept as it is, and every write to it refused, when it cannot be moved aside.
    auto refuseWrites = [&](const std::string& error) {
        state.identity = read->identity;
        state.unreadable = true;
        report("unreadable file=" + platform::quoted(file.string()) +
                   " reason=" + platform::quoted(reason) + " aside=\"\"",
               "registry file " + file.string() + " cannot be read (" + reason +
                   ") nor moved aside (" + error + "); changes to " + kRoots[hive].name +
                   " are refused");
    };
    // Moved only while no writer can replace it, and only if it is still the file just read.
    std::optional<Result<WriterLock>> lock;
    if (!locked_ && !(batch_ && batch_->locks[hive])) {
        lock.emplace(WriterLock::acquire(file));
    }
    if (lock && !*lock) {
        refuseWrites(lock->failure().reason);
        return;
    }
    if (registry::identityOf(file) != read->identity) {
        state.known = false;  // replaced meanwhile: read again at the next access
        return;
    }
    const Result<std::filesystem::path> aside = registry::moveAside(file);
    lock.reset();
    if (!aside) {
        refuseWrites(aside.failure().reason);
        return;
    }
    report("unreadable file=" + platform::quoted(file.string()) + " reason=" +
               platform::quoted(reason) + " aside=" + platform::quoted(aside->string()),
           "registry file " + file.string() + " cannot be read (" + reason + "); kept as " +
               aside->string() + ", " + kRoots[hive].name + " starts empty");
}

Result<Key*> RegistryStore::lookUp(HKEY key) {
    const auto path = pathOf(key);
    if (!path) {
        return badHandle();
    }
    Key* found = find(refreshed(path->hive).root, path->names);
    if (!found) {
        return keyDeleted();
    }
    return found;
}

HKEY RegistryStore::newHandle(KeyPath path) {
    for (size_t i = 0; i < handles_.size(); ++i) {
        if (!handles_[i]) {
            handles_[i] = std::move(path);
            return static_cast<HKEY>(i + 1);
        }
    }
    handles_.push_back(std::move(path));
    return static_cast<HKEY>(handles_.size());
}

void RegistryStore::reportWriteFailure(size_t hive, const std::string& reason) const {
    const auto& file = files_[hive];
    report("write-failed file=" + platform::quoted(file.string()) +
               " reason=" + platform::quoted(reason),
           "registry file " + file.string() + " not written: " + reason);
}

Result<std::unique_ptr<WriterLock>> RegistryStore::takeLock(size_t hive) {
    std::error_code folderError;
    std::filesystem::create_directories(folder_, folderError);
    if (folderError) {
        const std::string reason =
            "cannot make the folder " + folder_.string() + ": " + folderError.message();
        reportWriteFailure(hive, reason);
        return Failure{kRegCannotWrite, reason};
    }
    Result<WriterLock> lock = WriterLock::acquire(files_[hive]);
    if (!lock) {
        reportWriteFailure(hive, lock.failure().reason);
        return Failure{writeStatus(lock.failure().code), lock.failure().reason};
    }
    return std::make_unique<WriterLock>(std::move(lock).value());
}

Status RegistryStore::writeHive(size_t hive, const Key& root) {
    const auto& file = files_[hive];
    struct stat written {};
    const AtomicWrite how{
        .newFileMode = registry::kHiveFileMode, .flush = false, .written = &written};
    const Status replaced =
        writeFileAtomically(file, registry::formatHive(kRoots[hive].name, root), how);
    if (!replaced) {
        const std::string reason =
            "cannot write " + file.string() + ": " + replaced.failure().reason;
        reportWriteFailure(hive, reason);
        return Failure{writeStatus(replaced.failure().code), reason};
    }
    hives_[hive].identity = registry::identityOf(written);
    unsynced_[hive] = true;
    if (!syncDue_) {
        syncDue_ = std::chrono::steady_clock::now() + kSyncDelay;
    }
    return {};
}

void RegistryStore::syncWritten(bool now) {
    if (!syncDue_ || (!now && std::chrono::steady_clock::now() < *syncDue_)) {
        return;
    }
    syncDue_.reset();
    for (size_t hive = 0; hive < files_.size(); ++hive) {
        if (std::exchange(unsynced_[hive], false)) {
            // Every reader already sees the hive as written; a flush that fails only leaves it
            // exposed to a power loss, as any write before its flush is.
            static_cast<void>(syncToDisk(files_[hive]));
        }
    }
}

template <typename Change>
Status RegistryStore::modify(size_t hive, Change change) {
    std::unique_ptr<WriterLock> ownLock;
    std::unique_ptr<WriterLock>& lock = batch_ ? batch_->locks[hive] : ownLock;
    if (!lock) {
        Result<std::unique_ptr<WriterLock>> taken = takeLock(hive);
        if (!taken) {
            return taken.failure();
        }
        lock = std::move(taken).value();
    }
    locked_ = true;
    Hive& state = refreshed(hive);
    locked_ = false;
    if (state.unreadable) {
        return Failure{kRegCorrupt, "the hive file cannot be read"};
    }
    Key next = state.root;
    const Result<bool> changed = change(next);
    if (!changed) {
        return changed.failure();
    }
    if (!*changed) {
        return {};
    }
    if (batch_) {
        batch_->changed[hive] = true;  // written at the commit
    } else if (Status written = writeHive(hive, next); !written) {
        return written;
    }
    state.root = std::move(next);
    return {};
}

void RegistryStore::beginBatch() {
    abandonBatch();
    batch_.emplace();
}

int32_t RegistryStore::commitBatch() {
    int32_t status = kRegOk;
    bool currentUserKept = true;
    for (size_t hive = 0; batch_ && hive < hives_.size(); ++hive) {
        if (!batch_->changed[hive]) {
            continue;
        }
        if (const Status written = writeHive(hive, hives_[hive].root); !written) {
            hives_[hive].known = false;  // back to what the file holds
            status = status == kRegOk ? statusOf(written) : status;
            currentUserKept = currentUserKept && kRoots[hive].handle != HKEY_CURRENT_USER;
        }
    }
    std::vector<AutostartChange> autostart;
    if (batch_ && currentUserKept) {
        autostart = std::move(batch_->autostart);
    }
    batch_.reset();
    for (AutostartChange& change : autostart) {
        mirrorAutostart(std::move(change));
    }
    return status;
}

void RegistryStore::mirrorAutostart(AutostartChange change) {
    if (batch_) {
        batch_->autostart.push_back(std::move(change));
    } else if (change.deleted) {
        autostartValueDeleted(change.value.name);
    } else {
        autostartValueSet(change.value.name, change.value.type, change.value.data);
    }
}

void RegistryStore::abandonBatch() {
    for (size_t hive = 0; batch_ && hive < hives_.size(); ++hive) {
        if (batch_->changed[hive]) {
            hives_[hive].known = false;
        }
    }
    batch_.reset();
}

int32_t RegistryStore::openKey(HKEY key, std::string_view subKey, HKEY& result) {
    result = 0;
    Result<KeyPath> path = resolvePath(key, subKey);
    if (!path) {
        return statusOf(path);
    }
    if (!find(refreshed(path->hive).root, path->names)) {
        return kRegNotFound;
    }
    result = newHandle(std::move(path).value());
    return kRegOk;
}

int32_t RegistryStore::createKey(HKEY key, std::string_view subKey, HKEY& result) {
    result = 0;
    Result<KeyPath> path = resolvePath(key, subKey);
    if (!path) {
        return statusOf(path);
    }
    const std::vector<std::string>& names = path->names;
    for (const auto& name : names) {
        if (!registry::validKeyName(name)) {
            return kRegBadParameter;
        }
    }
    if (!find(refreshed(path->hive).root, names)) {
        const size_t baseDepth = pathOf(key)->names.size();
        const Status created = modify(path->hive, [&](Key& root) -> Result<bool> {
            Key* at = &root;
            bool changed = false;
            for (size_t depth = 0; depth < names.size(); ++depth) {
                Key* next = at->findSubkey(names[depth]);
                if (!next && depth < baseDepth) {
                    return keyDeleted();  // by another process meanwhile
                }
                changed = changed || !next;
                at = next ? next : &at->subkey(names[depth]);
            }
            return changed;
        });
        if (!created) {
            return statusOf(created);
        }
    }
    result = newHandle(std::move(path).value());
    return kRegOk;
}

int32_t RegistryStore::closeKey(HKEY key) {
    if (rootIndex(key)) {
        return kRegOk;
    }
    if (key == 0 || key > handles_.size() || !handles_[key - 1]) {
        return kRegBadHandle;
    }
    handles_[key - 1].reset();
    return kRegOk;
}

int32_t RegistryStore::queryValue(HKEY key, std::string_view name, uint32_t* type, uint8_t* data,
                                  uint32_t* size) {
    if (data && !size) {
        return kRegBadParameter;
    }
    const Result<Key*> found = lookUp(key);
    if (!found) {
        return statusOf(found);
    }
    const auto* value = (*found)->findValue(toAnsi(name));
    if (!value) {
        return kRegNotFound;
    }
    const auto count = static_cast<uint32_t>(value->data.size());
    if (type) {
        *type = value->type;
    }
    if (data) {
        if (*size < count) {
            *size = count;
            return kRegMoreData;
        }
        std::memcpy(data, value->data.data(), count);
    }
    if (size) {
        *size = count;
    }
    return kRegOk;
}

int32_t RegistryStore::setValue(HKEY key, std::string_view name, uint32_t type, const uint8_t* data,
                                uint32_t size) {
    if (!data && size > 0) {
        return kRegBadParameter;
    }
    const Result<Key*> found = lookUp(key);
    if (!found) {
        return statusOf(found);
    }
    const std::string valueName = toAnsi(name);
    const std::string bytes =
        size > 0 ? std::string(reinterpret_cast<const char*>(data), size) : "";
    auto unchanged = [&](const Key& at) {
        const auto* old = at.findValue(valueName);
        return old && old->type == type && old->data == bytes;
    };
    const KeyPath path = *pathOf(key);  // lookUp found it open
    Status stored;
    if (!unchanged(**found)) {
        stored = modify(path.hive, [&](Key& root) -> Result<bool> {
            Key* at = find(root, path.names);
            if (!at) {
                return keyDeleted();
            }
            const bool changed = !unchanged(*at);
            at->setValue(valueName, type, bytes);
            return changed;
        });
    }
    if (stored) {
        traceSet(path.hive, path.names, valueName, type, bytes.size());
        if (isAutostartKey(kRoots[path.hive].handle, path.names)) {
            // Named as the store keeps the name: the first spelling stored.
            const Key* at = find(hives_[path.hive].root, path.names);
            const auto* value = at ? at->findValue(valueName) : nullptr;
            mirrorAutostart({{value ? value->name : valueName, type, bytes}});
        }
    }
    return statusOf(stored);
}

int32_t RegistryStore::deleteValue(HKEY key, std::string_view name) {
    // Looked up first: deleting what is not there must not make the folder or take the lock.
    const Result<Key*> found = lookUp(key);
    if (!found) {
        return statusOf(found);
    }
    const std::string valueName = toAnsi(name);
    const auto path = pathOf(key);
    if (refreshed(path->hive).unreadable) {
        return kRegCorrupt;  // as every other write to a hive that cannot be read
    }
    const auto* old = (*found)->findValue(valueName);
    if (!old) {
        return kRegNotFound;
    }
    const std::string storedName = old->name;
    const Status deleted = modify(path->hive, [&](Key& root) -> Result<bool> {
        Key* at = find(root, path->names);
        if (!at) {
            return keyDeleted();
        }
        if (!at->removeValue(valueName)) {
            return Failure{kRegNotFound, "no such value"};  // by another process meanwhile
        }
        return true;
    });
    if (deleted) {
        trace("registry", "delete key=" + keyName(path->hive, path->names) +
                              " value=" + platform::quoted(fromAnsi(valueName)));
        if (isAutostartKey(kRoots[path->hive].handle, path->names)) {
            mirrorAutostart({{storedName, 0, {}}, true});
        }
    }
    return statusOf(deleted);
}

int32_t RegistryStore::deleteKey(HKEY key, std::string_view subKey) {
    const auto base = pathOf(key);
    Result<KeyPath> resolved = resolvePath(key, subKey);
    if (!resolved) {
        return statusOf(resolved);
    }
    KeyPath& path = *resolved;
    if (path.names.size() == base->names.size()) {
        return kRegBadParameter;  // a key does not delete itself
    }
    const std::string last = path.names.back();
    path.names.pop_back();
    // Looked up first: deleting what is not there must not make the folder or take the lock.
    Hive& state = refreshed(path.hive);
    if (state.unreadable) {
        return kRegCorrupt;  // as every other write to a hive that cannot be read
    }
    const Key* current = find(state.root, path.names);
    if (!current || !current->findSubkey(last)) {
        return kRegNotFound;
    }
    std::vector<std::string> doomedPath = path.names;
    doomedPath.push_back(last);
    const bool autostart = isAutostartKey(kRoots[path.hive].handle, doomedPath);
    std::vector<std::string> autostartNames;  // the values that go with the key
    const Status deleted = modify(path.hive, [&](Key& root) -> Result<bool> {
        Key* parent = find(root, path.names);
        Key* doomed = parent ? parent->findSubkey(last) : nullptr;
        if (!doomed) {
            return Failure{kRegNotFound, "no such key"};
        }
        if (!doomed->subkeys.empty()) {
            return Failure{kRegAccessDenied, "the key has subkeys"};
        }
        if (autostart) {
            for (const auto& value : doomed->values) {
                autostartNames.push_back(value.name);
            }
        }
        return parent->removeSubkey(last);
    });
    if (deleted) {
        trace("registry", "delete key=" + keyName(path.hive, doomedPath));
        for (std::string& name : autostartNames) {
            mirrorAutostart({{std::move(name), 0, {}}, true});
        }
    }
    return statusOf(deleted);
}

int32_t RegistryStore::enumKey(HKEY key, uint32_t index, char* name, uint32_t nameSize) {
    if (!name) {
        return kRegBadParameter;
    }
    const Result<Key*> found = lookUp(key);
    if (!found) {
        return statusOf(found);
    }
    if (index >= (*found)->subkeys.size()) {
        return kRegNoMoreItems;
    }
    const std::string& subName = (*found)->subkeys[index].name;
    if (subName.size() + 1 > nameSize) {
        return kRegMoreData;
    }
    std::memcpy(name, subName.data(), subName.size());
    name[subName.size()] = '\0';
    return kRegOk;
}

int32_t RegistryStore::enumValue(HKEY key, uint32_t index, char* name, uint32_t* nameSize,
                                 uint32_t* type, uint8_t* data, uint32_t* dataSize) {
    if (!name || !nameSize || (data && !dataSize)) {
        return kRegBadParameter;
    }
    const Result<Key*> found = lookUp(key);
    if (!found) {
        return statusOf(found);
    }
    if (index >= (*found)->values.size()) {
        return kRegNoMoreItems;
    }
    const auto& value = (*found)->values[index];
    const auto count = static_cast<uint32_t>(value.data.size());
    if (value.name.size() + 1 > *nameSize) {
        return kRegMoreData;
    }
    if (data && *dataSize < count) {
        *dataSize = count;
        return kRegMoreData;
    }
    std::memcpy(name, value.name.data(), value.name.size());
    name[value.name.size()] = '\0';
    *nameSize = static_cast<uint32_t>(value.name.size());
    if (type) {
        *type = value.type;
    }
    if (data) {
        std::memcpy(data, value.data.data(), count);
    }
    if (dataSize) {
        *dataSize = count;
    }
    return kRegOk;
}

std::filesystem::path registryFolder() {
    if (const auto dir = envText("TARNIX_REGISTRY_DIR")) {
        return *dir;
    }
    std::optional<std::filesystem::path> config = configHome();
    if (!config) {
        // The settings need a folder even without a usable HOME: the account's own home.
        const passwd* user = ::getpwuid(::getuid());
        config = std::filesystem::path(user && user->pw_dir ? user->pw_dir : ".") / ".config";
    }
    return *config / "tarnix" / "registry";
}

namespace {
std::unique_ptr<RegistryStore>& processStore() {
    static std::unique_ptr<RegistryStore> store;
    return store;
}
}  // namespace

RegistryStore& registryStore() {
    auto& store = processStore();
    if (!store) {
        store = std::make_unique<RegistryStore>(registryFolder());
    }
    return *store;
}

void setRegistryFolder(const std::filesystem::path& folder) {
    processStore() = std::make_unique<RegistryStore>(folder.empty() ? registryFolder() : folder);
}

}  // namespace platform
