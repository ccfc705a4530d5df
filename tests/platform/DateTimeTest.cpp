// Date values: calendar encoding across the whole year range, time
// fractions, the pattern letters of formatting and the accepted date texts.
#include "platform/core/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <tuple>

#include "platform/core/Exceptions.h"

namespace zb {
namespace {

TEST(DateTime, EncodesKnownDays) {
    struct Case {
        int y, m, d;
        double days;
    };
    const Case cases[] = {
        {1899, 12, 30, 0},       {1899, 12, 31, 1},       {1899, 12, 29, -1},
        {1900, 1, 1, 2},         {1900, 3, 1, 61},        {2000, 1, 1, 36526},
        {2024, 3, 1, 45352},     {2024, 2, 29, 45351},    {1, 1, 1, -693593},
        {9999, 12, 31, 2958465}, {1970, 1, 1, 25569},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.y) + "-" + std::to_string(c.m) + "-" + std::to_string(c.d));
        EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.days);
        const DateParts p = DecodeDateTime(c.days);
        EXPECT_EQ(p.year, c.y);
        EXPECT_EQ(p.month, c.m);
        EXPECT_EQ(p.day, c.d);
    }
}

TEST(DateTime, EveryDayOfTheRangeRoundTrips) {
    // Walks day by day so that each month length and leap rule is crossed.
    int y = 1, m = 1, d = 1;
    const int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (double day = -693593; day <= 2958465; ++day) {
        const DateParts p = DecodeDateTime(day);
        ASSERT_TRUE(p.year == y && p.month == m && p.day == d) << day;
        const int length = monthDays[m - 1] + (m == 2 && IsLeapYear(y) ? 1 : 0);
        if (++d > length) {
            d = 1;
            if (++m > 12) m = 1, ++y;
        }
    }
    EXPECT_EQ(y, 10000);
}

TEST(DateTime, LeapYearsAndInvalidDates) {
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2023));
    double date = 123;
    EXPECT_TRUE(TryEncodeDate(2000, 2, 29, date));
    for (auto [y, m, d] : {std::tuple{1900, 2, 29}, {2023, 2, 29}, {2024, 4, 31}, {2024, 13, 1},
                           {2024, 0, 1}, {2024, 1, 0}, {0, 1, 1}, {10000, 1, 1}}) {
        date = 123;
        EXPECT_FALSE(TryEncodeDate(y, m, d, date)) << y << "-" << m << "-" << d;
        EXPECT_EQ(date, 123);
        EXPECT_THROW(EncodeDate(y, m, d), EConvertError);
    }
}

TEST(DateTime, TimeFractionsAndNegativeDays) {
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);

    DateParts p = DecodeDateTime(45352 + EncodeTime(23, 59, 59, 999));
    EXPECT_EQ(p.day, 1);
    EXPECT_EQ(p.hour, 23);
    EXPECT_EQ(p.minute, 59);
    EXPECT_EQ(p.second, 59);
    EXPECT_EQ(p.millisecond, 999);

    // Before day 0 the fraction still counts from midnight.
    p = DecodeDateTime(-1.25);
    EXPECT_EQ(p.day, 29);
    EXPECT_EQ(p.hour, 6);

    // A hair below midnight rounds to the next day, not to 23:59:59.999 + 1 ms.
    p = DecodeDateTime(45352 - 1e-10);
    EXPECT_EQ(p.month, 3);
    EXPECT_EQ(p.day, 1);
    EXPECT_EQ(p.hour, 0);

    EXPECT_EQ(DateOf(45352.75), 45352);
    EXPECT_THROW(DecodeDateTime(std::nan("")), EConvertError);
    EXPECT_THROW(DecodeDateTime(1e9), EConvertError);
    EXPECT_THROW(DecodeDateTime(-693595), EConvertError);
}

TEST(DateTime, DayOfWeekStartsOnSunday) {
    EXPECT_EQ(DayOfWeek(0), 7);                          // 1899-12-30 was a Saturday
    EXPECT_EQ(DayOfWeek(1), 1);
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 1)), 6);      // a Friday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 1) + 0.9), 6);
    EXPECT_EQ(DayOfWeek(EncodeDate(1800, 1, 1)), 4);      // a Wednesday
}

TEST(DateTime, FormatsPatternLetters) {
    const double t = EncodeDate(2024, 3, 5) + EncodeTime(7, 8, 9, 45);
    const std::pair<const char*, const char*> cases[] = {
        {"yyyymmdd", "20240305"},
        {"YYYY/MM/DD hh:nn:ss:zzz", "2024/03/05 07:08:09:045"},
        {"yyyy-mm-dd hh:nn:ss", "2024-03-05 07:08:09"},
        {"yy-m-d h:n:s", "24-3-5 7:8:9"},
        {"hh:mm", "07:08"},
        {"HH:MM:SS", "07:08:09"},
        {"h m", "7 8"},
        {"mm/dd hh", "03/05 07"},
        {"hh dd mm", "07 05 03"},
        {"[z]", "[45]"},
        {"yyyy.mm.dd_T!", "2024.03.05_T!"},
    };
    for (const auto& [pattern, text] : cases) EXPECT_EQ(FormatDateTime(pattern, t), text) << pattern;
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd", EncodeDate(1, 1, 1)), "0001-01-01");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", 0), "1899-12-30 00:00");
}

TEST(DateTime, ParsesDateTexts) {
    const double mar5 = EncodeDate(2024, 3, 5);
    const std::pair<const char*, double> good[] = {
        {"2024-03-05", mar5},
        {"2024/03/05", mar5},
        {"20240305", mar5},
        {"2024-3-5", mar5},
        {"2024-03-05 12:00", mar5 + 0.5},
        {"2024/03/05 7:08:09", mar5 + EncodeTime(7, 8, 9, 0)},
        {"20240305 23:59:59.5", mar5 + EncodeTime(23, 59, 59, 500)},
        {"2024-02-29", EncodeDate(2024, 2, 29)},
        {"1899-12-29 06:00", -1.25},
    };
    for (const auto& [text, expected] : good) {
        double date = 0;
        EXPECT_TRUE(TryParseDateTime(text, date)) << text;
        EXPECT_DOUBLE_EQ(date, expected) << text;
    }
    const char* bad[] = {"",           "2024",          "2024-03",          "2024-03/05",      "2023-02-29",
                         "2024-13-01", "202403051",     "2024-03-05 ",      "2024-03-05 24:00", "2024-03-05 12",
                         "2024-03-05T12:00", " 2024-03-05", "2024-03-05 12:60", "24-03-05",       "2024-003-05",
                         "2024-03-05 12:00:00.1234", "abcd-ef-gh"};
    for (const char* text : bad) {
        double date = 77;
        EXPECT_FALSE(TryParseDateTime(text, date)) << text;
        EXPECT_EQ(date, 77) << text;
    }
}

TEST(DateTime, NowIsLocalTimeWithMilliseconds) {
    const std::time_t before = std::time(nullptr);
    const double now = Now();
    std::tm local{};
    localtime_r(&before, &local);
    const DateParts p = DecodeDateTime(now);
    EXPECT_EQ(p.year, local.tm_year + 1900);
    EXPECT_EQ(p.month, local.tm_mon + 1);
    // Seconds may tick between the two readings; hours only at a boundary.
    const int secondsLocal = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    const int secondsNow = p.hour * 3600 + p.minute * 60 + p.second;
    int diff = secondsNow - secondsLocal;
    if (diff < 0) diff += 86400;  // midnight passed between the readings
    EXPECT_LE(diff, 2);
    const double today = Today();
    EXPECT_EQ(today, std::trunc(today));
    EXPECT_LE(today, Now());
    EXPECT_GT(today + 1, Now());
}

}  // namespace
}  // namespace zb
