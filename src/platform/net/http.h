#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/net/transfer_errors.h"

namespace platform::net {

// How far one request may go, so that a hung or hostile site cannot hold the one thread or
// fill the memory.
struct TransferLimits {
    std::chrono::milliseconds connectTimeout{5000};
    // The whole request, redirects included.
    std::chrono::milliseconds totalTimeout{10000};
    long maxRedirects = 5;
    // Body bytes kept; the rest of a longer answer is not read.
    size_t maxBodyBytes = size_t{1} << 20;
};

// The defaults above, with TARNIX_HTTP_TIMEOUT_MS (whole milliseconds, 1 to 600000; another value
// is reported and ignored) replacing the total time-out and capping the connect time-out.
TransferLimits transferLimitsFromEnvironment();

// The limits in force: those of the environment until set otherwise.
TransferLimits transferLimits();
void setTransferLimits(const TransferLimits& limits);

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

struct HttpResult {
    // kTransferOk when an answer arrived (whatever its HTTP status), else why not.
    TransferError error = kTransferOk;
    int32_t status = 0;  // HTTP status of the last answer (after redirects)
    std::string body;    // bytes as sent, at most maxBodyBytes
    bool truncated = false;
};

// A synchronous GET over http or https, following redirects within the limits. A URL that is not
// fit for the wire (see wireUrl) or a header holding a line break fails before anything is sent.
// Every request and its outcome is traced ("http GET url= status= bytes= [truncated=1]" or
// "http GET url= error= reason=").
HttpResult httpGet(std::string_view url, const HttpHeaders& headers = {});

// A GET that runs beside the message loop (page loads): it goes on while progressTransfers is
// called, and done receives its result from there, traced as above.
void startGet(std::string_view url, std::function<void(HttpResult)> done);
// Whether a transfer started with startGet has not yet handed over its result.
bool transfersUnderWay();
// Lets the transfers under way make progress, waiting at most waitMs of real time for some (0: not
// at all), and returns what to run for those that have ended: each calls its done.
std::vector<std::function<void()>> progressTransfers(int waitMs);

}  // namespace platform::net
