// Conversion between the program's UTF-8 text and 8-bit text in a Windows
// code page (936 GBK, 950 BIG5, 437 and any other "CPnnn" iconv knows), and
// the system code page taken from the locale.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zb {

inline constexpr int CP_ACP = 0;        // the system code page
inline constexpr int CP_GBK = 936;
inline constexpr int CP_BIG5 = 950;
inline constexpr int CP_OEM_US = 437;
inline constexpr int CP_UTF8 = 65001;

// The system code page: ZB_SYSTEM_CODEPAGE when it holds a positive number
// (read on every call), otherwise the locale's (LC_ALL, LC_CTYPE, LANG, the
// first one set): zh_CN -> 936, zh_TW and zh_HK -> 950, anything else -> 437.
int SystemCodePage();
int CodePageOfLocale(std::string_view locale);

// The code page a conversion really uses: `codePage` when it can be
// converted, otherwise (0 included) the system code page, and 437 when even
// that cannot be converted.
int ResolveCodePage(int codePage);

// UTF-8 -> code page. A character the code page cannot hold, and every
// malformed UTF-8 byte, becomes "?". Never throws for any input.
std::string EncodeToCodePage(std::string_view utf8, int codePage);

// Code page -> UTF-8. A byte (or double-byte pair) with no character in the
// code page becomes "?", so the result is always well-formed UTF-8.
std::string DecodeFromCodePage(std::string_view bytes, int codePage);

// Length of the text in the code page's encoding: a Chinese character
// counts 2 in 936 and 950.
size_t ByteLength(std::string_view utf8, int codePage);

// True when `c` starts a double-byte character in the code page.
bool IsLeadByte(char c, int codePage);

}  // namespace zb
