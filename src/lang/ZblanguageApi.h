/* The entry points of the translation library "Zblanguage", as it exports
 * them by name. Plain C, so the library and the program need not share a C++
 * runtime: texts cross as UTF-8 bytes with a length, and the caller owns
 * every buffer. */
#ifndef ZB_LANG_ZBLANGUAGEAPI_H
#define ZB_LANG_ZBLANGUAGEAPI_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* What a conversion returns when the library cannot convert at all (its
 * conversion data are missing, memory ran out). */
#define ZB_CONVERT_FAILED ((size_t)-1)

/* "GBtoBIG5" (Simplified -> Traditional Chinese) and "BIG5toGB" (back).
 * Converts `length` bytes of UTF-8 text (no terminator needed; NUL and bytes
 * that are not UTF-8 pass through unchanged). Returns the length in bytes of
 * the converted text; the text is written to `out` only when it fits in
 * `capacity` bytes, otherwise the caller calls again with a buffer of the
 * returned size. No terminator is written. */
typedef size_t (*ZbConvertProc)(const char* text, size_t length, char* out, size_t capacity);

/* "GetBIG5Data" and "GetGBData": load the data of the conversion towards
 * Traditional (BIG5) or Simplified (GB) characters now rather than at the
 * first conversion. 1 when ready, 0 when the data cannot be loaded. */
typedef int (*ZbLoadDataProc)(void);

/* "SaveOrder": writes, one "entry=configuration" line per conversion, which
 * conversion each entry applies, to the UTF-8 path `fileName`. 1 on success. */
typedef int (*ZbSaveOrderProc)(const char* fileName);

#ifdef __cplusplus
}
#endif

#endif
