#include "support/registry_test.h"

namespace testsupport {

int32_t storeValue(platform::RegistryStore& store, const std::string& path, const std::string& name,
                   uint32_t type, const std::string& data, win::HKEY root) {
    win::HKEY key = 0;
    int32_t status = store.createKey(root, path, key);
    if (status == win::kRegOk) {
        status = store.setValue(key, name, type, reinterpret_cast<const uint8_t*>(data.data()),
                                static_cast<uint32_t>(data.size()));
    }
    store.closeKey(key);
    return status;
}

std::optional<std::pair<uint32_t, std::string>> storedValue(platform::RegistryStore& store,
                                                            const std::string& path,
                                                            const std::string& name,
                                                            win::HKEY root) {
    win::HKEY key = 0;
    uint32_t type = 0;
    uint32_t size = 0;
    std::optional<std::pair<uint32_t, std::string>> result;
    if (store.openKey(root, path, key) == win::kRegOk &&
        store.queryValue(key, name, &type, nullptr, &size) == win::kRegOk) {
        std::string data(size, '\0');
        store.queryValue(key, name, &type, reinterpret_cast<uint8_t*>(data.data()), &size);
        result.emplace(type, data);
    }
    store.closeKey(key);
    return result;
}

}  // namespace testsupport
