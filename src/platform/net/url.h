#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::net {

// Longest URL the transport sends.
constexpr size_t kMaxUrlLength = 8192;

// True for an absolute "http://" or "https://" address with a host (scheme without regard to case).
bool isHttpUrl(std::string_view url);

// The URL as it may go on the wire: an http(s) address of at most kMaxUrlLength characters
// (once encoded) holding no control character or DEL, so nothing can split or extend the request
// line, and one the transport's URL parser accepts (port, host characters). After the host, a blank
// and bytes above 127 (UTF-8 text) are percent-encoded; a blank in the host is refused, UTF-8 in
// the host is kept. Nothing when the URL is unfit.
std::optional<std::string> wireUrl(std::string_view url);

}  // namespace platform::net
