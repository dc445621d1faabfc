#include "site/poll_token.h"

#include <openssl/evp.h>

#include "platform/runtime/ansi.h"
#include "platform/runtime/short_date.h"
#include "platform/runtime/text.h"

namespace site {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Undoes the transport's escapes: "%20" and "%XX" above 127; every other "%" stays as it came.
std::string transportDecoded(std::string_view text) {
    std::string decoded;
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '%' && at + 2 < text.size()) {
            const int high = hexValue(text[at + 1]);
            const int low = hexValue(text[at + 2]);
            const int byte = high * 16 + low;
            if (high >= 0 && low >= 0 && (byte == 0x20 || byte > 0x7f)) {
                decoded += static_cast<char>(byte);
                at += 2;
                continue;
            }
        }
        decoded += text[at];
    }
    return decoded;
}

}  // namespace

std::vector<std::chrono::year_month_day> tokenDates(const TokenRule& rule,
                                                    std::chrono::system_clock::time_point now) {
    if (!rule.dates.empty()) {
        return rule.dates;
    }
    const std::chrono::year_month_day today = platform::localDate(now);
    return {today, std::chrono::sys_days(today) - std::chrono::days(1)};
}

std::string pollDateText(std::string_view datePattern, std::chrono::year_month_day date) {
    return platform::Replace(platform::formatDate(datePattern, date), "/", "");
}

std::string pollToken(std::string_view dateText, std::string_view memberName) {
    const std::string bytes =
        platform::toAnsi(std::string(dateText) + "_" + std::string(memberName));
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr) != 1) {
        return {};  // matches no token
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 0x0f];
    }
    return hex;
}

std::optional<PollQuery> parsePollQuery(std::string_view target) {
    static constexpr std::string_view kMember = "?membername=";
    static constexpr std::string_view kToken = "&vb=";
    const size_t query = target.find('?');
    if (query == std::string_view::npos || target.substr(query, kMember.size()) != kMember) {
        return std::nullopt;
    }
    const size_t token = target.rfind(kToken);
    if (token == std::string_view::npos || token < query + kMember.size()) {
        return std::nullopt;
    }
    const size_t nameStart = query + kMember.size();
    return PollQuery{transportDecoded(target.substr(nameStart, token - nameStart)),
                     std::string(target.substr(token + kToken.size()))};
}

}  // namespace site
