#include <httplib.h>
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "site/listener.h"
#include "site/pages.h"

namespace site {

namespace {

// Serves the page table with cpp-httplib on its own threads.
class AnswerListener : public Listener {
  public:
    AnswerListener(std::uint16_t port, SiteState& state) {
        server_.set_pre_routing_handler(
            [&state](const httplib::Request& request, httplib::Response& response) {
                servePage(state, request, response);
                return httplib::Server::HandlerResponse::Handled;
            });
        // SO_REUSEADDR only: the library's default SO_REUSEPORT would let a second site share a
        // port that is already taken instead of failing.
        server_.set_socket_options([](socket_t sock) {
            const int yes = 1;
            ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        });
        // Short keep-alive, so stopping never waits long for an idle client.
        server_.set_keep_alive_timeout(1);
        if (port == 0) {
            const int chosen = server_.bind_to_any_port("127.0.0.1");
            if (chosen <= 0) {
                throw std::runtime_error("cannot listen on a free port of 127.0.0.1");
            }
            port_ = static_cast<std::uint16_t>(chosen);
        } else {
            if (!server_.bind_to_port("127.0.0.1", port)) {
                throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
            }
            port_ = port;
        }
        thread_ = std::thread([this] {
            server_.listen_after_bind();
            finished_ = true;
        });
        // A stop() before the server runs would be lost, so wait until it does.
        while (!server_.is_running() && !finished_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (finished_) {
            thread_.join();
            throw std::runtime_error("the server on 127.0.0.1:" + std::to_string(port_) +
                                     " ended at once");
        }
    }

    ~AnswerListener() override { stop(); }

    std::uint16_t port() const override { return port_; }

    void stop() override {
        if (thread_.joinable()) {
            server_.stop();
            thread_.join();
        }
    }

  private:
    httplib::Server server_;
    std::uint16_t port_ = 0;
    std::atomic<bool> finished_ = false;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<Listener> startAnswerListener(std::uint16_t port, SiteState& state) {
    return std::make_unique<AnswerListener>(port, state);
}

}  // namespace site
