#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <vector>

#include "site/listener.h"
#include "site/loopback_socket.h"

namespace site {

namespace {

// Accepts connections and holds them open without reading or writing, until stopped. Beyond
// kHeldLimit connections it stops accepting, and the kernel's backlog keeps newer ones waiting.
class HangListener : public Listener {
  public:
    static constexpr std::size_t kHeldLimit = 512;

    explicit HangListener(std::uint16_t port) : listenFd_(listenLoopback(port)) {
        port_ = boundPort(listenFd_);
        thread_ = std::thread([this] { run(); });
    }

    ~HangListener() override { stop(); }

    std::uint16_t port() const override { return port_; }

    void stop() override {
        if (!thread_.joinable()) {
            return;
        }
        wake_.wake();
        thread_.join();
        for (int fd : held_) {
            ::close(fd);
        }
        held_.clear();
        ::close(listenFd_);
    }

  private:
    void run() {
        for (;;) {
            pollfd fds[2] = {{wake_.readFd(), POLLIN, 0}, {listenFd_, POLLIN, 0}};
            const nfds_t count = held_.size() < kHeldLimit ? 2 : 1;
            if (::poll(fds, count, -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return;
            }
            if (fds[0].revents != 0) {
                return;
            }
            if (count == 2 && (fds[1].revents & POLLIN) != 0) {
                const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
                if (fd >= 0) {
                    held_.push_back(fd);
                }
            }
        }
    }

    WakePipe wake_;
    int listenFd_;
    std::uint16_t port_ = 0;
    std::vector<int> held_;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<Listener> startHangListener(std::uint16_t port) {
    return std::make_unique<HangListener>(port);
}

}  // namespace site
