#include "site/raw_http.h"

namespace site {

namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The reason phrases of the statuses the site gives; clients read only the number.
std::string_view reasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 302:
            return "Found";
        case 400:
            return "Bad Request";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        default:
            return "Status";
    }
}

}  // namespace

std::optional<httplib::Request> parseRequestHead(std::string_view head) {
    const auto lineEnd = head.find("\r\n");
    if (lineEnd == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view line = head.substr(0, lineEnd);
    const auto firstBlank = line.find(' ');
    const auto lastBlank = line.rfind(' ');
    if (firstBlank == std::string_view::npos || lastBlank == firstBlank) {
        return std::nullopt;
    }
    httplib::Request request;
    request.method = std::string(line.substr(0, firstBlank));
    request.target = std::string(line.substr(firstBlank + 1, lastBlank - firstBlank - 1));
    request.version = std::string(line.substr(lastBlank + 1));
    if (!request.target.starts_with("/") || !request.version.starts_with("HTTP/1.")) {
        return std::nullopt;
    }
    const auto query = request.target.find('?');
    request.path = httplib::detail::decode_url(request.target.substr(0, query), false);
    if (query != std::string::npos) {
        httplib::detail::parse_query_text(request.target.substr(query + 1), request.params);
    }
    for (std::string_view rest = head.substr(lineEnd + 2); !rest.empty();) {
        const auto end = rest.find("\r\n");
        const std::string_view field = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
        const auto colon = field.find(':');
        if (colon != std::string_view::npos && colon > 0) {
            request.headers.emplace(std::string(field.substr(0, colon)),
                                    std::string(trimmed(field.substr(colon + 1))));
        }
    }
    return request;
}

std::string responseBytes(const httplib::Request& request, const httplib::Response& response) {
    std::string bytes = "HTTP/1.1 " + std::to_string(response.status) + " ";
    bytes.append(reasonPhrase(response.status)).append("\r\n");
    for (const auto& [name, value] : response.headers) {
        if (name != "Content-Length" && name != "Connection") {
            bytes.append(name).append(": ").append(value).append("\r\n");
        }
    }
    bytes += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    bytes += "Connection: close\r\n\r\n";
    if (request.method != "HEAD") {
        bytes += response.body;
    }
    return bytes;
}

}  // namespace site
