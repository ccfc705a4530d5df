// LibStrs: the schedule date computations of periodic jobs — the first run
// date of a period and the date conditions that move with the run date.
#include "util/LibStrs.h"

#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"

#include <cstdio>

namespace zb {

namespace {

std::string TwoDigits(int n)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.2d", n);
    return buf;
}

std::string Head6(std::string_view text) { return std::string(text.substr(0, 6)); }

int ToInteger(const Variant& v) { return static_cast<int>(v.ToInt()); }

int IntField(std::string_view text)
{
    int value = 0;
    if (!TryStrToInt(text, value))
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

// Last day of the month of a "yyyymm..." text.
int LastDayOf(std::string_view ymd)
{
    return DaysInMonth(StrToIntDef(ymd.substr(0, 4), 0), StrToIntDef(ymd.substr(4, 2), 0));
}

std::string Ymd(double date) { return ShiftYmd(Variant::Date(date), "D", 0); }

std::string ShiftText(std::string_view ymd, std::string_view unit, int n) { return ShiftYmd(Variant(ymd), unit, n); }

// The first run of "every n months on the o-th weekday w".
std::string FirstWeekdayOfMonthRun(std::string_view start, int n, int ordinal, int weekday)
{
    if (ordinal < 0 || ordinal > 4)
        return {};
    std::string result;
    // n >= 1 puts the second pass into a later month than the start; two
    // passes also end the search when a caller breaks that promise.
    for (int pass = 0, k = n - 1; pass < 2; ++pass, k = n) {
        const std::string m = ShiftText(start, "M", k);
        if (m.empty())
            return result;
        double r = 0;
        if (ordinal == 4) {
            const double last = YmdToDate(Head6(m) + TwoDigits(LastDayOf(m)));
            const int e = DayOfWeek(last) - (weekday + 1);
            r = e >= 0 ? last - e : last - e - 7;
        } else {
            const double first = YmdToDate(Head6(m) + "01");
            const int c = (weekday + 1) - DayOfWeek(first);
            r = c >= 0 ? first + c + 7 * ordinal : first + c + 7 * (ordinal + 1);
        }
        result = Ymd(r);
        if (!(result < start))
            break;
    }
    return result;
}

Variant NewValueLike(const Variant& old, std::string text)
{
    return old.Type() == VarType::WideString ? Variant::Wide(std::move(text)) : Variant(std::move(text));
}

// The value of one moving date: the base itself when nothing shifts it.
std::string MovedDate(const std::string& base, std::string_view count, std::string_view unit, std::string_view mode,
                      std::string_view days)
{
    if (count == "0" && mode == "0" && days == "0")
        return base;
    return RelativeConditionDate(base, count, unit, mode, days);
}

}  // namespace

std::string FirstRunDate(std::string_view start, const Variant& period)
{
    try {
        switch (ToInteger(period[0])) {
        case 0: return ShiftText(start, "D", 0);
        case 1: {
            const Variant& p = period[1];
            const int n = ToInteger(p[0]);
            const int t = ToInteger(p[1]) + 1;
            const double s = YmdToDate(start);
            if (s == 0)
                return {};
            const int b = DayOfWeek(s);
            const int k = t < b ? n : n - 1;
            const double d = s + 7.0 * k;
            return Ymd(d + (t - DayOfWeek(d)));
        }
        case 2: {
            const Variant& p = period[1];
            const int n = ToInteger(p[1]);
            if (ToInteger(p[0]) != 0)
                return FirstWeekdayOfMonthRun(start, n, ToInteger(p[2]), ToInteger(p[3]));
            const int dd = ToInteger(p[2]);
            if (YmdToDate(start) == 0)
                return {};
            const int k = dd >= StrToIntDef(start.substr(6, 2), 0) ? n - 1 : n;
            const std::string m = ShiftText(start, "M", k);
            if (m.empty())
                return {};
            const std::string candidate = Head6(m) + TwoDigits(dd);
            return IsValidYmd(candidate) ? candidate : Head6(m) + TwoDigits(LastDayOf(m));
        }
        default: return {};
        }
    } catch (const Exception&) {
        // A period record that cannot be read gives no run date.
        return {};
    }
}

std::string RelativeConditionDate(std::string_view base, std::string_view count, std::string_view unit,
                                  std::string_view mode, std::string_view days)
{
    const int c = IntField(count);
    if (base.size() < 7)
        return Head6(ShiftText(std::string(base) + "01", "M", c));
    if (unit != "0") {
        const std::string m = ShiftText(base, "M", c);
        if (m.empty())
            return {};
        if (mode == "0")
            return ShiftText(m, "D", IntField(days));
        if (mode == "1")
            return Head6(m) + "01";
        if (mode == "2")
            return Head6(m) + TwoDigits(LastDayOf(m));
        return m;
    }
    if (mode != "0")
        return WeekBoundaryDate(base, c, mode);
    return ShiftText(base, "D", c * 7 + IntField(days));
}

std::string WeekBoundaryDate(std::string_view base, int count, std::string_view mode)
{
    const double b = YmdToDate(base);
    if (b == 0)
        return {};
    const double t = b + 7.0 * count;
    const int q = DayOfWeek(t);
    return Ymd(mode == "1" ? t + (1 - q) : t + (7 - q));
}

Variant RecomputeConditionDates(const Variant& job, std::string_view run)
{
    try {
        Variant values = job[1];
        const Variant& defs = job[3];
        const int count = ToInteger(defs[0]);
        const std::string runText(run);
        for (int i = 1; i <= count; ++i) {
            const std::string def = VarToStr(defs[i]);
            auto f = [&def](int k) { return GetDelimitedField(def, std::string(1, kSep3), k); };
            if (f(1) != "0") {
                const std::string base = f(8) == "D" ? runText : Head6(runText);
                const int s = IntField(f(9));
                const Variant stored = values[s];  // a slot outside the array is a fault of the record
                values[s] = f(3) == "Y" ? NewValueLike(stored, MovedDate(base, f(4), f(5), f(6), f(7))) : stored;
            } else {
                const std::string base = f(13) == "D" ? runText : Head6(runText);
                const int s = IntField(f(14));
                Variant v = values[s];
                if (f(3) == "Y")
                    v[1] = NewValueLike(v[1], MovedDate(base, f(4), f(5), f(6), f(7)));
                if (f(8) == "Y")
                    v[2] = NewValueLike(v[2], MovedDate(base, f(9), f(10), f(11), f(12)));
                values[s] = v;
            }
        }
        return values;
    } catch (const Exception&) {
        // The caller stores whatever comes back; a faulty record stores an empty text.
        return Variant(std::string());
    }
}

}  // namespace zb
