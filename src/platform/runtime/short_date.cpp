#include "platform/runtime/short_date.h"

#include <langinfo.h>
#include <locale.h>

#include <array>
#include <ctime>

#include "platform/runtime/env_setting.h"

namespace platform {

namespace {

constexpr std::array<std::string_view, 12> kMonthNames{
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<std::string_view, 7> kWeekdayNames{
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

std::string padded(long long value, size_t digits) {
    std::string text = std::to_string(value);
    if (text.size() < digits) {
        text.insert(0, digits - text.size(), '0');
    }
    return text;
}

// One run of a pattern letter: count 1 or 2 is a number, more is a name (d, M) or the full year
// (y).
std::string dateField(char letter, size_t count, std::chrono::year_month_day date) {
    const auto name = [count](std::string_view full) {
        return std::string(count == 3 ? full.substr(0, 3) : full);
    };
    if (letter == 'd') {
        if (count <= 2) {
            return padded(unsigned(date.day()), count);
        }
        return name(kWeekdayNames[std::chrono::weekday(std::chrono::sys_days(date)).c_encoding()]);
    }
    if (letter == 'M') {
        return count <= 2 ? padded(unsigned(date.month()), count)
                          : name(kMonthNames[unsigned(date.month()) - 1]);
    }
    const int year = int(date.year());
    return count <= 2 ? padded((year % 100 + 100) % 100, count) : padded(year, 4);
}

// The pattern letters for one strftime conversion (with its flag), or nothing.
std::string_view lettersFor(char conversion, char flag) {
    const bool unpadded = flag == '-' || flag == '_';
    switch (conversion) {
        case 'd':
            return unpadded ? "d" : "dd";
        case 'e':
            return flag == '0' ? "dd" : "d";
        case 'm':
            return unpadded ? "M" : "MM";
        case 'y':
            return "yy";
        case 'Y':
            return "yyyy";
        case 'b':
        case 'h':
            return "MMM";
        case 'B':
            return "MMMM";
        case 'a':
            return "ddd";
        case 'A':
            return "dddd";
        case 'D':
            return "MM/dd/yy";
        case 'F':
            return "yyyy-MM-dd";
        default:
            return {};
    }
}

// Literal text in a pattern: a quote doubled, and the whole run quoted when it holds a letter.
void appendLiteral(std::string& pattern, std::string_view text) {
    std::string escaped;
    bool letters = false;
    for (const char c : text) {
        letters = letters || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        escaped += c;
        if (c == '\'') {
            escaped += c;
        }
    }
    pattern += letters ? "'" + escaped + "'" : escaped;
}

// The locale LC_TIME takes from the environment: LC_ALL, else LC_TIME, else LANG, else C.
std::string timeLocaleName() {
    for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
        if (std::optional<std::string> value = envText(name)) {
            return *value;
        }
    }
    return "C";
}

}  // namespace

std::chrono::year_month_day localDate(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        return std::chrono::year_month_day(std::chrono::floor<std::chrono::days>(when));
    }
    return std::chrono::year_month_day(std::chrono::year(local.tm_year + 1900),
                                       std::chrono::month(unsigned(local.tm_mon + 1)),
                                       std::chrono::day(unsigned(local.tm_mday)));
}

std::string formatDate(std::string_view pattern, std::chrono::year_month_day date) {
    if (!date.ok()) {
        return {};
    }
    std::string text;
    for (size_t at = 0; at < pattern.size();) {
        const char c = pattern[at];
        if (c == '\'') {
            // Quoted text up to the next lone quote; '' anywhere is one quote.
            ++at;
            if (at < pattern.size() && pattern[at] == '\'') {
                text += '\'';
                ++at;
                continue;
            }
            while (at < pattern.size()) {
                if (pattern[at] != '\'') {
                    text += pattern[at++];
                } else if (at + 1 < pattern.size() && pattern[at + 1] == '\'') {
                    text += '\'';
                    at += 2;
                } else {
                    ++at;
                    break;
                }
            }
        } else if (c == 'd' || c == 'M' || c == 'y') {
            const size_t end = std::min(pattern.find_first_not_of(c, at), pattern.size());
            text += dateField(c, end - at, date);
            at = end;
        } else {
            text += c;
            ++at;
        }
    }
    return text;
}

std::optional<std::string> patternFromDateFormat(std::string_view dateFormat) {
    std::string pattern;
    std::string literal;
    for (size_t at = 0; at < dateFormat.size(); ++at) {
        if (dateFormat[at] != '%') {
            literal += dateFormat[at];
            continue;
        }
        char flag = 0;
        ++at;
        if (at < dateFormat.size() &&
            (dateFormat[at] == '-' || dateFormat[at] == '_' || dateFormat[at] == '0')) {
            flag = dateFormat[at++];
        }
        if (at < dateFormat.size() && (dateFormat[at] == 'E' || dateFormat[at] == 'O')) {
            ++at;  // alternative era or digits: the plain field stands for it
        }
        if (at == dateFormat.size()) {
            return std::nullopt;
        }
        if (dateFormat[at] == '%') {
            literal += '%';
            continue;
        }
        const std::string_view letters = lettersFor(dateFormat[at], flag);
        if (letters.empty()) {
            return std::nullopt;
        }
        appendLiteral(pattern, literal);
        literal.clear();
        pattern += letters;
    }
    appendLiteral(pattern, literal);
    if (pattern.empty()) {
        return std::nullopt;  // a date written as nothing would be no date
    }
    return pattern;
}

std::optional<std::string> shortDatePatternOf(std::string_view localeName) {
    if (localeName.empty() || localeName == "C" || localeName == "POSIX" ||
        localeName.starts_with("C.")) {
        return std::string(kDefaultShortDatePattern);
    }
    const locale_t locale = newlocale(LC_TIME_MASK, std::string(localeName).c_str(), locale_t{});
    if (locale == locale_t{}) {
        return std::nullopt;
    }
    std::optional<std::string> pattern = patternFromDateFormat(nl_langinfo_l(D_FMT, locale));
    freelocale(locale);
    return pattern;
}

const std::string& userShortDatePattern() {
    static const std::string pattern = [] {
        const std::string locale = timeLocaleName();
        if (std::optional<std::string> found = shortDatePatternOf(locale)) {
            return *found;
        }
        reportBadSetting("LC_TIME", locale,
                         "an installed locale with a date format this program reads",
                         kDefaultShortDatePattern);
        return std::string(kDefaultShortDatePattern);
    }();
    return pattern;
}

}  // namespace platform
