// LibStrs: the stateless text, date and code-page helpers every part of the
// plug-in uses, and the schedule date computations built on them
// (LibStrsSchedule.cpp). Dates are day counts (see platform/core/DateTime.h);
// dates travel as "yyyymmdd" texts and year-months as "yyyymm".
#pragma once

#include "platform/core/Variant.h"

#include <string>
#include <string_view>

namespace zb {

// Control characters the system uses inside plan texts and definitions.
inline constexpr char kSep1 = '\x01';
inline constexpr char kSep3 = '\x03';
inline constexpr char kSep4 = '\x04';

// ---- Delimited texts (fields numbered from 1) ------------------------------

// Field `index` of `text`; empty for index 0 or below, beyond the last field
// and for an empty text. An empty delimiter makes the whole text one field.
std::string GetDelimitedField(std::string_view text, std::string_view delimiter, int index);
// 0 for an empty text, otherwise the delimiter occurrences + 1.
int CountDelimitedFields(std::string_view text, std::string_view delimiter);
// Returns the text before the first delimiter and leaves the rest after it in
// `text`; without a delimiter (or with an empty one) the whole text is the
// head and `text` becomes empty.
std::string CutFirstField(std::string& text, std::string_view delimiter);

// Replaces `oldText` (case-sensitively) until it no longer occurs, searching
// again from the start after each replacement, so occurrences a replacement
// creates with its neighbours are replaced too: in "aabb", "ab" -> "a" gives
// "aa". Nothing is replaced when the two texts are equal ignoring case or
// `oldText` is empty. When `newText` contains `oldText` the repetition could
// never end; each occurrence of the original text is then replaced once.
// `trim` removes leading and trailing blanks and control characters.
std::string ReplaceAllText(std::string_view text, std::string_view oldText, std::string_view newText, bool trim);

// prefix #3 count #3 item1 #3 ... itemN #3, with the count in slot 0 of the
// array and the texts in slots 1..count. Throws EVariantError when the value
// is no array, a slot is missing or an item is not a text.
std::string JoinCountedArray(std::string_view prefix, const Variant& items);

// A decimal integer with an optional sign and leading blanks, as the class
// library reads it; false (or `def`) for anything else or out of range.
bool TryStrToInt(std::string_view text, int& value);
int StrToIntDef(std::string_view text, int def);

// True only for the exact text "127.0.0.1".
bool IsLoopbackAddress(std::string_view text);
// The user's temporary folder in its canonical form, ending in "/"; empty
// when the folder does not exist.
std::string GetLongTempPath();
// A number written with a point, whatever the locale; `def` when the text
// (blanks around it aside) is not entirely a number.
double TextToFloatDef(std::string_view text, double def);

// ---- Dates ----------------------------------------------------------------

// Date-order codes: 1 y-m-d, 2 m-d-y, 3 d-m-y, 4 and 5 era year (year - 1911)
// with two or three digits at least. Only the first character of the
// separator is written. Empty for date 0, a date that cannot be split, or a
// code outside 1..5.
std::string DateToOrderText(int orderCode, std::string_view separator, double date);
std::string DateToOrderYearMonth(int orderCode, std::string_view separator, double date);
// Reads a date typed in the order of `orderCode`; the day may run past the
// month's end (2024/02/30 is 1 March 2024). 0 when the text cannot be read.
double OrderTextToDate(std::string_view text, int orderCode, std::string_view separator);

// "yyyymmdd" (exactly 8 characters) to a date; 0 for anything else.
double YmdToDate(std::string_view text);
// True for an empty text, or when characters 1-4, 5-6, 7-8 make a real date
// and the text lies between "17530101" and "99991231" as text. The length is
// not checked, as the callers rely on.
bool IsValidYmd(std::string_view text);
// Shifts a date (a "yyyymmdd" text, 8-bit or wide, or a DateTime) by `n`
// units "Y", "M" or "D" (any case) and returns it as "yyyymmdd". A year shift
// onto a missing 29 February leaves the date; a month shift moves onto the
// month's last day. Empty for an unreadable date or unit, or a result outside
// the calendar.
std::string ShiftYmd(const Variant& value, std::string_view unit, int n);
// Days of the month; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);

// ---- Variants --------------------------------------------------------------

Variant IfThenValue(bool condition, const Variant& a, const Variant& b);
bool IsEmptyOrNull(const Variant& v);

// ---- Code pages -------------------------------------------------------------
// Wide texts are held as UTF-8; the 8-bit side carries the code page's bytes.
// A code page that cannot be converted falls back to the system code page.
// Both results end at the first NUL.

std::string WideToCodePage(std::string_view wide, int codePage);
std::string CodePageToWide(std::string_view bytes, int codePage);
// Every wide text of the value (a scalar, or the elements of a one- or
// two-dimensional array, nested arrays of a one-dimensional array included)
// becomes an 8-bit text in the code page; an 8-bit scalar is converted as a
// whole. Other values, and arrays of more dimensions, stay as they are. On
// an error the unconverted copy is returned and the alert log "libstrs" says why.
Variant VariantToCodePage(const Variant& v, int codePage);
// The mirror: texts read back from the code page as wide texts.
Variant VariantFromCodePage(const Variant& v, int codePage);

// ---- Schedule date computations (LibStrsSchedule.cpp) -----------------------
// Period record: slot 0 the kind (0 every n days, 1 every n weeks, 2 every n
// months, 3 every n hours), slot 1 its parameters: kind 0 n; kind 1 (n, weekday
// 0 = Sunday .. 6); kind 2 (0, n, day of month) or (1, n, ordinal 0..3 first to
// fourth or 4 last, weekday). Numbers may be texts of digits.

// The first run date on or after `start`; empty for kinds other than 0..2 and
// for parameters that cannot be read.
std::string FirstRunDate(std::string_view start, const Variant& period);
// A date relative to `base`: count weeks (unit "0") or months (other units),
// then by mode "0" plus `days`, "1" the first or "2" the last day of that week
// or month. A year-month base shifts by months only. Throws EConvertError
// when count or days is not an integer.
std::string RelativeConditionDate(std::string_view base, std::string_view count, std::string_view unit,
                                  std::string_view mode, std::string_view days);
// The Sunday (mode "1") or Saturday (any other mode) of the week `count`
// weeks from `base`.
std::string WeekBoundaryDate(std::string_view base, int count, std::string_view mode);
// The plan's condition values (job slot 1) with every date condition of the
// definitions (job slot 3: count in slot 0, #3-separated definitions in
// 1..count) that moves with the run date recomputed for `run`. Any fault in
// the record gives an empty text instead of an array.
Variant RecomputeConditionDates(const Variant& job, std::string_view run);

}  // namespace zb
