#include "platform/runtime/short_date.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace {

using namespace platform;
using namespace std::chrono;

constexpr year_month_day kFriday{year(2026), January, day(2)};
constexpr year_month_day kWednesday{year(2009), November, day(25)};

// What strftime writes for the date in the C locale: the oracle for translated formats.
std::string strftimeOf(const std::string& dateFormat, year_month_day date) {
    std::tm tm{};
    tm.tm_year = int(date.year()) - 1900;
    tm.tm_mon = int(unsigned(date.month())) - 1;
    tm.tm_mday = int(unsigned(date.day()));
    tm.tm_wday = int(weekday(sys_days(date)).c_encoding());
    char text[128];
    return std::string(text, std::strftime(text, sizeof text, dateFormat.c_str(), &tm));
}

// The date formats of real locales, translated; the pattern then writes what strftime writes.
TEST(ShortDate, DateFormatsTranslateToPatternsThatWriteTheSameDate) {
    struct Case {
        const char* dateFormat;
        std::optional<std::string> pattern;
        bool sameAsStrftime = true;
    };
    const Case cases[] = {
        {"%D", "MM/dd/yy"},
        {"%d.%m.%Y", "dd.MM.yyyy"},
        {"%F", "yyyy-MM-dd"},
        {"%-d/%-m/%y", "d/M/yy"},
        {"%Y년 %m월 %d일", "yyyy년 MM월 dd일"},
        // Letters of the text are quoted, a quote doubled; a percent sign stays literal.
        {"%a, %Y.eko %bren %da", "ddd, yyyy'.eko 'MMM'ren 'dd'a'"},
        {"%d'%m %% %y", "dd''MM % yy"},
        // Alternative digits and eras are written plainly; %e is not padded with a space.
        {"%Oy/%Om/%Od", "yy/MM/dd"},
        {"%a %e.%b %Y", "ddd d.MMM yyyy", false},
        // Anything else cannot be a short date.
        {"%OC%Oy %b %Od", std::nullopt},
        {"", std::nullopt},
        {"%d/%m/%", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> pattern = patternFromDateFormat(c.dateFormat);
        EXPECT_EQ(pattern, c.pattern) << c.dateFormat;
        if (pattern && c.sameAsStrftime) {
            for (const year_month_day date : {kFriday, kWednesday}) {
                EXPECT_EQ(formatDate(*pattern, date), strftimeOf(c.dateFormat, date))
                    << c.dateFormat;
            }
        }
    }
}

TEST(ShortDate, PatternsWriteDayMonthAndYear) {
    struct Case {
        const char* pattern;
        year_month_day date;
        const char* text;
    };
    const Case cases[] = {
        {"M/d/yyyy", kFriday, "1/2/2026"},
        {"dd.MM.yyyy", kWednesday, "25.11.2009"},
        {"y|yy|yyy|yyyyy", kWednesday, "9|09|2009|2009"},
        {"ddd dddd MMM MMMM", kWednesday, "Wed Wednesday Nov November"},
        // Quoted text is literal, '' is a quote.
        {"'day' d 'o''clock' M''", kFriday, "day 2 o'clock 1'"},
        {"d/M", year_month_day{year(2026), February, day(30)}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatDate(c.pattern, c.date), c.text) << c.pattern;
    }
}

// The C locale and any locale name that is not installed read as the default, M/d/yyyy.
TEST(ShortDate, LocaleNamesWithoutTheirOwnFormat) {
    for (const char* name : {"", "C", "POSIX", "C.UTF-8"}) {
        EXPECT_EQ(shortDatePatternOf(name), std::string(kDefaultShortDatePattern)) << name;
    }
    EXPECT_EQ(shortDatePatternOf("xx_NOWHERE.UTF-8"), std::nullopt);
}

// The date is the local one: noon UTC on 1 January is 2 January fourteen hours east.
TEST(ShortDate, LocalDateFollowsTheTimeZone) {
    const std::string saved = std::getenv("TZ") != nullptr ? std::getenv("TZ") : "";
    for (const auto& [zone, day] : {std::pair{"XYZ-14", 2u}, std::pair{"XYZ+11", 1u}}) {
        setenv("TZ", zone, 1);
        tzset();
        EXPECT_EQ(unsigned(localDate(sys_days(kFriday) - hours(12)).day()), day) << zone;
    }
    saved.empty() ? unsetenv("TZ") : setenv("TZ", saved.c_str(), 1);
    tzset();
}

}  // namespace
