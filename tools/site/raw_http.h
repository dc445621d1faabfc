#pragma once

#include <httplib.h>

#include <optional>
#include <string>
#include <string_view>

namespace site {

// The request line and headers of one HTTP/1.x request, up to and including the blank line, as the
// page table takes them: method, target as sent, path decoded, query parameters, headers. Nothing
// for a head that is not a request line with an absolute path and a version.
std::optional<httplib::Request> parseRequestHead(std::string_view head);

// The whole answer to a request on a connection that closes after it: status line, the response's
// headers, Content-Length, "Connection: close", and the body unless the request was HEAD.
std::string responseBytes(const httplib::Request& request, const httplib::Response& response);

}  // namespace site
