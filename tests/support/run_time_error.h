#pragma once

#include <utility>

#include "platform/runtime/errors.h"

namespace testsupport {

// The number of the run-time error that call raises, or 0 when it raises none.
template <typename Call>
int errorNumberOf(Call&& call) {
    try {
        std::forward<Call>(call)();
    } catch (const platform::RuntimeError& error) {
        return error.number();
    }
    return 0;
}

}  // namespace testsupport
