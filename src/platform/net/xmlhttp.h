#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/net/http.h"
#include "platform/net/object.h"

namespace platform::net {

// The HTTP request component "Microsoft.XMLHTTP", synchronous GET only. Members:
//   Open(method, url, async)    method "GET", an http(s) url, async False; resets the request
//   setRequestHeader(name, value)   after Open
//   send([body])                makes the request; a GET sends no body
//   Status, responseText        after send; a transfer that failed reports its Windows Internet
//                               code (above 12000) as Status and an empty responseText
//   readyState                  0 before Open, 1 after it, 4 once send has ended
// Misuse (a member out of order, a URL that is unfit for the wire (see wireUrl), a header with a
// line break) raises a run-time error numbered like the component's failures (negative HRESULT
// values).
class XmlHttpRequest final : public win::Object {
  public:
    win::Variant invoke(std::string_view member, const std::vector<win::Variant>& args) override;

  private:
    void open(const std::vector<win::Variant>& args);
    void setRequestHeader(const std::vector<win::Variant>& args);
    void send(const std::vector<win::Variant>& args);
    const HttpResult& answer() const;

    int32_t readyState_ = 0;
    std::string url_;
    HttpHeaders headers_;
    std::optional<HttpResult> result_;
};

}  // namespace platform::net
