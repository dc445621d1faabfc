#pragma once

#include <string>
#include <string_view>

namespace site {

// A whole page in the site's look: a small stylesheet, the site's name in a header bar, then the
// body (HTML, written by the caller) in the main area.
std::string htmlPage(std::string_view title, std::string_view body);

// Text with the five HTML special characters written as entities.
std::string escapeHtml(std::string_view text);

}  // namespace site
