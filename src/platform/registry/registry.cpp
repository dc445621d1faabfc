#include "platform/registry/registry.h"

#include "platform/registry/registry_store.h"

namespace win {

using platform::registryStore;

int32_t RegOpenKeyA(HKEY key, std::string_view subKey, HKEY& result) {
    return registryStore().openKey(key, subKey, result);
}

int32_t RegCreateKeyA(HKEY key, std::string_view subKey, HKEY& result) {
    return registryStore().createKey(key, subKey, result);
}

int32_t RegCloseKey(HKEY key) {
    return registryStore().closeKey(key);
}

int32_t RegQueryValueExA(HKEY key, std::string_view name, uint32_t* type, uint8_t* data,
                         uint32_t* size) {
    return registryStore().queryValue(key, name, type, data, size);
}

int32_t RegSetValueExA(HKEY key, std::string_view name, uint32_t type, const uint8_t* data,
                       uint32_t size) {
    return registryStore().setValue(key, name, type, data, size);
}

int32_t RegDeleteValueA(HKEY key, std::string_view name) {
    return registryStore().deleteValue(key, name);
}

int32_t RegDeleteKeyA(HKEY key, std::string_view subKey) {
    return registryStore().deleteKey(key, subKey);
}

int32_t RegEnumKeyA(HKEY key, uint32_t index, char* name, uint32_t nameSize) {
    return registryStore().enumKey(key, index, name, nameSize);
}

int32_t RegEnumValueA(HKEY key, uint32_t index, char* name, uint32_t* nameSize, uint32_t* type,
                      uint8_t* data, uint32_t* dataSize) {
    return registryStore().enumValue(key, index, name, nameSize, type, data, dataSize);
}

}  // namespace win
