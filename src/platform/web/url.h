#pragma once

#include <string>
#include <string_view>

namespace platform::web {

// The reference resolved against the base URL (RFC 3986, through libxml2's URI functions), as a
// browser resolves an href or a src: ASCII whitespace around it is dropped and tabs and line breaks
// inside it; blanks, controls, bytes above 127 and the characters a URI cannot hold ("<>\^`{|}, a
// second "#", a "%" that starts no escape) are percent-encoded first. A host without a path gets
// "/" as its path; an escaped unreserved character comes back plain (%41 as A). An absolute
// reference ("javascript:window.close()") comes back as it is; one that cannot be resolved even so
// comes back encoded but unresolved.
std::string resolveUrl(std::string_view reference, std::string_view base);

}  // namespace platform::web
