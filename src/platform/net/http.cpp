#include "platform/net/http.h"

#include <curl/curl.h>

#include <algorithm>
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

HttpResult httpGet(std::string_view url, const HttpHeaders& headers) {
    const std::optional<std::string> wire = wireUrl(url);
    if (!wire) {
        return failed(url, kInternetInvalidUrl, "not a sendable http(s) address");
    }
    std::unique_ptr<curl_slist, CurlListDeleter> headerList;
    for (const auto& [name, value] : headers) {
        if (name.empty() || !fitForHeader(name) || !fitForHeader(value)) {
            return failed(url, kInternetInternalError, "header holds a line break");
        }
        const std::string line = name + ": " + value;
        curl_slist* extended = curl_slist_append(headerList.get(), line.c_str());
        if (!extended) {
            return failed(url, kInternetInternalError, "out of memory");
        }
        headerList.release();
        headerList.reset(extended);
    }

    initialiseCurl();
    std::unique_ptr<CURL, CurlEasyDeleter> curl(curl_easy_init());
    if (!curl) {
        return failed(url, kInternetInternalError, "cannot start a transfer");
    }
    const TransferLimits limits = currentLimits();
    Body body;
    body.cap = limits.maxBodyBytes;
    char errorText[CURL_ERROR_SIZE] = "";
    const std::string userAgent = std::string(kAppTitle) + "/" + std::to_string(kVersionMajor) +
                                  "." + std::to_string(kVersionMinor) + "." +
                                  std::to_string(kVersionRevision);

    CURL* h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, wire->c_str());
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, limits.maxRedirects);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(limits.connectTimeout.count()));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeout.count()));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    // A fresh connection for every step of a redirect chain: a kept connection that the site has
    // dropped would make libcurl retry silently and leave that failure in errorText for the trace.
    curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, userAgent.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headerList.get());
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);

    const CURLcode code = performKeepingResponsive(h);
    HttpResult result;
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    result.status = static_cast<int32_t>(status);
    result.truncated = body.truncated;
    // Stopping at the cap is ours, not a failure of the transfer.
    const bool cappedOnPurpose = code == CURLE_WRITE_ERROR && body.truncated;
    if (code != CURLE_OK && !cappedOnPurpose) {
        result.error = transferError(h, code);
        result.status = 0;
        traceOutcome(url, result, errorText[0] ? errorText : curl_easy_strerror(code));
        return result;
    }
    result.body = std::move(body.bytes);
    traceOutcome(url, result, {});
    return result;
}

}  // namespace platform::net
