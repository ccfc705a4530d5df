// Dates as day counts: the whole part counts days from 1899-12-30, the
// fraction is the time of day; 0 means "no date" to the system's functions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zb {

struct DateParts {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

bool IsLeapYear(int year);
// False when year/month/day make no Gregorian date (year 1..9999).
bool TryEncodeDate(int year, int month, int day, double& date);
double EncodeDate(int year, int month, int day);  // throws EConvertError
double EncodeTime(int hour, int minute, int second, int millisecond);  // fraction of a day; throws EConvertError
// Whole and fractional part, rounded to the millisecond; throws EConvertError
// for a value that is not finite or lies outside the years 1..9999.
DateParts DecodeDateTime(double date);
double DateOf(double date);              // the day without its time
double Now();                            // local time
double Today();
int DayOfWeek(double date);              // 1 = Sunday .. 7 = Saturday

// Formats with the class library's pattern letters: yyyy yy mm m dd d hh h
// nn n ss s zzz, with the letters matched without regard to case and "mm"
// after an hour meaning minutes; any other character is copied.
// Examples: "yyyymmdd", "YYYY/MM/DD hh:nn:ss:zzz", "yyyy-mm-dd hh:nn:ss".
std::string FormatDateTime(std::string_view pattern, double date);

// Reads "yyyy-mm-dd", "yyyy/mm/dd" or "yyyymmdd", optionally followed by
// " hh:nn[:ss[.zzz]]". Returns false for anything else.
bool TryParseDateTime(std::string_view text, double& date);

}  // namespace zb
