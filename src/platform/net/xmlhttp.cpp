#include "platform/net/xmlhttp.h"

#include "platform/net/url.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/text.h"

namespace platform::net {

namespace {

// The component's own failures, as the run-time error numbers callers see.
constexpr int kUnspecifiedFailure = static_cast<int>(0x80004005u);
constexpr int kInvalidArgument = static_cast<int>(0x80070057u);
constexpr int kUrlInvalid = static_cast<int>(0x80072EE5u);
constexpr int kWrongArgumentCount = 450;

constexpr int32_t kOpened = 1;
constexpr int32_t kDone = 4;

void expectArguments(const std::vector<win::Variant>& args, size_t least, size_t most) {
    if (args.size() < least || args.size() > most) {
        raise(kWrongArgumentCount, "Wrong number of arguments or invalid property assignment");
    }
}

bool isHeaderName(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7f || c == ':') {
            return false;
        }
    }
    return true;
}

bool isHeaderValue(std::string_view value) {
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7f) {
            return false;
        }
    }
    return true;
}

}  // namespace

win::Variant XmlHttpRequest::invoke(std::string_view member,
                                    const std::vector<win::Variant>& args) {
    const std::string name = UCase(member);
    if (name == "OPEN") {
        open(args);
        return {};
    }
    if (name == "SETREQUESTHEADER") {
        setRequestHeader(args);
        return {};
    }
    if (name == "SEND") {
        send(args);
        return {};
    }
    if (name == "STATUS") {
        expectArguments(args, 0, 0);
        const HttpResult& result = answer();
        return result.error != kTransferOk ? result.error : result.status;
    }
    if (name == "RESPONSETEXT") {
        expectArguments(args, 0, 0);
        return answer().body;
    }
    if (name == "READYSTATE") {
        expectArguments(args, 0, 0);
        return readyState_;
    }
    raise(kMemberNotSupported);
}

void XmlHttpRequest::open(const std::vector<win::Variant>& args) {
    expectArguments(args, 2, 5);
    readyState_ = 0;
    result_.reset();
    headers_.clear();
    if (UCase(win::textOf(args[0])) != "GET") {
        raise(kInvalidArgument, "Only GET requests are supported");
    }
    const std::string url = win::textOf(args[1]);
    // What the transport would refuse fails here, before any status exists.
    if (!wireUrl(url)) {
        raise(kUrlInvalid, "The URL is invalid");
    }
    if (args.size() > 2 && win::truthOf(args[2])) {
        raise(kInvalidArgument, "Only synchronous requests are supported");
    }
    url_ = url;
    readyState_ = kOpened;
}

void XmlHttpRequest::setRequestHeader(const std::vector<win::Variant>& args) {
    expectArguments(args, 2, 2);
    if (readyState_ != kOpened) {
        raise(kUnspecifiedFailure, "The request is not open");
    }
    std::string headerName = win::textOf(args[0]);
    std::string value = win::textOf(args[1]);
    if (!isHeaderName(headerName) || !isHeaderValue(value)) {
        raise(kInvalidArgument, "Invalid request header");
    }
    headers_.emplace_back(std::move(headerName), std::move(value));
}

void XmlHttpRequest::send(const std::vector<win::Variant>& args) {
    expectArguments(args, 0, 1);
    if (readyState_ != kOpened) {
        raise(kUnspecifiedFailure, "The request is not open");
    }
    result_ = httpGet(url_, headers_);
    readyState_ = kDone;
}

const HttpResult& XmlHttpRequest::answer() const {
    if (readyState_ != kDone || !result_) {
        raise(kUnspecifiedFailure,
              "The data necessary to complete this operation is not yet available");
    }
    return *result_;
}

}  // namespace platform::net
