/*
 * libtarvex: the bounds-checked string functions the platform library calls.
 * Valid C99 and C++.
 */
#ifndef TARVEX_H
#define TARVEX_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Formats into dest, never writing more than destsz bytes. When destsz is not
 * zero the text is always terminated, cut to destsz - 1 characters when it
 * does not fit. Returns the number of characters written (without the
 * terminator), or -1 with nothing written when dest or format is null or
 * destsz is zero, or with dest emptied when the formatter fails.
 */
int snprintf_truncated_s(char *dest, size_t destsz, const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

/*
 * Reads buffer under format. Conversions: "%u" (unsigned int *), the
 * conversion the platform library uses, and "%%"; white space in the format
 * matches any white space, other characters match themselves. "%u" and "%%"
 * skip leading white space. "%u" takes an optional sign and decimal digits;
 * a value above UINT_MAX gives UINT_MAX (sign or not) and a '-' negates
 * modulo 2^32, on every platform. Returns the number of values stored, or -1
 * when buffer or format is null, or when the input ends before the first
 * conversion. Another conversion ends the scan like a mismatch.
 */
int sscanf_s(const char *buffer, const char *format, ...);

#ifdef __cplusplus
}
#endif

#endif /* TARVEX_H */
