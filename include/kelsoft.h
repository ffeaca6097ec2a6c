/*
 * libkelsoft: floating-point services of the platform.
 *
 * Every floating-point value crosses this interface by address. Checked
 * operations (arithmetic, elementary functions) store their result, then
 * report a NaN or infinite result, and some illegal operands, to the one
 * registered fault hook; a report never stops an operation. Comparisons,
 * conversions, the parser, formatting and the string helpers never report.
 * A NaN that an operation makes is 0x7FF8000000000000 (double) or 0x7FC00000
 * (float) on every build; a NaN operand comes out quieted.
 *
 * Threads: every function may run on any number of threads at once. The
 * library keeps no state but the hook pointer and takes no lock; a report
 * runs the hook synchronously on the reporting thread, concurrently with
 * reports on other threads. Registering a hook while other threads report is
 * free of data races: each report calls the hook it read, old or new.
 *
 * Nothing allocates. Valid C99 and C++. All functions have C linkage.
 */
#ifndef KELSOFT_H
#define KELSOFT_H

/* The release, also that of the CMake package and of kelsoft.pc. */
#define KELSOFT_VERSION_MAJOR 1
#define KELSOFT_VERSION_MINOR 0
#define KELSOFT_VERSION_PATCH 0
#define KELSOFT_VERSION (KELSOFT_VERSION_MAJOR * 10000 + KELSOFT_VERSION_MINOR * 100 + KELSOFT_VERSION_PATCH)

#include <semaphore.h>
#include <stddef.h>
#include <stdint.h>
#include <sys/types.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Fault hook and classification ---------------------------------- */

/*
 * The type of the platform's fault hook, called with (source path, line,
 * class name). The path is the library module's own source path, the line is
 * always 89, the name is what KEL_GetTypeChar gives the report code; both
 * strings are static. The report tells the class of the fault, not which
 * operation met it. The library uses no result of the hook.
 */
typedef void (*FloatFaultHook)(const char *file, int32_t line, const char *name);

/* The registered fault hook. Null until the platform registers one. Reports
 * read it atomically; C code may assign it directly, with the same effect as
 * KEL_FloatAssertReg (but not race-free against concurrent reports). */
extern FloatFaultHook g_pfFloatAssertHook;

/* Registers the fault hook. Replaces the hook, atomically; null removes it.
 * There is one hook, no chain: the last call wins. Never reports. */
void KEL_FloatAssertReg(FloatFaultHook hook);

/* Reports a fault code to the hook. Calls the hook, if one is registered,
 * with KEL_GetTypeChar(code); with no hook it does nothing (the name is not
 * even looked up). Codes the library passes: 0 FP_NAN, 1 FP_INFINITE, -1
 * illegal parameter. Returns nothing. */
void KEL_SoftfpAssert(int32_t code);

/* The name of a fault code: "FP_NAN", "FP_INFINITE", "FP_ZERO",
 * "FP_SUBNORMAL" for 0..3 and "PARA IN ILLEGAL" for any other code, 4
 * (FP_NORMAL) and -1 included. Static strings. Never reports. */
const char *KEL_GetTypeChar(int32_t code);

/* Tests whether a float is missing or not finite: 1 when value is null, NaN
 * (quiet or signalling) or infinite, classified as a float; 0 for zeros,
 * subnormals and normal values. Never reports. */
int32_t KEL_FPCLASSIFY_Check(const float *value);

/* ---- Log line --------------------------------------------------------- */

/* Writes a line to the system log: vsyslog at LOG_INFO with the process's
 * own openlog settings (identity, facility, mask); it never opens or closes
 * the log. format is not tested for null. Never reports. In the library only
 * the parser calls it, once for a null text. */
void LUM_syslog(const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

/* ---- Checked arithmetic: result first, then left and right ------------ */

/*
 * Checked addition, subtraction and multiplication of doubles and floats.
 * Each computes left OP right, rounded once in the operands' own precision
 * (float work is never widened), stores it, then reports the stored value
 * when it is NaN (FP_NAN) or infinite (FP_INFINITE); underflow to a
 * subnormal or zero is no fault. An infinite or NaN operand is reported only
 * through its result: inf + 1 reports FP_INFINITE, inf - inf stores NaN and
 * reports FP_NAN. Overflow stores the infinity (a float overflows above
 * FLT_MAX: 1e20f * 1e20f is +inf). The result may be the same object as an
 * operand. A null address makes the call return with no effect and no
 * report.
 */
void KEL_Dadd(double *result, const double *left, const double *right);
void KEL_Dsub(double *result, const double *left, const double *right);
void KEL_Dmut(double *result, const double *left, const double *right);
void KEL_Sadd(float *result, const float *left, const float *right);
void KEL_Ssub(float *result, const float *left, const float *right);
void KEL_Smut(float *result, const float *left, const float *right);

/*
 * Checked division of doubles and floats. Computes left / right, rounded
 * once in the operands' own precision, stores it, then reports the stored
 * value when it is NaN (FP_NAN) or infinite (FP_INFINITE). A zero (either
 * sign) or NaN divisor is reported first with -1 ("PARA IN ILLEGAL"), and
 * the division is done all the same: 1/0 stores +inf and reports PARA IN
 * ILLEGAL, FP_INFINITE; 1/-0 stores -inf; 0/0 stores NaN and reports PARA IN
 * ILLEGAL, FP_NAN. A negative divisor is no illegal operand; 1 / inf stores
 * 0 and reports nothing. The result may be the same object as an operand. A
 * null address makes the call return with no effect and no report.
 */
void KEL_Ddiv(double *result, const double *left, const double *right);
void KEL_Sdiv(float *result, const float *left, const float *right);

/* Compares two doubles or two floats: -1 null address, 1 left greater, 2
 * left less, 0 equal (+0 equals -0) or unordered (either is NaN). Never
 * reports. */
int32_t KEL_Dcmp(const double *left, const double *right);
int32_t KEL_Scmp(const float *left, const float *right);

/* ---- Elementary functions --------------------------------------------- */

/*
 * Checked logarithms: natural (KEL_SLog, KEL_DLog) and base 10. The C
 * library's log or log10 in the stated precision, stored, then the stored
 * value reported when NaN (FP_NAN) or infinite (FP_INFINITE). Result first,
 * then argument; a null address (result tested first) returns with no effect
 * and no report, whatever the argument. An argument <= 0.0 is reported first
 * with -1 (PARA IN ILLEGAL) and the logarithm stored all the same: log of +-0
 * stores -inf and reports PARA IN ILLEGAL, FP_INFINITE; log of -1 stores NaN
 * and reports PARA IN ILLEGAL, FP_NAN. A NaN argument is no illegal operand:
 * it stores NaN and reports FP_NAN; log of +inf stores +inf and reports
 * FP_INFINITE.
 */
void KEL_SLog(float *result, const float *x);
void KEL_DLog(double *result, const double *x);
void KEL_SLog10(float *result, const float *x);
void KEL_DLog10(double *result, const double *x);

/*
 * Checked square roots: KEL_DSqrtf of a float (sqrtf, despite the D),
 * KEL_DSqrt of a double. The C library's result, stored, then reported when
 * NaN (FP_NAN) or infinite (FP_INFINITE). Result first, then argument; a
 * null address (result tested first) returns with no effect and no report.
 * An argument < 0.0 (so not -0.0) is reported first with -1 (PARA IN
 * ILLEGAL) and the root stored all the same: sqrt of -4 stores NaN and
 * reports PARA IN ILLEGAL, FP_NAN. A NaN argument stores NaN and reports
 * FP_NAN.
 */
void KEL_DSqrtf(float *result, const float *x);
void KEL_DSqrt(double *result, const double *x);

/* Checked ceiling and exponential of a double: ceil(x) and e^x, stored, then
 * reported when NaN (FP_NAN) or infinite (FP_INFINITE); underflow is silent
 * (exp of -1000 stores 0). Argument first, result second; a null address
 * returns with no effect. ceil(-0.5) stores -0.0; exp(1000) stores +inf and
 * reports FP_INFINITE. */
void KEL_Dceil(const double *x, double *result);
void KEL_DExp(const double *x, double *result);

/* Checked power of doubles: pow(base, exponent), stored through result, then
 * reported when NaN (FP_NAN) or infinite (FP_INFINITE). Tests no address:
 * all three must be valid. No domain report; pow's own cases decide: pow(0,
 * -1) stores +inf and reports FP_INFINITE, pow(-8, 0.5) stores NaN and
 * reports FP_NAN. Returns nothing. */
void KEL_AddPowForKavri(const double *base, const double *exponent, double *result);

/* Divides two unsigned 32-bit integers into a double: numerator /
 * denominator as exact doubles (a division, despite the name), rounded once.
 * The quotient is always finite, so it is never reported. A zero denominator
 * reports -1 (PARA IN ILLEGAL) and stores nothing; a null result does
 * nothing at all, even with a zero denominator. */
void KEL_IntMut(uint32_t numerator, uint32_t denominator, double *result);

/* ---- Decimal text parser ---------------------------------------------- */

/*
 * Reads a decimal number at the start of a text, with the target's rounding.
 * The library's own parser, not strtod: the same bits on every host as on
 * the PowerPC target; it never reports to the hook and never sets errno.
 * *end (when end is not null) receives the first character not consumed.
 * Grammar (the text is read up to its terminator; a long run of digits a
 * whole aligned word at a time, never past the word that holds the
 * terminator):
 *   spaces (0x20 only; not tabs or newlines), an optional '+' or '-',
 *   digits, an optional '.' and digits, an optional exponent: 'e' or 'E',
 *   then '+', '-' or a digit, then digits.
 * Any number of digits is taken. Rejected forms:
 * - no digit before the exponent ("abc", "  abc", ".", "-", "e5", "-.e1"):
 *   0.0 (-0.0 after '-'), *end after the spaces, sign and point, where there
 *   are any, and after an exponent that follows them: "e5" and "-.e1" are
 *   consumed whole, "E+" too, "+.E5x" up to the 'x'. So *end == '\0' does
 *   not tell that a text was a number; a digit before the exponent does;
 * - 'e' or 'E' followed by neither a sign nor a digit ("1e", "1ex", "1e 5",
 *   ".e"): the whole parse fails, 0.0 (-0.0 after '-'), *end = text;
 * - "inf" and "nan" are not numbers: 0.0, *end = text. Hex is not read:
 *   "0x10" and "0x1p3" give 0.0 with *end after the "0".
 * "1e+" and "1e-x" give 1.0 with *end after the sign. The exponent is counted
 * modulo 2^32 ("1e4294967297" is 10.0).
 * Range: a value beyond the double range gives an infinity of its sign,
 * silently; the text of the largest double, 1.7976931348623157e308, already
 * gives +inf, and 1e400 does. Below the range it gives a subnormal or zero
 * (1e-400 gives 0.0, 4.9e-324 the smallest subnormal). A zero with an
 * exponent of 512 or more ("0e512") gives NaN.
 * Rounding: the digits accumulate in a double-double (about 106 bits, the
 * target's long double) with 10 and the double nearest 0.1 as constants, and
 * the sum is rounded to double once. That is exact for short integers but not
 * correctly rounded in general: "0.3" gives 0.30000000000000004, one unit
 * above the nearest double (3 times the double 0.1 lies halfway and rounds to
 * even); "1.0e-5" gives one unit above; "2.2250738585072011e-308" gives
 * 0x001000000000004C, 77 units above the nearest double 0x000FFFFFFFFFFFFF.
 * "0.1" and "1e-1" give exactly the double nearest 0.1. The platform depends
 * on these exact bits, which is why the parser keeps them.
 * A null text writes the line "FUNC(KEL_SoftStr2Float) return 0 , Line(101)."
 * through LUM_syslog and returns 0.0, leaving *end unwritten.
 */
double KEL_SoftStr2Float(const char *text, char **end);

/* Reads a decimal text into a double or a float: *result =
 * KEL_SoftStr2Float(text, NULL), narrowed to float (rounded to nearest, so
 * rounded twice) by KEL_Seva ("1e39" stores +inf). Never reports. Nothing
 * happens, not even the log line, when either address is null. */
void KEL_Deva(double *result, const char *text);
void KEL_Seva(float *result, const char *text);

/* ---- Text formatting (through snprintf_truncated_s) ------------------- */

/*
 * Formats a double or a float as decimal text: "%f" (KEL_Double2Ascii,
 * KEL_Float2String; a float is widened exactly) or "%.14f"
 * (KEL_Double2String). size is the buffer's size in bytes, terminator
 * included; the text is cut to size - 1 characters and always terminated
 * (size 0 writes nothing); the caller cannot learn from the call whether it
 * was cut. A null value or buffer writes nothing; the size reaches the
 * formatter unchanged, zero included. NaN and infinities print as "nan",
 * "-nan", "inf", "-inf". Never reports.
 */
void KEL_Double2Ascii(const double *value, char *buffer, size_t size);  /* "%f": 1.5 gives "1.500000" */
void KEL_Float2String(const float *value, char *buffer, size_t size);   /* "%f": 0.1f gives "0.100000" */
void KEL_Double2String(const double *value, char *buffer, size_t size); /* "%.14f" */

/*
 * Formats a double with a printf format. format holds exactly one printf
 * conversion that takes a double (flags, width and precision allowed:
 * "%.2f", "%12.3e", "%g"); any other format is undefined behaviour. size is
 * the buffer's size in bytes, terminator included; the text is cut to size
 * - 1 characters and always terminated (size 0 writes nothing): 3.14159 with
 * "%.2f" and size 4 gives "3.1". A null value, buffer or format writes
 * nothing. NaN and infinities print as "nan", "-nan", "inf", "-inf". Never
 * reports.
 */
void KEL_Double2String2(const double *value, char *buffer, size_t size, const char *format);

/* ---- Conversions: source address first, destination second ------------ */

/* Converts a double to a 16-bit integer: the low 16 bits of its truncation
 * toward zero to int32_t (as KEL_Double2Int32): wraps, never saturates at 16
 * bits (70000.0 gives 4464, -1.0 gives 0xFFFF, +inf 0xFFFF, NaN and -inf 0).
 * Never reports. KEL_Double2Short tests no address; KEL_Double2Ushort
 * returns with no effect at a null address. */
void KEL_Double2Ushort(const double *src, uint16_t *dst);
void KEL_Double2Short(const double *src, int16_t *dst);
/* Converts a double or a float to int32_t: toward zero; NaN and values <=
 * -2^31 give INT32_MIN, >= 2^31 INT32_MAX. Never reports. KEL_Float2Int32
 * tests no address; KEL_Double2Int32 returns with no effect at a null
 * address. */
void KEL_Double2Int32(const double *src, int32_t *dst);
void KEL_Float2Int32(const float *src, int32_t *dst);
/* Converts a float to uint32_t: toward zero; >= 2^32 gives 0xFFFFFFFF, NaN
 * and <= -2^31 0x80000000, other negatives wrap (-1.0 gives 0xFFFFFFFF).
 * Never reports; a null address returns with no effect. */
void KEL_Float2Uint32(const float *src, uint32_t *dst);
/* Converts a double to uint32_t: the low 32 bits of KEL_Double2Int64's
 * result (4294967301.0 gives 5, NaN 0x80000000, +inf 0xFFFFFFFF, -inf 1).
 * Never reports. Tests no address. */
void KEL_Double2Uint32(const double *src, uint32_t *dst);
/* Converts a 16- or 32-bit integer to a double: exactly. Never reports. KEL_Short2Double
 * tests no address; the others return with no effect at a null address. */
void KEL_Int322Double(const int32_t *src, double *dst);
void KEL_Uint322Double(const uint32_t *src, double *dst);
void KEL_Short2Double(const int16_t *src, double *dst);
void KEL_Ushort2Double(const uint16_t *src, double *dst);
/* Converts a 32-bit integer to a float: rounded once to nearest (4294967295
 * gives 4294967296.0). Never reports. KEL_Int322Float tests no address;
 * KEL_Uint322Float returns with no effect at a null address. */
void KEL_Int322Float(const int32_t *src, float *dst);
void KEL_Uint322Float(const uint32_t *src, float *dst);
/* Widens a float to a double: exactly; a signalling NaN stays signalling.
 * Never reports. Tests no address. */
void KEL_Float2Double(const float *src, double *dst);
/* Copies a float or a double from or to a byte buffer: its bytes in native
 * order (on the big-endian target the most significant byte first), at any
 * alignment, every bit kept. Never reports. A null address returns with no
 * effect. */
void KEL_Buff2Float(const void *buffer, float *dst);
void KEL_Buff2Double(const void *buffer, double *dst);
void KEL_Float2Buff(const float *src, void *buffer);
void KEL_Double2Buff(const double *src, void *buffer);

/* Converts a double to a 64-bit integer: native int64_t/uint64_t (on the
 * big-endian target the high word at the lower address), toward zero modulo
 * 2^64 (both give the same bits: -1.0 gives all ones); NaN gives
 * 0x8000000080000000, >= 2^64 all ones, <= -2^64 the value 1. Never reports.
 * Tests no address. */
void KEL_Double2Int64(const double *src, int64_t *dst);
void KEL_Double2Uint64(const double *src, uint64_t *dst);
/* Converts a 64-bit integer to a double: native int64_t/uint64_t, rounded
 * once to nearest. Never reports. Tests no address. */
void KEL_Int642Double(const int64_t *src, double *dst);
void KEL_Uint642Double(const uint64_t *src, double *dst);

/* ---- Operating-system wrappers: results and errno as the call left them */

/* Creates a pipe: pipe(fds), fds[0] the read end, fds[1] the write end. The
 * result and errno as pipe left them. Tests no address; never reports. */
int KEL_Pipe(int fds[2]);
/* Closes a file descriptor: close(fd), its result and errno as it left them;
 * nothing is retried after EINTR. Never reports. */
int KEL_Close(int fd);
/* Reads or writes bytes on a file descriptor: read or write of count bytes,
 * returning the bytes read (0 at end of file) or written, or -1 with errno as
 * the call left it; nothing is retried after EINTR. Tests no address; never
 * reports. */
int32_t KEL_Read(int fd, void *buffer, uint32_t count);
int32_t KEL_Write(int fd, const void *buffer, uint32_t count);
/* Makes a FIFO: mkfifo(path, mode), its result and errno as it left them.
 * Tests no address; never reports. */
int KEL_Mkfifo(const char *path, mode_t mode);
/* Opens a file: a large-file open with no mode, its result and errno as it
 * left them; nothing is retried after EINTR. Flags that would create a file
 * (O_CREAT, O_TMPFILE) make the C library's checked open stop the process.
 * Tests no address; never reports. */
int KEL_Open(const char *path, int flags);

/* Initialises, waits on, destroys or posts a POSIX semaphore: sem_init,
 * sem_wait, sem_destroy, sem_post, their results and errno as they left
 * them; KEL_SemWait is not retried after EINTR. Tests no address; never
 * reports. */
int KEL_SemInit(sem_t *sem, int shared, uint32_t value);
int KEL_SemWait(sem_t *sem);
int KEL_SemDestroy(sem_t *sem);
int KEL_SemPost(sem_t *sem);

/* ---- ASCII case helpers and unsigned parsing -------------------------- */

/* Tests or changes the case of an ASCII letter: 1 or 0 for the tests; only
 * 'A'..'Z' and 'a'..'z' change case, every other byte (0x80..0xFF too)
 * stays as it is; no locale. The tests look at the low eight bits of c only,
 * and the mappings return eight bits: LUM_CharToUpper(0x161) is 0x41. Never
 * report. */
int32_t LUM_CharIsLower(int32_t c);
int32_t LUM_CharIsUpper(int32_t c);
int32_t LUM_CharToUpper(int32_t c);
int32_t LUM_CharToLower(int32_t c);
/* Lowers the case of a text in place: at most count characters, stopping at
 * the terminator; only 'A'..'Z' change, no locale; a null str does nothing.
 * Never reports. */
void LUM_StrToLower(char *str, uint32_t count);
/* Copies a text upper-cased: at most size - 1 characters, then a
 * terminator; only 'a'..'z' change, no locale; a null src or a size of 0
 * writes nothing. dst is not tested. Never reports. */
void LUM_StrToUpper(const char *src, char *dst, uint32_t size);
/*
 * Reads an unsigned decimal integer: "%u" through sscanf_s: leading white
 * space, an optional sign, decimal digits; whatever follows is ignored.
 * Returns 0 and stores the value, or 22 (EINVAL). Larger numbers give
 * 4294967295 and '-' negates modulo 2^32: "42abc" gives 42, "0x10" gives 0
 * (the "0"), "99999999999" gives 4294967295, "-1" gives 4294967295, all with
 * status 0. Text with no number ("abc", "", blanks) stores 0 and returns 22;
 * a null text or result stores nothing and returns 22. Never reports.
 */
int32_t LUM_StrToUint32(const char *text, uint32_t *result);

#ifdef __cplusplus
}
#endif

#endif /* KELSOFT_H */
