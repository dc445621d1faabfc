// The stand-in community site on 127.0.0.1: serves the program's pages, or refuses, or hangs.
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <exception>
#include <iostream>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "site/listener.h"
#include "site/options.h"
#include "site/port_file.h"
#include "site/site_state.h"

namespace {

// Blocks until SIGINT or SIGTERM arrives or the lifetime has passed; SIGUSR1 resumes the listener.
void waitForStop(const sigset_t& signals, std::chrono::milliseconds lifetime,
                 site::Listener& listener) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + lifetime;
    for (;;) {
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) {
            return;
        }
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
        const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds);
        const timespec timeout{static_cast<std::time_t>(seconds.count()),
                               static_cast<long>(nanos.count())};
        const int taken = ::sigtimedwait(&signals, nullptr, &timeout);
        if (taken == SIGUSR1) {
            listener.resume();
        } else if (taken >= 0 || errno != EINTR) {
            return;  // a stop signal, or the time is up
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    site::SiteOptions options;
    try {
        const std::vector<std::string_view> args(argv + 1, argv + argc);
        options = site::parseOptions(args);
    } catch (const std::invalid_argument& e) {
        std::cerr << "tarnix-site: " << e.what() << '\n' << site::usage();
        return 2;
    }
    if (options.help) {
        std::cout << site::usage();
        return 0;
    }

    // Signals are taken synchronously, so they must be blocked before any thread starts.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    site::SiteState state(options.tokenRule);
    try {
        auto listener = site::startListener(options, state);
        if (!options.portFile.empty()) {
            site::writePortFile(options.portFile, listener->port());
        }
        std::cout << "listening 127.0.0.1:" << listener->port() << std::endl;
        waitForStop(signals, options.lifetime, *listener);
        listener->stop();
    } catch (const std::exception& e) {
        std::cerr << "tarnix-site: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
