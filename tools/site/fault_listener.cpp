#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <list>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "site/fault_cycle.h"
#include "site/listener.h"
#include "site/loopback_socket.h"
#include "site/pages.h"
#include "site/raw_http.h"

namespace site {

namespace {

using std::chrono::milliseconds;

constexpr std::size_t kHeadLimit = 16 * 1024;
constexpr milliseconds kHeadTimeout{2000};
// How long the site stays away after a poll that precedes a refusal, unless resumed sooner.
constexpr milliseconds kRefuseWindow{250};
constexpr milliseconds kTrickleStep{50};
constexpr std::size_t kTrickleLength = std::size_t{1} << 20;
constexpr std::size_t kHugeLength = std::size_t{100} << 20;
// Connections held by hangs, trickles and huge answers; a fault beyond it just closes.
constexpr std::size_t kWorkerLimit = 64;
constexpr std::string_view kLoopPath = "/_loop";
// The start of a TLS greeting and some bytes no HTTP answer begins with.
constexpr std::string_view kGarbage =
    "\x16\x03\x01\x00\xa5\x01\x00\x00\xa1\x03\x03\x00\xff not a web server\r\n\r\n\x7f";

enum class Wait { Ready, Woken, TimedOut };

// Waits until fd has one of events, or the wake pipe is readable (the listener stops), or timeout.
Wait waitFor(int fd, short events, int wakeFd, milliseconds timeout) {
    pollfd fds[2] = {{wakeFd, POLLIN, 0}, {fd, events, 0}};
    for (;;) {
        const int ready = ::poll(fds, 2, static_cast<int>(timeout.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0 || fds[0].revents != 0) {
            return Wait::Woken;
        }
        return ready == 0 ? Wait::TimedOut : Wait::Ready;
    }
}

// False once the peer is gone or the listener stops.
bool sendAll(int fd, std::string_view bytes, int wakeFd) {
    while (!bytes.empty()) {
        if (waitFor(fd, POLLOUT, wakeFd, milliseconds(-1)) != Wait::Ready) {
            return false;
        }
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

// The request head, or nothing when the peer sends none in time, too much, or closes.
std::optional<std::string> readHead(int fd, int wakeFd) {
    std::string head;
    const auto deadline = std::chrono::steady_clock::now() + kHeadTimeout;
    while (head.find("\r\n\r\n") == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
        if (head.size() >= kHeadLimit || left.count() <= 0 ||
            waitFor(fd, POLLIN, wakeFd, left) != Wait::Ready) {
            return std::nullopt;
        }
        char buffer[4096];
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (got <= 0) {
            return std::nullopt;
        }
        head.append(buffer, static_cast<std::size_t>(got));
    }
    return head;
}

// Holds the connection until the peer closes it or the listener stops.
void holdUntilClosed(int fd, int wakeFd) {
    char buffer[4096];
    while (waitFor(fd, POLLIN, wakeFd, milliseconds(-1)) == Wait::Ready) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN)) {
            return;
        }
    }
}

// The status line and headers of a text answer of the given length.
bool sendTextHead(int fd, std::size_t length, int wakeFd) {
    return sendAll(fd,
                   "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                       std::to_string(length) + "\r\nConnection: close\r\n\r\n",
                   wakeFd);
}

void trickle(int fd, int wakeFd) {
    if (!sendTextHead(fd, kTrickleLength, wakeFd)) {
        return;
    }
    for (std::size_t sent = 0; sent < kTrickleLength; ++sent) {
        // Readable here means the peer closed (it sends nothing more) or the listener stops.
        if (waitFor(fd, POLLIN, wakeFd, kTrickleStep) != Wait::TimedOut ||
            !sendAll(fd, "v", wakeFd)) {
            return;
        }
    }
}

void hugeAnswer(int fd, int wakeFd) {
    if (!sendTextHead(fd, kHugeLength, wakeFd)) {
        return;
    }
    const std::string block(64 * 1024, '.');
    for (std::size_t sent = 0; sent < kHugeLength; sent += block.size()) {
        if (!sendAll(fd, block, wakeFd)) {
            return;
        }
    }
}

std::string plainResponse(const httplib::Request& request, int status, std::string body,
                          std::string_view location = {}) {
    httplib::Response response;
    response.status = status;
    if (!location.empty()) {
        response.set_header("Location", std::string(location));
    }
    response.set_content(std::move(body), "text/plain; charset=utf-8");
    return responseBytes(request, response);
}

// Serves the page table, with the polls meeting the faults of a cycle in turn. Requests are read
// one connection at a time on the listening thread; answers that take long (hang, trickle, huge)
// go on threads of their own.
class FaultListener : public Listener {
  public:
    FaultListener(std::uint16_t port, SiteState& state, std::vector<Fault> faults)
        : state_(state), cycle_(std::move(faults)), listenFd_(listenLoopback(port, true)) {
        port_ = boundPort(listenFd_);
        thread_ = std::thread([this] { run(); });
    }

    ~FaultListener() override { stop(); }

    std::uint16_t port() const override { return port_; }

    void stop() override {
        if (!thread_.joinable()) {
            return;
        }
        // The pipe stays readable from here on: every wait of every thread ends.
        stopping_.wake();
        thread_.join();
        for (Worker& worker : workers_) {
            worker.thread.join();
        }
        workers_.clear();
        if (listenFd_ >= 0) {
            ::close(listenFd_);
        }
    }

    void resume() override { resumed_.wake(); }

  private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };

    void run() {
        for (;;) {
            reapWorkers();
            if (waitFor(listenFd_, POLLIN, stopping_.readFd(), milliseconds(-1)) == Wait::Woken) {
                return;
            }
            const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) {
                continue;
            }
            if (!serve(fd)) {
                return;
            }
        }
    }

    // False when the listener is stopping.
    bool serve(int fd) {
        const std::optional<std::string> head = readHead(fd, stopping_.readFd());
        const std::optional<httplib::Request> request =
            head ? parseRequestHead(*head) : std::nullopt;
        if (!request) {
            if (head) {
                sendAll(fd, "HTTP/1.1 400 Bad Request\r\nConnection: close\r\n\r\n",
                        stopping_.readFd());
            }
            ::close(fd);
            return true;
        }
        if (request->path != kPollPath) {
            sendAll(fd, pageBytes(*request), stopping_.readFd());
            ::close(fd);
            return true;
        }
        meetFault(cycle_.next(), fd, *request);
        if (cycle_.peek() == Fault::Refuse) {
            cycle_.next();
            return stayAway();
        }
        return true;
    }

    std::string pageBytes(const httplib::Request& request) {
        if (request.path == "/_faults") {
            return plainResponse(request, 200, cycle_.counts());
        }
        if (request.path.starts_with(kLoopPath)) {
            // Each step of the loop sends the client one page further, for ever.
            return plainResponse(request, 302, "round and round\n",
                                 std::string(kLoopPath) + "/" + std::to_string(++loopSteps_));
        }
        httplib::Response response;
        servePage(state_, request, response);
        return responseBytes(request, response);
    }

    void meetFault(Fault fault, int fd, const httplib::Request& request) {
        switch (fault) {
            case Fault::Answer:
            case Fault::Refuse:
                sendAll(fd, pageBytes(request), stopping_.readFd());
                break;
            case Fault::Alerts: {
                const bool accepted = pollTokenAccepted(state_, request);
                state_.record(SiteState::Log::Requests, request.method + " " + request.target);
                // A new name each time, so the contact-online alert is raised each time.
                const std::string answer =
                    "vb_chatrequest\nvb_newmail\nvb_genalert\nvb_contactonline=member" +
                    std::to_string(cycle_.served(Fault::Alerts)) + ";\n";
                sendAll(fd, plainResponse(request, 200, accepted ? answer : ""),
                        stopping_.readFd());
                break;
            }
            case Fault::RedirectLoop:
                sendAll(fd, plainResponse(request, 302, "", std::string(kLoopPath) + "/0"),
                        stopping_.readFd());
                break;
            case Fault::Garbage:
                sendAll(fd, kGarbage, stopping_.readFd());
                break;
            case Fault::Hang:
                startWorker(fd, holdUntilClosed);
                return;
            case Fault::Trickle:
                startWorker(fd, trickle);
                return;
            case Fault::Huge:
                startWorker(fd, hugeAnswer);
                return;
        }
        ::close(fd);
    }

    void startWorker(int fd, void (*work)(int fd, int wakeFd)) {
        if (workers_.size() >= kWorkerLimit) {
            ::close(fd);
            return;
        }
        auto done = std::make_shared<std::atomic<bool>>(false);
        const int wakeFd = stopping_.readFd();
        workers_.push_back({std::thread([fd, wakeFd, work, done] {
                                work(fd, wakeFd);
                                ::close(fd);
                                *done = true;
                            }),
                            done});
    }

    void reapWorkers() {
        workers_.remove_if([](Worker& worker) {
            if (!*worker.done) {
                return false;
            }
            worker.thread.join();
            return true;
        });
    }

    // Closes the listening socket for a moment, so connections are refused, and listens again on
    // the same port. False when the listener stops meanwhile.
    bool stayAway() {
        ::close(listenFd_);
        listenFd_ = -1;
        // A resume meant for an earlier pause must not end this one.
        resumed_.drain();
        for (;;) {
            pollfd fds[2] = {{stopping_.readFd(), POLLIN, 0}, {resumed_.readFd(), POLLIN, 0}};
            while (::poll(fds, 2, static_cast<int>(kRefuseWindow.count())) < 0 && errno == EINTR) {
            }
            if (fds[0].revents != 0) {
                return false;
            }
            try {
                listenFd_ = listenLoopback(port_, true);
                return true;
            } catch (const std::runtime_error& e) {
                // Someone else took the port meanwhile: try again after another window.
                std::fprintf(stderr, "tarnix-site: %s\n", e.what());
            }
        }
    }

    SiteState& state_;
    FaultCycle cycle_;
    WakePipe stopping_;
    WakePipe resumed_;
    int listenFd_ = -1;
    std::uint16_t port_ = 0;
    std::size_t loopSteps_ = 0;
    std::list<Worker> workers_;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<Listener> startFaultListener(std::uint16_t port, SiteState& state,
                                             std::vector<Fault> faults) {
    return std::make_unique<FaultListener>(port, state, std::move(faults));
}

}  // namespace site
