#pragma once

#include <cstdint>

namespace platform::net {

// Transfer failures as the Windows Internet codes (all above 12000) that the request object
// reports in place of an HTTP status.
enum TransferError : int32_t {
    kTransferOk = 0,
    kInternetTimeout = 12002,
    kInternetInternalError = 12004,
    kInternetInvalidUrl = 12005,
    kInternetUnrecognizedScheme = 12006,
    kInternetNameNotResolved = 12007,
    kInternetCannotConnect = 12029,
    kInternetConnectionAborted = 12030,
    kInternetConnectionReset = 12031,
    kHttpInvalidServerResponse = 12152,
    kHttpRedirectFailed = 12156,
    kInternetSecurityChannelError = 12157,
};

// The code for a libcurl result (a CURLcode number); 0 stays 0.
TransferError transferErrorFromCurl(int curlCode);

}  // namespace platform::net
