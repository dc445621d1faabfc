#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

// The user's short date: a pattern in the platform's letters and the date written with it.
//
// Pattern letters: d (day, 1-31), dd (two digits), ddd (Mon), dddd (Monday); M (month, 1-12), MM
// (two digits), MMM (Jan), MMMM (January); y (year within the century, no leading zero), yy (two
// digits), yyy and longer (the full year, at least four digits). Text between single quotes is
// literal ('' is one quote); any other character stands for itself. Day and month names are
// English.
//
// The user's pattern comes from the locale that LC_TIME names (LC_ALL, then LC_TIME, then LANG):
// its D_FMT translated to these letters. The C and POSIX locales, an unset locale, one that is not
// installed and a D_FMT that cannot be translated all give M/d/yyyy, the system's short date in its
// home locale.
namespace platform {

inline constexpr std::string_view kDefaultShortDatePattern = "M/d/yyyy";

// The local calendar date at that moment.
std::chrono::year_month_day localDate(std::chrono::system_clock::time_point when);

// The date written with the pattern.
std::string formatDate(std::string_view pattern, std::chrono::year_month_day date);

// A strftime date format (nl_langinfo(D_FMT)) in pattern letters: %d dd, %e and %-d d, %m MM, %-m
// M, %y yy, %Y yyyy, %b and %h MMM, %B MMMM, %a ddd, %A dddd, %D, %F, %%; E and O modifiers are
// ignored; letters in its text are quoted. Nothing for any other conversion or an empty format.
std::optional<std::string> patternFromDateFormat(std::string_view dateFormat);

// The short-date pattern of the named locale (C, POSIX and C.<codeset> give the default); nothing
// when that locale is not installed or its D_FMT cannot be translated.
std::optional<std::string> shortDatePatternOf(std::string_view localeName);

// The user's short-date pattern, read from the environment once. A locale that is not installed or
// whose D_FMT cannot be translated is reported once on stderr.
const std::string& userShortDatePattern();

}  // namespace platform
