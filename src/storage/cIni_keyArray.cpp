#include "storage/cIni_keyArray.h"

#include "platform/runtime/errors.h"

void IniKeyArray::ReDim(std::int16_t upper) {
    if (upper < 0) {
        platform::raise(platform::kSubscriptOutOfRange);
    }
    rows_.assign(static_cast<size_t>(upper) + 1, {});
}

void IniKeyArray::ReDimPreserve(std::int16_t upper) {
    if (upper < 0) {
        platform::raise(platform::kSubscriptOutOfRange);
    }
    if (static_cast<size_t>(upper) == rows_.size()) {
        rows_.emplace_back();  // the listing's one more row
    } else {
        rows_.resize(static_cast<size_t>(upper) + 1);
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
    return rows_[static_cast<size_t>(second)][static_cast<size_t>(first)];
}
