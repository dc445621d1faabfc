#include "site/loopback_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace site {

namespace {

[[noreturn]] void fail(const std::string& what, int error) {
    throw std::runtime_error(what + ": " + std::strerror(error));
}

}  // namespace

int bindLoopback(std::uint16_t port, bool reuseAddress) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        fail("cannot make a socket", errno);
    }
    const int yes = 1;
    if (reuseAddress) {
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int error = errno;
        ::close(fd);
        fail("cannot bind 127.0.0.1:" + std::to_string(port), error);
    }
    return fd;
}

int listenLoopback(std::uint16_t port, bool reuseAddress) {
    const int fd = bindLoopback(port, reuseAddress);
    if (::listen(fd, SOMAXCONN) != 0) {
        const int error = errno;
        ::close(fd);
        fail("cannot listen on 127.0.0.1:" + std::to_string(port), error);
    }
    return fd;
}

std::uint16_t boundPort(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        fail("cannot read the bound port", errno);
    }
    return ntohs(address.sin_port);
}

WakePipe::WakePipe() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        fail("cannot make a pipe", errno);
    }
    read_ = fds[0];
    write_ = fds[1];
}

WakePipe::~WakePipe() {
    ::close(read_);
    ::close(write_);
}

void WakePipe::wake() {
    const char token = 0;
    while (::write(write_, &token, 1) < 0 && errno == EINTR) {
    }
}

void WakePipe::drain() {
    char tokens[64];
    while (::read(read_, tokens, sizeof tokens) > 0) {
    }
}

}  // namespace site
