#include "platform/net/http.h"

#include <curl/curl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/net/url.h"
#include "platform/runtime/app_info.h"
#include "platform/runtime/backend.h"
#include "platform/runtime/env_setting.h"
#include "platform/runtime/text.h"
#include "platform/runtime/trace.h"

namespace platform::net {

namespace {

// Ten minutes: the program waits for every request on its one thread.
constexpr int64_t kMaxTimeoutMs = 600'000;

TransferLimits& currentLimits() {
    static TransferLimits limits = transferLimitsFromEnvironment();
    return limits;
}

void initialiseCurl() {
    static std::once_flag once;
    // A start that fails shows in the request itself: curl_easy_init, which tries again, then
    // fails, and the request with it (12004).
    std::call_once(once, [] { static_cast<void>(curl_global_init(CURL_GLOBAL_DEFAULT)); });
}

struct Body {
    std::string bytes;
    size_t cap = 0;
    bool truncated = false;
};

// Keeps what fits under the cap; a short count makes libcurl stop reading the answer.
size_t collect(char* data, size_t size, size_t count, void* user) {
    auto& body = *static_cast<Body*>(user);
    const size_t length = size * count;
    const size_t room = body.cap - body.bytes.size();
    if (length > room) {
        body.bytes.append(data, room);
        body.truncated = true;
        return 0;
    }
    body.bytes.append(data, length);
    return length;
}

bool fitForHeader(std::string_view text) {
    for (const char c : text) {
        if (c == '\r' || c == '\n' || c == '\0') {
            return false;
        }
    }
    return true;
}

struct CurlEasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct CurlListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

void traceOutcome(std::string_view url, const HttpResult& result, std::string_view reason) {
    std::string detail = "GET url=" + quoted(url);
    if (result.error == kTransferOk) {
        detail += " status=" + std::to_string(result.status) +
                  " bytes=" + std::to_string(result.body.size());
        if (result.truncated) {
            detail += " truncated=1";
        }
    } else {
        detail += " error=" + std::to_string(result.error) + " reason=" + quoted(reason);
    }
    trace("http", detail);
}

// libcurl reports an answer that is not HTTP (no status line, an unknown version) as an unsupported
// protocol, as it does a redirect to another scheme; only the latter leaves a last address that is
// not http(s).
TransferError transferError(CURL* h, CURLcode code) {
    char* lastUrl = nullptr;
    if (code == CURLE_UNSUPPORTED_PROTOCOL &&
        curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &lastUrl) == CURLE_OK && lastUrl &&
        isHttpUrl(lastUrl)) {
        return kHttpInvalidServerResponse;
    }
    return transferErrorFromCurl(code);
}

HttpResult failed(std::string_view url, TransferError error, std::string_view reason) {
    HttpResult result;
    result.error = error;
    traceOutcome(url, result, reason);
    return result;
}

// Runs the transfer to its end on libcurl's multi interface. The caller waits, as the program's
// synchronous fetches do: no timer or input reaches the model meanwhile, but every few milliseconds
// the backend may draw its windows (a desktop must not freeze for the time-out).
CURLcode performKeepingResponsive(CURL* handle) {
    constexpr int kResponsiveMs = 16;
    std::unique_ptr<CURLM, decltype(&curl_multi_cleanup)> multi(curl_multi_init(),
                                                                curl_multi_cleanup);
    if (!multi || curl_multi_add_handle(multi.get(), handle) != CURLM_OK) {
        return CURLE_FAILED_INIT;
    }
    CURLcode result = CURLE_FAILED_INIT;
    int running = 1;
    while (running > 0) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            break;
        }
        int left = 0;
        while (const CURLMsg* message = curl_multi_info_read(multi.get(), &left)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == handle) {
                result = message->data.result;
            }
        }
        if (running > 0) {
            if (curl_multi_poll(multi.get(), nullptr, 0, kResponsiveMs, nullptr) != CURLM_OK) {
                break;
            }
            keepResponsive();
        }
    }
    curl_multi_remove_handle(multi.get(), handle);
    return result;
}

}  // namespace

TransferLimits transferLimitsFromEnvironment() {
    TransferLimits limits;
    const int64_t fallback = limits.totalTimeout.count();
    const int64_t ms = envSetting<int64_t>(
        "TARNIX_HTTP_TIMEOUT_MS", fallback, "a whole number of milliseconds from 1 to 600000",
        std::to_string(fallback),
        [](std::string_view text) { return wholeNumberIn(text, 1, kMaxTimeoutMs); });
    limits.totalTimeout = std::chrono::milliseconds(ms);
    limits.connectTimeout = std::min(limits.connectTimeout, limits.totalTimeout);
    return limits;
}

TransferLimits transferLimits() {
    return currentLimits();
}

void setTransferLimits(const TransferLimits& limits) {
    currentLimits() = limits;
}

namespace {

// One request from its preparation to its result: the handle, its headers, and what the answer
// fills in. Pinned in memory: libcurl keeps pointers to its members.
class Request {
  public:
    Request(std::string_view url, TransferLimits limits) : url_(url) {
        body_.cap = limits.maxBodyBytes;
    }
    Request(const Request&) = delete;
    Request& operator=(const Request&) = delete;

    // Sets the request up; a result when it fails before anything is sent.
    std::optional<HttpResult> prepare(const HttpHeaders& headers, const TransferLimits& limits) {
        const std::optional<std::string> wire = wireUrl(url_);
        if (!wire) {
            return failed(url_, kInternetInvalidUrl, "not a sendable http(s) address");
        }
        for (const auto& [name, value] : headers) {
            if (name.empty() || !fitForHeader(name) || !fitForHeader(value)) {
                return failed(url_, kInternetInternalError, "header holds a line break");
            }
            const std::string line = name + ": " + value;
            curl_slist* extended = curl_slist_append(headerList_.get(), line.c_str());
            if (!extended) {
                return failed(url_, kInternetInternalError, "out of memory");
            }
            headerList_.release();
            headerList_.reset(extended);
        }
        initialiseCurl();
        curl_.reset(curl_easy_init());
        if (!curl_) {
            return failed(url_, kInternetInternalError, "cannot start a transfer");
        }
        CURL* h = curl_.get();
        wire_ = *wire;
        curl_easy_setopt(h, CURLOPT_URL, wire_.c_str());
        curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
        curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(h, CURLOPT_MAXREDIRS, limits.maxRedirects);
        curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS,
                         static_cast<long>(limits.connectTimeout.count()));
        curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeout.count()));
        curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
        // A fresh connection for every step of a redirect chain: a kept connection that the site
        // has dropped would make libcurl retry silently and leave that failure in errorText for
        // the trace.
        curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
        curl_easy_setopt(h, CURLOPT_USERAGENT, userAgent().c_str());
        curl_easy_setopt(h, CURLOPT_HTTPHEADER, headerList_.get());
        curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, collect);
        curl_easy_setopt(h, CURLOPT_WRITEDATA, &body_);
        curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText_);
        return std::nullopt;
    }

    CURL* handle() const { return curl_.get(); }

    // The result of the transfer that ended with code; traced.
    HttpResult finish(CURLcode code) {
        CURL* h = curl_.get();
        HttpResult result;
        long status = 0;
        curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
        result.status = static_cast<int32_t>(status);
        result.truncated = body_.truncated;
        // Stopping at the cap is ours, not a failure of the transfer.
        const bool cappedOnPurpose = code == CURLE_WRITE_ERROR && body_.truncated;
        if (code != CURLE_OK && !cappedOnPurpose) {
            result.error = transferError(h, code);
            result.status = 0;
            traceOutcome(url_, result, errorText_[0] ? errorText_ : curl_easy_strerror(code));
            return result;
        }
        result.body = std::move(body_.bytes);
        traceOutcome(url_, result, {});
        return result;
    }

  private:
    static const std::string& userAgent() {
        static const std::string agent =
            std::string(kAppTitle) + "/" + std::to_string(kVersionMajor) + "." +
            std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
        return agent;
    }

    std::string url_;
    std::string wire_;
    std::unique_ptr<curl_slist, CurlListDeleter> headerList_;
    std::unique_ptr<CURL, CurlEasyDeleter> curl_;
    Body body_;
    char errorText_[CURL_ERROR_SIZE] = "";
};

// The transfers under way beside the message loop, on one multi handle.
class Transfers {
  public:
    static Transfers& instance() {
        static Transfers transfers;
        return transfers;
    }

    void start(std::string_view url, std::function<void(HttpResult)> done) {
        auto request = std::make_unique<Request>(url, currentLimits());
        if (auto early = request->prepare({}, currentLimits())) {
            finished_.push_back([done = std::move(done), result = std::move(*early)]() mutable {
                done(std::move(result));
            });
            return;
        }
        if (!multi_) {
            multi_.reset(curl_multi_init());
        }
        CURL* handle = request->handle();
        if (!multi_ || curl_multi_add_handle(multi_.get(), handle) != CURLM_OK) {
            HttpResult result = request->finish(CURLE_FAILED_INIT);
            finished_.push_back([done = std::move(done), result = std::move(result)]() mutable {
                done(std::move(result));
            });
            return;
        }
        running_.push_back({std::move(request), std::move(done)});
    }

    bool busy() const { return !running_.empty() || !finished_.empty(); }

    std::vector<std::function<void()>> progress(int waitMs) {
        if (!running_.empty() && multi_) {
            int active = 0;
            curl_multi_perform(multi_.get(), &active);
            if (waitMs > 0 && active > 0 && finished_.empty()) {
                curl_multi_poll(multi_.get(), nullptr, 0, waitMs, nullptr);
                curl_multi_perform(multi_.get(), &active);
            }
            int left = 0;
            while (const CURLMsg* message = curl_multi_info_read(multi_.get(), &left)) {
                if (message->msg != CURLMSG_DONE) {
                    continue;
                }
                auto found = std::find_if(running_.begin(), running_.end(), [&](const Running& r) {
                    return r.request->handle() == message->easy_handle;
                });
                if (found == running_.end()) {
                    continue;
                }
                const CURLcode code = message->data.result;
                curl_multi_remove_handle(multi_.get(), found->request->handle());
                HttpResult result = found->request->finish(code);
                finished_.push_back(
                    [done = std::move(found->done), result = std::move(result)]() mutable {
                        done(std::move(result));
                    });
                running_.erase(found);
            }
        }
        return std::exchange(finished_, {});
    }

  private:
    struct Running {
        std::unique_ptr<Request> request;
        std::function<void(HttpResult)> done;
    };
    struct MultiDeleter {
        void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
    };

    std::unique_ptr<CURLM, MultiDeleter> multi_;
    std::vector<Running> running_;
    std::vector<std::function<void()>> finished_;
};

}  // namespace

HttpResult httpGet(std::string_view url, const HttpHeaders& headers) {
    const TransferLimits limits = currentLimits();
    Request request(url, limits);
    if (auto early = request.prepare(headers, limits)) {
        return std::move(*early);
    }
    return request.finish(performKeepingResponsive(request.handle()));
}

void startGet(std::string_view url, std::function<void(HttpResult)> done) {
    Transfers::instance().start(url, std::move(done));
}

bool transfersUnderWay() {
    return Transfers::instance().busy();
}

std::vector<std::function<void()>> progressTransfers(int waitMs) {
    return Transfers::instance().progress(waitMs);
}

}  // namespace platform::net
