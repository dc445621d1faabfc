#include "storage/ini_key_array.h"

#include "platform/runtime/errors.h"

void IniKeyArray::ReDim(std::int16_t upper) {
    if (upper < 0) {
        platform::raise(platform::kSubscriptOutOfRange);
    }
    for (auto& column : columns_) {
        column.assign(static_cast<size_t>(upper) + 1, std::string());
    }
}

void IniKeyArray::ReDimPreserve(std::int16_t upper) {
    if (upper < 0) {
        platform::raise(platform::kSubscriptOutOfRange);
    }
    for (auto& column : columns_) {
        column.resize(static_cast<size_t>(upper) + 1);
    }
}

std::string& IniKeyArray::operator()(int first, int second) {
    const auto& self = *this;
    return const_cast<std::string&>(self(first, second));
}

const std::string& IniKeyArray::operator()(int first, int second) const {
    if (first < 0 || first > 2 || second < 0 || second > UBound2()) {
        platform::raise(platform::kSubscriptOutOfRange);
    }
    return columns_[static_cast<size_t>(first)][static_cast<size_t>(second)];
}
