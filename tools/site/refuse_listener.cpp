#include <unistd.h>

#include "site/listener.h"
#include "site/loopback_socket.h"

namespace site {

namespace {

// Binding proves the port free (or picks one); closing it without listening leaves it refusing.
class RefuseListener : public Listener {
  public:
    explicit RefuseListener(std::uint16_t port) {
        const int fd = bindLoopback(port);
        port_ = boundPort(fd);
        ::close(fd);
    }
    std::uint16_t port() const override { return port_; }
    void stop() override {}

  private:
    std::uint16_t port_ = 0;
};

}  // namespace

std::unique_ptr<Listener> startRefuseListener(std::uint16_t port) {
    return std::make_unique<RefuseListener>(port);
}

}  // namespace site
