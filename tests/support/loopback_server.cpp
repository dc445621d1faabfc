#include "support/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

#include <httplib.h>

namespace testsupport {

namespace {

// A TCP socket bound to 127.0.0.1 on a port the system picks; returns the port.
int bindLoopback(int socket) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("cannot bind a loopback socket");
    }
    return ntohs(address.sin_port);
}

}  // namespace

LoopbackServer::LoopbackServer() : server_(std::make_unique<httplib::Server>()) {
    auto& server = *server_;
    server.set_keep_alive_max_count(1);
    server.set_pre_routing_handler([this](const httplib::Request&, httplib::Response&) {
        ++requests_;
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server.Get(R"(/status/(\d+))",
               [](const httplib::Request& request, httplib::Response& response) {
                   response.status = std::stoi(request.matches[1]);
                   response.set_content("status " + std::string(request.matches[1]), "text/plain");
               });
    server.Get(R"(/redirect/(\d+))",
               [](const httplib::Request& request, httplib::Response& response) {
                   const int left = std::stoi(request.matches[1]);
                   if (left == 0) {
                       response.set_content("landed", "text/plain");
                   } else {
                       response.set_redirect("/redirect/" + std::to_string(left - 1));
                   }
               });
    server.Get(R"(/bytes/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
        const size_t total = std::stoull(request.matches[1]);
        response.set_content_provider(
            total, "text/plain", [](size_t offset, size_t length, httplib::DataSink& sink) {
                const std::string chunk(std::min<size_t>(length, 64 * 1024), 'x');
                (void)offset;
                return sink.write(chunk.data(), chunk.size());
            });
    });
    server.Get(R"(/header/(.+))", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(request.get_header_value(request.matches[1]), "text/plain");
    });
    server.Get(R"(/page/(.+))",
               [this](const httplib::Request& request, httplib::Response& response) {
                   const std::lock_guard lock(pagesLock_);
                   const auto found = pages_.find(request.matches[1]);
                   if (found == pages_.end()) {
                       response.status = 404;
                       return;
                   }
                   response.set_content(found->second, "text/html");
               });
    server.Get(R"(/target.*)", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(request.target, "text/plain");
    });
    port_ = server.bind_to_any_port("127.0.0.1");
    if (port_ <= 0) {
        throw std::runtime_error("cannot start the loopback server");
    }
    thread_ = std::thread([&server] { server.listen_after_bind(); });
    // stop() only takes effect once the server runs.
    while (!server.is_running()) {
        std::this_thread::yield();
    }
}

LoopbackServer::~LoopbackServer() {
    server_->stop();
    thread_.join();
}

std::string LoopbackServer::url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

void LoopbackServer::setPage(const std::string& name, const std::string& html) {
    const std::lock_guard lock(pagesLock_);
    pages_[name] = html;
}

int LoopbackServer::requestCount() const {
    return requests_.load();
}

SilentServer::SilentServer() : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
    port_ = bindLoopback(socket_);
    if (::listen(socket_, 16) != 0) {
        throw std::runtime_error("cannot listen on a loopback socket");
    }
}

SilentServer::~SilentServer() {
    ::close(socket_);
}

std::string SilentServer::url() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/";
}

int closedLoopbackPort() {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    const int port = bindLoopback(socket);
    ::close(socket);
    return port;
}

}  // namespace testsupport
