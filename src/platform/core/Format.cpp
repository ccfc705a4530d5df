#include "platform/core/Format.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "platform/core/Exceptions.h"

namespace zb {
namespace {

[[noreturn]] void Invalid(std::string_view pattern) {
    throw EConvertError("Format '" + std::string(pattern) + "' invalid or incompatible with argument");
}

bool IsIntegral(const Variant& v) { return v.Type() == VarType::Integer; }
bool IsFloating(const Variant& v) {
    return v.Type() == VarType::Float || v.Type() == VarType::DateTime || v.Type() == VarType::Integer;
}

// Groups the integer part of a plain number with ",", as "%n" and "%m" show it.
std::string Grouped(std::string digits) {
    std::size_t start = (!digits.empty() && digits[0] == '-') ? 1 : 0;
    std::size_t end = digits.find('.');
    if (end == std::string::npos) end = digits.size();
    for (std::ptrdiff_t i = static_cast<std::ptrdiff_t>(end) - 3; i > static_cast<std::ptrdiff_t>(start); i -= 3)
        digits.insert(static_cast<std::size_t>(i), ",");
    return digits;
}

std::string Printf(const char* spec, double value, int precision) {
    char buf[512];
    int n = std::snprintf(buf, sizeof buf, spec, precision, value);
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < sizeof buf) return std::string(buf, static_cast<std::size_t>(n));
    std::string out(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), spec, precision, value);
    out.resize(static_cast<std::size_t>(n));
    return out;
}

}  // namespace

std::string Format(std::string_view pattern, const std::vector<Variant>& args) {
    std::string out;
    out.reserve(pattern.size());
    std::size_t next = 0;  // the argument the next conversion takes
    std::size_t i = 0;
    auto take = [&]() -> const Variant& {
        if (next >= args.size()) Invalid(pattern);
        return args[next++];
    };
    // A number in the pattern or "*" (taken from the arguments); -1 when absent.
    auto number = [&]() -> long {
        if (i < pattern.size() && pattern[i] == '*') {
            ++i;
            const Variant& v = take();
            if (!IsIntegral(v)) Invalid(pattern);
            std::int64_t n = v.ToInt();
            return n < 0 ? -1 : static_cast<long>(std::min<std::int64_t>(n, 1 << 20));
        }
        if (i >= pattern.size() || pattern[i] < '0' || pattern[i] > '9') return -1;
        long n = 0;
        while (i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9') {
            n = std::min<long>(n * 10 + (pattern[i] - '0'), 1 << 20);
            ++i;
        }
        return n;
    };

    while (i < pattern.size()) {
        char c = pattern[i++];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i >= pattern.size()) Invalid(pattern);
        if (pattern[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // [index ":"] ["-"] [width] ["." precision] type
        std::size_t digitsEnd = i;
        while (digitsEnd < pattern.size() && pattern[digitsEnd] >= '0' && pattern[digitsEnd] <= '9') ++digitsEnd;
        if (digitsEnd < pattern.size() && pattern[digitsEnd] == ':') {
            next = static_cast<std::size_t>(std::max(number(), 0L));
            ++i;
        }
        bool left = false;
        if (i < pattern.size() && pattern[i] == '-') {
            left = true;
            ++i;
        }
        long width = number();
        long precision = -1;
        if (i < pattern.size() && pattern[i] == '.') {
            ++i;
            precision = number();
            if (precision < 0) precision = 0;
        }
        if (i >= pattern.size()) Invalid(pattern);
        char type = static_cast<char>(std::tolower(static_cast<unsigned char>(pattern[i++])));
        const Variant& arg = take();
        std::string text;
        switch (type) {
            case 'd':
            case 'u': {
                if (!IsIntegral(arg)) Invalid(pattern);
                std::int64_t v = arg.ToInt();
                if (type == 'u' && v < 0) v = static_cast<std::int64_t>(static_cast<std::uint32_t>(v));
                bool negative = v < 0;
                std::string digits = std::to_string(negative ? -static_cast<unsigned long long>(v)
                                                             : static_cast<unsigned long long>(v));
                if (precision > 0 && digits.size() < static_cast<std::size_t>(precision))
                    digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), '0');
                text = negative ? "-" + digits : digits;
                break;
            }
            case 'x':
            case 'p': {
                if (!IsIntegral(arg)) Invalid(pattern);
                char buf[32];
                std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(arg.ToInt()));
                text = buf;
                if (type == 'p' && text.size() < 8) text.insert(0, 8 - text.size(), '0');
                if (precision > 0 && text.size() < static_cast<std::size_t>(precision))
                    text.insert(0, static_cast<std::size_t>(precision) - text.size(), '0');
                break;
            }
            case 'e':
            case 'f':
            case 'g':
            case 'n':
            case 'm': {
                if (!IsFloating(arg)) Invalid(pattern);
                double v = arg.ToFloat();
                if (std::isnan(v)) {
                    text = "NAN";
                } else if (std::isinf(v)) {
                    text = v < 0 ? "-INF" : "INF";
                } else if (type == 'e') {
                    text = Printf("%.*E", v, precision < 0 ? 14 : static_cast<int>(std::max(precision - 1, 0L)));
                } else if (type == 'g') {
                    text = Printf("%.*G", v, precision < 0 ? 15 : static_cast<int>(std::max(precision, 1L)));
                } else {
                    int digits = precision < 0 ? 2 : static_cast<int>(std::min(precision, 18L));
                    text = Printf("%.*f", v, digits);
                    if (type != 'f') text = Grouped(text);
                }
                break;
            }
            case 's': {
                if (arg.IsText() || arg.IsEmpty() || arg.IsNull())
                    text = arg.ToString();
                else
                    Invalid(pattern);
                if (precision >= 0 && text.size() > static_cast<std::size_t>(precision)) {
                    // Never cut a character in two.
                    std::size_t cut = static_cast<std::size_t>(precision);
                    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
                    text.resize(cut);
                }
                break;
            }
            default:
                Invalid(pattern);
        }
        if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
            std::size_t pad = static_cast<std::size_t>(width) - text.size();
            if (left)
                text.append(pad, ' ');
            else
                text.insert(0, pad, ' ');
        }
        out += text;
    }
    return out;
}

}  // namespace zb
