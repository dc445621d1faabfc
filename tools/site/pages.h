#pragma once

#include <httplib.h>

#include <span>
#include <string_view>

#include "site/html_page.h"
#include "site/site_state.h"

namespace site {

// The paths the program's settings point at (see docs/site.md for the registry values).
inline constexpr std::string_view kLoginPath = "/login.php";
inline constexpr std::string_view kPlainLoginPath = "/login-plain.php";
inline constexpr std::string_view kPollPath = "/update.php";
inline constexpr std::string_view kPopupBase = "/popup/";
// The sign-out page: its URL holds "&logout=1".
inline constexpr std::string_view kSignOutTarget = "/?do=signout&logout=1";

using PageHandler = void (*)(SiteState&, const httplib::Request&, httplib::Response&);

struct Page {
    std::string_view path;  // matched exactly, query excluded
    std::string_view purpose;
    PageHandler handler;
};

// Every page of the site. Paths under "/_" are controls for tests and are not logged.
std::span<const Page> pageTable();

// Whether a poll target carries a token the site takes (see poll_token.h); a refused one is logged.
bool pollTokenAccepted(SiteState& state, const httplib::Request& request);

// Serves a GET or HEAD request from the page table and logs it; a path without a page gets 404,
// another method 405.
void servePage(SiteState& state, const httplib::Request& request, httplib::Response& response);

}  // namespace site
