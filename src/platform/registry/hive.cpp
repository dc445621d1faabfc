#include "platform/registry/hive.h"

#include <algorithm>

#include "platform/runtime/ansi.h"

namespace platform::registry {

namespace {
template <typename Items>
auto findNamed(Items& items, std::string_view name) {
    return std::find_if(items.begin(), items.end(),
                        [&](const auto& item) { return sameName(item.name, name); });
}

// The first subkey not ordered before subName (subkeys are kept in nameLess order).
template <typename Keys>
auto lowerBound(Keys& keys, std::string_view subName) {
    return std::lower_bound(
        keys.begin(), keys.end(), subName,
        [](const Key& key, std::string_view n) { return nameLess(key.name, n); });
}

template <typename Keys>
auto findSorted(Keys& keys, std::string_view subName) {
    auto at = lowerBound(keys, subName);
    return at != keys.end() && sameName(at->name, subName) ? at : keys.end();
}
}  // namespace

bool sameName(std::string_view a, std::string_view b) {
    return ansiEqualIgnoringCase(a, b);
}

bool nameLess(std::string_view a, std::string_view b) {
    return ansiLessIgnoringCase(a, b);
}

Key* Key::findSubkey(std::string_view subName) {
    auto it = findSorted(subkeys, subName);
    return it == subkeys.end() ? nullptr : &*it;
}

const Key* Key::findSubkey(std::string_view subName) const {
    auto it = findSorted(subkeys, subName);
    return it == subkeys.end() ? nullptr : &*it;
}

Key& Key::subkey(std::string_view subName) {
    // Keys read in file order arrive sorted: they are appended without a search.
    if (subkeys.empty() || nameLess(subkeys.back().name, subName)) {
        return subkeys.emplace_back(Key{std::string(subName), {}, {}});
    }
    auto at = lowerBound(subkeys, subName);
    if (sameName(at->name, subName)) {
        return *at;
    }
    return *subkeys.insert(at, Key{std::string(subName), {}, {}});
}

bool Key::removeSubkey(std::string_view subName) {
    auto it = findSorted(subkeys, subName);
    if (it == subkeys.end()) {
        return false;
    }
    subkeys.erase(it);
    return true;
}

Value* Key::findValue(std::string_view valueName) {
    auto it = findNamed(values, valueName);
    return it == values.end() ? nullptr : &*it;
}

const Value* Key::findValue(std::string_view valueName) const {
    auto it = findNamed(values, valueName);
    return it == values.end() ? nullptr : &*it;
}

void Key::setValue(std::string_view valueName, uint32_t type, std::string data) {
    if (Value* existing = findValue(valueName)) {
        existing->type = type;
        existing->data = std::move(data);
        return;
    }
    values.push_back(Value{std::string(valueName), type, std::move(data)});
}

bool Key::removeValue(std::string_view valueName) {
    auto it = findNamed(values, valueName);
    if (it == values.end()) {
        return false;
    }
    values.erase(it);
    return true;
}

std::vector<std::string> splitPath(std::string_view path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > start) {
            parts.emplace_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

bool validKeyName(std::string_view name) {
    return !name.empty() && std::none_of(name.begin(), name.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b == '\\' || b < 0x20 || b == 0x7F;
    });
}

}  // namespace platform::registry
