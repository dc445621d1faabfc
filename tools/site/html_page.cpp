#include "site/html_page.h"

namespace site {

namespace {

// Small enough for a pop-up of 297 x 218 pixels, plain enough for any browser.
constexpr std::string_view kStyle =
    "body{margin:0;font:13px Verdana,Arial,sans-serif;color:#223;background:#eef2f8}"
    "header{background:#2b5797;color:#fff;padding:5px 10px;font-weight:bold}"
    "main{padding:8px 10px}"
    "h1{font-size:15px;margin:0 0 6px;color:#2b5797}"
    "p{margin:0 0 6px}"
    ".member{font-weight:bold}"
    "a{color:#2b5797}"
    "input,button{font:inherit}"
    "iframe{width:100%;height:160px;border:1px solid #9ab;background:#fff}";

}  // namespace

std::string htmlPage(std::string_view title, std::string_view body) {
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width\">\n<title>";
    page += escapeHtml(title);
    page += "</title>\n<style>";
    page += kStyle;
    page += "</style></head>\n<body>\n<header>Tarnix community</header>\n<main>\n";
    page += body;
    page += "</main>\n</body></html>\n";
    return page;
}

std::string escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace site
