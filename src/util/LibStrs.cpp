// LibStrs: text, date and code-page helpers.
#include "util/LibStrs.h"

#include "env/AlertLog.h"
#include "platform/core/CodePage.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/TextUtils.h"
#include "platform/os/Paths.h"
#include "platform/os/SysInfo.h"

#include <charconv>
#include <cstdio>
#include <limits>

namespace zb {

namespace {

std::string_view TakeBefore(std::string_view text, size_t pos) { return text.substr(0, pos); }

// Replaces every occurrence once, left to right, without looking at the result again.
std::string ReplaceOnce(std::string_view text, std::string_view oldText, std::string_view newText)
{
    std::string out;
    size_t from = 0;
    for (size_t at = text.find(oldText); at != std::string_view::npos; at = text.find(oldText, from)) {
        out.append(text.substr(from, at - from));
        out.append(newText);
        from = at + oldText.size();
    }
    out.append(text.substr(from));
    return out;
}

// The repeated search from the start, done in one pass: `out` never holds an
// occurrence, so after a replacement only its tail joined with the inserted
// text can form the next one, and the inserted text is read again before the
// rest. False when the rewriting keeps growing past `limit` replacements.
bool ReplaceRepeatedly(std::string_view text, std::string_view oldText, std::string_view newText, std::string& out)
{
    const size_t limit = 1'000'000 + 16 * text.size();
    std::string pending(text.rbegin(), text.rend());  // the next character is at the back
    size_t replacements = 0;
    out.clear();
    out.reserve(text.size());
    while (!pending.empty()) {
        out.push_back(pending.back());
        pending.pop_back();
        if (out.size() >= oldText.size() &&
            std::string_view(out).substr(out.size() - oldText.size()) == oldText) {
            out.resize(out.size() - oldText.size());
            pending.append(newText.rbegin(), newText.rend());
            if (++replacements > limit)
                return false;
        }
    }
    return true;
}

std::string FirstChar(std::string_view separator) { return Utf8Copy(separator, 0, 1); }

std::string Format2(const char* format, int a, const std::string& sep, int b)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, format, a, sep.c_str(), b);
    return buf;
}

std::string Format3(const char* format, int a, const std::string& sep, int b, int c)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, format, a, sep.c_str(), b, sep.c_str(), c);
    return buf;
}

bool SplitDate(double date, DateParts& parts)
{
    try {
        parts = DecodeDateTime(date);
        return true;
    } catch (const Exception&) {
        // A day count outside the calendar reads as no date.
        return false;
    }
}

// Characters [from, from + count) of the text, clipped like the class library's Copy.
std::string_view Copy(std::string_view text, size_t from, size_t count)
{
    if (from >= text.size())
        return {};
    return text.substr(from, count);
}

std::string FormatYmd(double date)
{
    DateParts parts;
    if (!SplitDate(date, parts))
        return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.4d%.2d%.2d", parts.year, parts.month, parts.day);
    return buf;
}

bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'; }

}  // namespace

// ---- Delimited texts --------------------------------------------------------

std::string GetDelimitedField(std::string_view text, std::string_view delimiter, int index)
{
    if (index < 1 || text.empty())
        return {};
    if (delimiter.empty())
        return index == 1 ? std::string(text) : std::string();
    for (int field = 1;; ++field) {
        const size_t at = text.find(delimiter);
        if (field == index)
            return std::string(TakeBefore(text, at));
        if (at == std::string_view::npos)
            return {};
        text.remove_prefix(at + delimiter.size());
    }
}

int CountDelimitedFields(std::string_view text, std::string_view delimiter)
{
    if (text.empty())
        return 0;
    if (delimiter.empty())
        return 1;
    int count = 1;
    for (size_t at = text.find(delimiter); at != std::string_view::npos; at = text.find(delimiter, at + delimiter.size()))
        ++count;
    return count;
}

std::string CutFirstField(std::string& text, std::string_view delimiter)
{
    const size_t at = delimiter.empty() ? std::string::npos : text.find(delimiter);
    std::string head;
    if (at == std::string::npos) {
        head.swap(text);
        return head;
    }
    head = text.substr(0, at);
    text.erase(0, at + delimiter.size());
    return head;
}

std::string ReplaceAllText(std::string_view text, std::string_view oldText, std::string_view newText, bool trim)
{
    std::string result;
    if (oldText.empty() || SameText(oldText, newText))
        result = text;
    else if (newText.find(oldText) != std::string_view::npos || !ReplaceRepeatedly(text, oldText, newText, result))
        result = ReplaceOnce(text, oldText, newText);
    return trim ? Trim(result) : result;
}

std::string JoinCountedArray(std::string_view prefix, const Variant& items)
{
    if (!items.IsArray())
        throw EVariantError("JoinCountedArray: the items are not an array");
    const std::int64_t count = items[0].ToInt();
    std::string out(prefix);
    out += kSep3;
    out += std::to_string(count);
    out += kSep3;
    for (std::int64_t i = 1; i <= count; ++i) {
        const Variant& item = items[static_cast<std::int32_t>(i)];
        if (!item.IsText())
            throw EVariantError(std::string("JoinCountedArray: item ") + std::to_string(i) + " is " +
                                VarTypeName(item.Type()) + ", not a text");
        out += item.Text();
        out += kSep3;
    }
    return out;
}

bool TryStrToInt(std::string_view text, int& value)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return false;
    int parsed = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || end != text.data() + text.size())
        return false;
    value = parsed;
    return true;
}

int StrToIntDef(std::string_view text, int def)
{
    int value = 0;
    return TryStrToInt(text, value) ? value : def;
}

bool IsLoopbackAddress(std::string_view text) { return text == "127.0.0.1"; }

std::string GetLongTempPath() { return GetLongPathName(GetTempPath()); }

double TextToFloatDef(std::string_view text, double def)
{
    const std::string trimmed = Trim(text);
    std::string_view t = trimmed;
    if (t.empty())
        return def;
    for (char c : t)
        if (!IsNumberChar(c))
            return def;  // also keeps out "inf" and "nan", which are no numbers here
    if (t.front() == '+')
        t.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (ec != std::errc() || end != t.data() + t.size())
        return def;
    return value;
}

// ---- Dates ------------------------------------------------------------------

std::string DateToOrderText(int orderCode, std::string_view separator, double date)
{
    DateParts p;
    if (date == 0 || !SplitDate(date, p))
        return {};
    const std::string sep = FirstChar(separator);
    switch (orderCode) {
    case 1: return Format3("%.4d%s%.2d%s%.2d", p.year, sep, p.month, p.day);
    case 2: return Format3("%.2d%s%.2d%s%.4d", p.month, sep, p.day, p.year);
    case 3: return Format3("%.2d%s%.2d%s%.4d", p.day, sep, p.month, p.year);
    case 4: return Format3("%.2d%s%.2d%s%.2d", p.year - 1911, sep, p.month, p.day);
    case 5: return Format3("%.3d%s%.2d%s%.2d", p.year - 1911, sep, p.month, p.day);
    default: return {};
    }
}

std::string DateToOrderYearMonth(int orderCode, std::string_view separator, double date)
{
    DateParts p;
    if (date == 0 || !SplitDate(date, p))
        return {};
    const std::string sep = FirstChar(separator);
    switch (orderCode) {
    case 1: return Format2("%.4d%s%.2d", p.year, sep, p.month);
    case 2:
    case 3: return Format2("%.2d%s%.4d", p.month, sep, p.year);
    case 4: return Format2("%.2d%s%.2d", p.year - 1911, sep, p.month);
    case 5: return Format2("%.3d%s%.2d", p.year - 1911, sep, p.month);
    default: return {};
    }
}

double OrderTextToDate(std::string_view text, int orderCode, std::string_view separator)
{
    std::string rest = Trim(text);
    if (rest.empty())
        return 0;
    int f[3];
    for (int& value : f) {
        const std::string field = Trim(CutFirstField(rest, separator));
        // Fields are 16-bit numbers; one that does not fit is no number.
        if (!TryStrToInt(field, value) || value > std::numeric_limits<std::int16_t>::max() ||
            value < std::numeric_limits<std::int16_t>::min())
            value = -1;
    }
    if (f[0] <= 0 || f[1] <= 0 || f[2] <= 0 || orderCode <= 0)
        return 0;
    int year = 0, month = 0, day = 0;
    switch (orderCode) {
    case 1: year = f[0], month = f[1], day = f[2]; break;
    case 2: year = f[2], month = f[0], day = f[1]; break;
    case 3: year = f[2], month = f[1], day = f[0]; break;
    case 4:
    case 5: year = f[0] + 1911, month = f[1], day = f[2]; break;
    default: return 0;
    }
    double first = 0;
    if (!TryEncodeDate(year, month, 1, first))
        return 0;
    return first + (day - 1);
}

double YmdToDate(std::string_view text)
{
    if (text.size() != 8)
        return 0;
    const int year = StrToIntDef(text.substr(0, 4), 0);
    const int month = StrToIntDef(text.substr(4, 2), 0);
    const int day = StrToIntDef(text.substr(6, 2), 0);
    double date = 0;
    if (year == 0 || month == 0 || day == 0 || !TryEncodeDate(year, month, day, date))
        return 0;
    return date;
}

bool IsValidYmd(std::string_view text)
{
    if (text.empty())
        return true;
    int year = 0, month = 0, day = 0;
    double date = 0;
    if (!TryStrToInt(Copy(text, 0, 4), year) || !TryStrToInt(Copy(text, 4, 2), month) ||
        !TryStrToInt(Copy(text, 6, 2), day) || !TryEncodeDate(year, month, day, date))
        return false;
    return text >= std::string_view("17530101") && text <= std::string_view("99991231");
}

std::string ShiftYmd(const Variant& value, std::string_view unit, int n)
{
    double date = 0;
    if (value.IsText())
        date = YmdToDate(value.Text());
    else if (value.Type() == VarType::DateTime)
        date = value.ToDate();
    else
        return {};
    DateParts p;
    if (date == 0 || !SplitDate(date, p))
        return {};
    date = DateOf(date);
    if (SameText(unit, "Y")) {
        double shifted = 0;
        if (TryEncodeDate(p.year + n, p.month, p.day, shifted))
            date = shifted;
        return FormatYmd(date);
    }
    if (SameText(unit, "M")) {
        const std::int64_t total = std::int64_t{p.year} * 12 + p.month + n;
        std::int64_t month = total % 12;
        std::int64_t year = total / 12;
        if (month == 0) {
            month = 12;
            year -= 1;
        }
        if (year < 1 || year > 9999 || month < 1)
            return {};  // no day of such a month exists; stepping down days would never end
        for (int day = p.day; day >= 1; --day) {
            double shifted = 0;
            if (TryEncodeDate(static_cast<int>(year), static_cast<int>(month), day, shifted))
                return FormatYmd(shifted);
        }
        return {};
    }
    if (SameText(unit, "D"))
        return FormatYmd(date + n);
    return {};
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// ---- Variants -----------------------------------------------------------------

Variant IfThenValue(bool condition, const Variant& a, const Variant& b) { return condition ? a : b; }

bool IsEmptyOrNull(const Variant& v) { return v.IsEmpty() || v.IsNull(); }

// ---- Code pages ---------------------------------------------------------------

namespace {

std::string UpToNul(std::string text)
{
    const size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    return text;
}

// Wide text -> 8-bit text, applied to every wide element the walk reaches.
Variant ToCodePageElement(const Variant& v, int codePage)
{
    if (v.Type() == VarType::WideString)
        return Variant(WideToCodePage(v.Text(), codePage));
    return v;
}

Variant FromCodePageElement(const Variant& v, int codePage)
{
    // A wide text is first made 8-bit the default way, then read in the code
    // page: that repairs texts whose code-page bytes were taken as system text.
    if (v.Type() == VarType::WideString)
        return Variant::Wide(CodePageToWide(EncodeToCodePage(v.Text(), CP_ACP), codePage));
    return v;
}

using ElementFn = Variant (*)(const Variant&, int);

// Walks one- and two-dimensional arrays; only a one-dimensional array has its
// nested arrays walked too.
Variant WalkArray(const Variant& v, int codePage, ElementFn convert)
{
    Variant result = v;
    const int dims = VarArrayDimCount(v);
    if (dims > 2)
        return result;
    for (Variant& item : result.Array().Items()) {
        if (dims == 1 && item.IsArray())
            item = WalkArray(item, codePage, convert);
        else
            item = convert(item, codePage);
    }
    return result;
}

}  // namespace

std::string WideToCodePage(std::string_view wide, int codePage)
{
    return UpToNul(EncodeToCodePage(wide, codePage));
}

std::string CodePageToWide(std::string_view bytes, int codePage)
{
    return UpToNul(DecodeFromCodePage(bytes, codePage));
}

Variant VariantToCodePage(const Variant& v, int codePage)
{
    try {
        if (IsEmptyOrNull(v))
            return v;
        if (v.IsArray())
            return WalkArray(v, codePage, ToCodePageElement);
        if (v.IsText())
            return Variant(WideToCodePage(v.Text(), codePage));
        return v;
    } catch (const std::exception& e) {
        WriteAlertLog("libstrs", std::string("LINE[2735] ") + e.what(), 'D');
        return v;
    }
}

Variant VariantFromCodePage(const Variant& v, int codePage)
{
    try {
        if (IsEmptyOrNull(v))
            return v;
        if (v.IsArray())
            return WalkArray(v, codePage, FromCodePageElement);
        if (v.Type() == VarType::WideString)
            return FromCodePageElement(v, codePage);
        if (v.Type() == VarType::String)
            return Variant::Wide(CodePageToWide(v.Text(), codePage));
        return v;
    } catch (const std::exception& e) {
        WriteAlertLog("libstrs", std::string("LINE[115] ") + e.what(), 'D');
        return v;
    }
}

}  // namespace zb
