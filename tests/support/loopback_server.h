#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace httplib {
class Server;
}

namespace testsupport {

// A small HTTP server on 127.0.0.1 and a free port, running until destroyed. Routes:
//   /status/<code>     answers with that status and the body "status <code>"
//   /redirect/<n>      redirects to /redirect/<n-1>; /redirect/0 answers 200 "landed"
//   /bytes/<n>         answers n bytes of "x", streamed
//   /header/<name>     answers the value of that request header
//   /target...         answers the request target exactly as it arrived
//   /page/<name>       answers the HTML set with setPage (404 for a name never set)
class LoopbackServer {
  public:
    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::string url(std::string_view path) const;
    int requestCount() const;
    // What /page/<name> answers from now on.
    void setPage(const std::string& name, const std::string& html);

  private:
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    std::atomic<int> requests_{0};
    std::mutex pagesLock_;
    std::map<std::string, std::string> pages_;
};

// A socket on 127.0.0.1 that accepts connections into its backlog and never answers.
class SilentServer {
  public:
    SilentServer();
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    std::string url() const;

  private:
    int socket_ = -1;
    int port_ = 0;
};

// A port on 127.0.0.1 that nothing listens on.
int closedLoopbackPort();

}  // namespace testsupport
