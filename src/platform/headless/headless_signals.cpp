#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "platform/headless/headless_backend.h"

namespace platform {

namespace {

constexpr int kEndSessionSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Write end of the backend's signal pipe: all a handler may touch.
volatile std::sig_atomic_t gSignalPipeWrite = -1;

void onEndSessionSignal(int /*number*/) {
    const char byte = 1;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t written = ::write(gSignalPipeWrite, &byte, 1);
}

}  // namespace

void HeadlessBackend::endSessionOnSignals(bool realTime) {
    realTime_ = realTime;
    int ends[2];
    if (signalPipe_ >= 0 || ::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    signalPipe_ = ends[0];
    gSignalPipeWrite = ends[1];
    struct sigaction action {};
    action.sa_handler = onEndSessionSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kEndSessionSignals) {
        ::sigaction(number, &action, nullptr);
    }
}

void HeadlessBackend::stopSignals() {
    if (signalPipe_ < 0) {
        return;
    }
    for (const int number : kEndSessionSignals) {
        std::signal(number, SIG_DFL);
    }
    ::close(gSignalPipeWrite);
    gSignalPipeWrite = -1;
    ::close(signalPipe_);
    signalPipe_ = -1;
}

bool HeadlessBackend::signalPending(int timeoutMs) const {
    if (signalPipe_ < 0) {
        return false;
    }
    pollfd ready{signalPipe_, POLLIN, 0};
    return ::poll(&ready, 1, timeoutMs) > 0 && (ready.revents & POLLIN) != 0;
}

bool HeadlessBackend::takeSignal() {
    if (signalPipe_ < 0) {
        return false;
    }
    char bytes[64];
    bool any = false;
    while (::read(signalPipe_, bytes, sizeof bytes) > 0) {
        any = true;
    }
    return any;
}

}  // namespace platform
