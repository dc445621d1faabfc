#include "platform/net/transfer_errors.h"

#include <curl/curl.h>

namespace platform::net {

TransferError transferErrorFromCurl(int curlCode) {
    switch (static_cast<CURLcode>(curlCode)) {
        case CURLE_OK:
            return kTransferOk;
        case CURLE_OPERATION_TIMEDOUT:
            return kInternetTimeout;
        case CURLE_URL_MALFORMAT:
            return kInternetInvalidUrl;
        case CURLE_UNSUPPORTED_PROTOCOL:
            return kInternetUnrecognizedScheme;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return kInternetNameNotResolved;
        case CURLE_COULDNT_CONNECT:
            return kInternetCannotConnect;
        case CURLE_SEND_ERROR:
        case CURLE_PARTIAL_FILE:
            return kInternetConnectionAborted;
        case CURLE_RECV_ERROR:
            return kInternetConnectionReset;
        case CURLE_GOT_NOTHING:
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_HTTP2:
        case CURLE_BAD_CONTENT_ENCODING:
            return kHttpInvalidServerResponse;
        case CURLE_TOO_MANY_REDIRECTS:
            return kHttpRedirectFailed;
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        case CURLE_SSL_INVALIDCERTSTATUS:
            return kInternetSecurityChannelError;
        default:
            return kInternetInternalError;
    }
}

}  // namespace platform::net
