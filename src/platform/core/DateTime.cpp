// Date values as day counts from 1899-12-30: encoding, decoding, formatting
// and parsing with plain integer calendar arithmetic, free of locale and time zone.
#include "platform/core/DateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "platform/core/Exceptions.h"

namespace zb {

namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;

// Days since 1970-01-01 of a proleptic Gregorian date.
constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

constexpr std::int64_t kEpoch = DaysFromCivil(1899, 12, 30);
constexpr std::int64_t kMinDay = DaysFromCivil(1, 1, 1) - kEpoch;
constexpr std::int64_t kMaxDay = DaysFromCivil(9999, 12, 31) - kEpoch;

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Before day 0 the time still counts forwards from midnight, so the fraction
// is subtracted: -1.25 is 1899-12-29 06:00.
double Compose(double day, double time) { return day < 0 ? day - time : day + time; }

// Splits a date value into its day and the milliseconds since midnight,
// rounding to the millisecond so that 12:00 never shows as 11:59:59.999.
void Split(double date, std::int64_t& day, std::int64_t& ms) {
    if (!std::isfinite(date) || date < kMinDay - 1.0 || date > kMaxDay + 1.0)
        throw EConvertError("Invalid date value");
    const double whole = std::trunc(date);
    day = static_cast<std::int64_t>(whole);
    ms = std::llround(std::fabs(date - whole) * kMsPerDay);
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        day += date < 0 ? -1 : 1;
    }
    if (day < kMinDay || day > kMaxDay) throw EConvertError("Invalid date value");
}

void AppendNumber(std::string& out, int value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) out.append(width - digits.size(), '0');
    out += digits;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::size_t RunLength(std::string_view s, std::size_t pos) {
    const char c = Lower(s[pos]);
    std::size_t n = 0;
    while (pos + n < s.size() && Lower(s[pos + n]) == c) ++n;
    return n;
}

// A cursor over the text being parsed.
struct Reader {
    std::string_view text;
    std::size_t pos = 0;

    bool AtEnd() const { return pos == text.size(); }
    bool Take(char c) {
        if (AtEnd() || text[pos] != c) return false;
        ++pos;
        return true;
    }
    // Reads between minDigits and maxDigits decimal digits.
    bool Digits(int minDigits, int maxDigits, int& value) {
        value = 0;
        int n = 0;
        while (n < maxDigits && !AtEnd() && text[pos] >= '0' && text[pos] <= '9') {
            value = value * 10 + (text[pos] - '0');
            ++pos;
            ++n;
        }
        return n >= minDigits;
    }
};

bool ParseDatePart(Reader& r, int& y, int& m, int& d) {
    if (!r.Digits(4, 4, y)) return false;
    if (r.AtEnd()) return false;
    const char sep = r.text[r.pos];
    if (sep == '-' || sep == '/') {
        ++r.pos;
        return r.Digits(1, 2, m) && r.Take(sep) && r.Digits(1, 2, d);
    }
    return r.Digits(2, 2, m) && r.Digits(2, 2, d);
}

bool ParseTimePart(Reader& r, double& time) {
    int h = 0, n = 0, s = 0, ms = 0;
    if (!r.Digits(1, 2, h) || !r.Take(':') || !r.Digits(2, 2, n)) return false;
    if (r.Take(':')) {
        if (!r.Digits(2, 2, s)) return false;
        if (r.Take('.')) {
            const std::size_t start = r.pos;
            if (!r.Digits(1, 3, ms)) return false;
            for (std::size_t k = r.pos - start; k < 3; ++k) ms *= 10;  // ".5" is 500 ms
        }
    }
    if (h > 23 || n > 59 || s > 59) return false;
    time = EncodeTime(h, n, s, ms);
    return true;
}

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

bool TryEncodeDate(int year, int month, int day, double& date) {
    if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
    if (day < 1 || day > DaysInMonth(year, month)) return false;
    date = static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpoch);
    return true;
}

double EncodeDate(int year, int month, int day) {
    double date = 0;
    if (!TryEncodeDate(year, month, day, date))
        throw EConvertError("Invalid argument to date encode: " + std::to_string(year) + "-" +
                            std::to_string(month) + "-" + std::to_string(day));
    return date;
}

double EncodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999)
        throw EConvertError("Invalid argument to time encode");
    const std::int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<double>(ms) / kMsPerDay;
}

DateParts DecodeDateTime(double date) {
    std::int64_t day = 0, ms = 0;
    Split(date, day, ms);
    DateParts p;
    CivilFromDays(day + kEpoch, p.year, p.month, p.day);
    p.millisecond = static_cast<int>(ms % 1000);
    ms /= 1000;
    p.second = static_cast<int>(ms % 60);
    ms /= 60;
    p.minute = static_cast<int>(ms % 60);
    p.hour = static_cast<int>(ms / 60);
    return p;
}

double DateOf(double date) { return std::trunc(date); }

double Now() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto sinceEpoch = duration_cast<milliseconds>(now.time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(sinceEpoch / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    const double day = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    // A leap second (tm_sec 60) is folded into the last ordinary second.
    const int second = local.tm_sec > 59 ? 59 : local.tm_sec;
    return Compose(day, EncodeTime(local.tm_hour, local.tm_min, second, static_cast<int>(sinceEpoch % 1000)));
}

double Today() { return DateOf(Now()); }

int DayOfWeek(double date) {
    const auto day = static_cast<std::int64_t>(std::trunc(date));
    // Day 0 (1899-12-30) was a Saturday.
    return static_cast<int>(((day % 7) + 7 + 6) % 7) + 1;
}

std::string FormatDateTime(std::string_view pattern, double date) {
    const DateParts p = DecodeDateTime(date);
    std::string out;
    bool afterHour = false;  // "m" right after an hour token means minutes
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = Lower(pattern[i]);
        const std::size_t run = RunLength(pattern, i);
        std::size_t used = run;
        bool hourToken = false;
        switch (c) {
        case 'y':
            if (run >= 3) AppendNumber(out, p.year, 4);
            else AppendNumber(out, p.year % 100, 2);
            break;
        case 'm':
            used = run >= 2 ? 2 : 1;
            AppendNumber(out, afterHour ? p.minute : p.month, static_cast<int>(used));
            break;
        case 'd':
            used = run >= 2 ? 2 : 1;
            AppendNumber(out, p.day, static_cast<int>(used));
            break;
        case 'h':
            used = run >= 2 ? 2 : 1;
            AppendNumber(out, p.hour, static_cast<int>(used));
            hourToken = true;
            break;
        case 'n':
            used = run >= 2 ? 2 : 1;
            AppendNumber(out, p.minute, static_cast<int>(used));
            break;
        case 's':
            used = run >= 2 ? 2 : 1;
            AppendNumber(out, p.second, static_cast<int>(used));
            break;
        case 'z':
            used = run >= 3 ? 3 : 1;
            AppendNumber(out, p.millisecond, static_cast<int>(used));
            break;
        default:
            out += pattern[i];
            ++i;
            continue;  // literals keep the hour context: "hh:mm"
        }
        afterHour = hourToken;
        i += used;
    }
    return out;
}

bool TryParseDateTime(std::string_view text, double& date) {
    Reader r{text};
    int y = 0, m = 0, d = 0;
    if (!ParseDatePart(r, y, m, d)) return false;
    double day = 0;
    if (!TryEncodeDate(y, m, d, day)) return false;
    double time = 0;
    if (!r.AtEnd()) {
        if (!r.Take(' ') || !ParseTimePart(r, time) || !r.AtEnd()) return false;
    }
    date = Compose(day, time);
    return true;
}

}  // namespace zb
