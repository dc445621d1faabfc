#pragma once

#include <deque>
#include <utility>

#include "platform/runtime/backend.h"

typedef union _GdkEvent GdkEvent;

namespace platform {

// What the user did, as the toolkit's handlers saw it: they only queue typed events here, and the
// model takes them in its own time (never from inside a handler).
class UserInput {
  public:
    UserInput() = default;
    ~UserInput();
    UserInput(const UserInput&) = delete;
    UserInput& operator=(const UserInput&) = delete;

    void post(InputEvent event) { queued_.push_back(std::move(event)); }
    bool empty() const { return queued_.empty(); }
    std::deque<InputEvent> take() { return std::exchange(queued_, {}); }

    // The last button press: a pop-up menu opened because of it grabs the pointer with it.
    void rememberPress(const GdkEvent* press);
    const GdkEvent* lastPress() const { return lastPress_; }

  private:
    std::deque<InputEvent> queued_;
    GdkEvent* lastPress_ = nullptr;
};

}  // namespace platform
