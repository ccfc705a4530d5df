// The C interface of the suite's glyph library ZeRudU5.so. Pictures are
// horizontal strips of square images, numbered from 1 to GetMaxBmpID().
//
// A picture crosses the library boundary as the bytes of a 24-bit BMP file,
// which is what TBitmap::LoadFromBytes reads, so no C++ object is shared
// between the library and its callers.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// The highest picture number the library holds.
typedef int (*ZeRudGetMaxBmpIDProc)(void);
int GetMaxBmpID(void);

// Writes picture `id` as BMP bytes into `buffer` when `capacity` is large
// enough and returns its size in bytes; returns the size without writing
// when the buffer is too small (or null), and 0 for a number it does not hold.
typedef int (*ZeRudLoadBmpProc)(int id, unsigned char* buffer, int capacity);
int LoadBmp(int id, unsigned char* buffer, int capacity);

#ifdef __cplusplus
}
#endif
