/*
 * libkelsoft: floating-point services of the platform.
 *
 * Every floating-point value crosses this interface by address. Checked
 * operations store their result, then report a NaN or infinite result (and
 * some illegal operands) to the one registered fault hook; a report never
 * stops an operation. Conversions, the parser and formatting never report.
 *
 * Valid C99 and C++. All functions have C linkage.
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

/* ---- Fault hook and classification ------------------------------------ */

/*
 * The platform's fault hook: (source path, line, class name). The path is the
 * library module's own source path, the line is always 89, the name is what
 * KEL_GetTypeChar gives the report code. The library uses no result of it.
 */
typedef void (*FloatFaultHook)(const char *file, int32_t line, const char *name);

/* The registered hook; null until the platform registers one. Reports read it
 * atomically; C code may assign it directly, with the same effect as
 * KEL_FloatAssertReg (but not race-free against concurrent reports). */
extern FloatFaultHook g_pfFloatAssertHook;

/* Replaces the hook; null removes it. */
void KEL_FloatAssertReg(FloatFaultHook hook);

/* Calls the hook, if one is registered, with KEL_GetTypeChar(code).
 * Codes: 0 FP_NAN, 1 FP_INFINITE, -1 illegal parameter. Returns nothing. */
void KEL_SoftfpAssert(int32_t code);

/* "FP_NAN", "FP_INFINITE", "FP_ZERO", "FP_SUBNORMAL" for 0..3, else
 * "PARA IN ILLEGAL". Static strings. */
const char *KEL_GetTypeChar(int32_t code);

/* 1 when value is null, NaN or infinite (classified as float), else 0. */
int32_t KEL_FPCLASSIFY_Check(const float *value);

/* ---- Log line --------------------------------------------------------- */

/* vsyslog at LOG_INFO with the process's own openlog settings. */
void LUM_syslog(const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

/* ---- Checked arithmetic: result first, then left and right ------------ */

/* A null address makes the call return with no effect. Division reports a
 * zero or NaN divisor with -1 first, then divides all the same. */
void KEL_Dadd(double *result, const double *left, const double *right);
void KEL_Dsub(double *result, const double *left, const double *right);
void KEL_Dmut(double *result, const double *left, const double *right);
void KEL_Ddiv(double *result, const double *left, const double *right);
/* -1 null address, 1 greater, 2 less, 0 equal or unordered. */
int32_t KEL_Dcmp(const double *left, const double *right);

void KEL_Sadd(float *result, const float *left, const float *right);
void KEL_Ssub(float *result, const float *left, const float *right);
void KEL_Smut(float *result, const float *left, const float *right);
void KEL_Sdiv(float *result, const float *left, const float *right);
int32_t KEL_Scmp(const float *left, const float *right);

/* ---- Elementary functions --------------------------------------------- */

/* Logarithms report an argument <= 0.0 with -1, square roots one < 0.0;
 * both compute and store the library function's result all the same. */
void KEL_SLog(float *result, const float *x);
void KEL_DLog(double *result, const double *x);
void KEL_SLog10(float *result, const float *x);
void KEL_DLog10(double *result, const double *x);
void KEL_DSqrtf(float *result, const float *x); /* float, despite the D */
void KEL_DSqrt(double *result, const double *x);
/* Argument first, result second. */
void KEL_Dceil(const double *x, double *result);
void KEL_DExp(const double *x, double *result);
/* pow(base, exponent); tests no address. Returns nothing. */
void KEL_AddPowForKavri(const double *base, const double *exponent, double *result);
/* numerator / denominator as doubles; a zero denominator reports -1 and
 * stores nothing. */
void KEL_IntMut(uint32_t numerator, uint32_t denominator, double *result);

/* ---- Decimal text parser ---------------------------------------------- */

/* Parses one decimal number at the start of text; *end (when end is not
 * null) receives the first character not consumed. Gives the same bits on
 * every host as on the PowerPC target. Never reports to the hook. */
double KEL_SoftStr2Float(const char *text, char **end);
/* *result = KEL_SoftStr2Float(text, NULL), narrowed to float by KEL_Seva;
 * nothing happens when either address is null. */
void KEL_Deva(double *result, const char *text);
void KEL_Seva(float *result, const char *text);

/* ---- Text formatting (through snprintf_truncated_s) ------------------- */

/* A null value, buffer or format writes nothing; the size reaches the
 * formatter unchanged, zero included. A float is widened exactly. */
void KEL_Double2Ascii(const double *value, char *buffer, size_t size);  /* "%f" */
void KEL_Float2String(const float *value, char *buffer, size_t size);   /* "%f" */
void KEL_Double2String(const double *value, char *buffer, size_t size); /* "%.14f" */
void KEL_Double2String2(const double *value, char *buffer, size_t size, const char *format);

/* ---- Conversions: source address first, destination second ------------
 * NaN, infinite and out-of-range sources give fixed results, never reported.
 * 64-bit integers are native int64_t/uint64_t: on the big-endian target
 * that is the high word at the lower address. */

/* The low 16 bits of the 32-bit truncation below: wraps, never saturates. */
void KEL_Double2Ushort(const double *src, uint16_t *dst);
void KEL_Double2Short(const double *src, int16_t *dst);
/* Toward zero; NaN and values <= -2^31 give INT32_MIN, >= 2^31 INT32_MAX. */
void KEL_Double2Int32(const double *src, int32_t *dst);
void KEL_Float2Int32(const float *src, int32_t *dst);
/* Toward zero; >= 2^32 gives 0xFFFFFFFF, NaN and <= -2^31 0x80000000,
 * other negatives wrap (-1.0 gives 0xFFFFFFFF). */
void KEL_Float2Uint32(const float *src, uint32_t *dst);
/* The low 32 bits of KEL_Double2Int64's result (4294967301.0 gives 5). */
void KEL_Double2Uint32(const double *src, uint32_t *dst);
/* Exact. */
void KEL_Int322Double(const int32_t *src, double *dst);
void KEL_Uint322Double(const uint32_t *src, double *dst);
void KEL_Short2Double(const int16_t *src, double *dst);
void KEL_Ushort2Double(const uint16_t *src, double *dst);
/* Rounded once to the nearest float. */
void KEL_Int322Float(const int32_t *src, float *dst);
void KEL_Uint322Float(const uint32_t *src, float *dst);
/* Exact; a signalling NaN stays signalling. */
void KEL_Float2Double(const float *src, double *dst);
/* Byte transfers in native order, any alignment. */
void KEL_Buff2Float(const void *buffer, float *dst);
void KEL_Buff2Double(const void *buffer, double *dst);
void KEL_Float2Buff(const float *src, void *buffer);
void KEL_Double2Buff(const double *src, void *buffer);

/* Toward zero modulo 2^64 (both give the same bits); NaN gives
 * 0x8000000080000000, >= 2^64 all ones, <= -2^64 the value 1. */
void KEL_Double2Int64(const double *src, int64_t *dst);
void KEL_Double2Uint64(const double *src, uint64_t *dst);
/* Rounded once to the nearest double. */
void KEL_Int642Double(const int64_t *src, double *dst);
void KEL_Uint642Double(const uint64_t *src, double *dst);

/* ---- Operating-system wrappers: results and errno as the call left them */

int KEL_Pipe(int fds[2]);
int KEL_Close(int fd);
int32_t KEL_Read(int fd, void *buffer, uint32_t count);
int32_t KEL_Write(int fd, const void *buffer, uint32_t count);
int KEL_Mkfifo(const char *path, mode_t mode);
/* Large-file open with no mode: flags that would create a file (O_CREAT,
 * O_TMPFILE) make the C library's checked open stop the process. */
int KEL_Open(const char *path, int flags);
int KEL_SemInit(sem_t *sem, int shared, uint32_t value);
int KEL_SemWait(sem_t *sem);
int KEL_SemDestroy(sem_t *sem);
int KEL_SemPost(sem_t *sem);

/* ---- ASCII case helpers and unsigned parsing -------------------------- */

/* The tests look at the low eight bits of c only. */
int32_t LUM_CharIsLower(int32_t c);
int32_t LUM_CharIsUpper(int32_t c);
int32_t LUM_CharToUpper(int32_t c);
int32_t LUM_CharToLower(int32_t c);
/* Lowers at most count characters in place, stopping at the terminator. */
void LUM_StrToLower(char *str, uint32_t count);
/* Copies at most size - 1 characters upper-cased, then a terminator; a null
 * src or a size of 0 writes nothing. */
void LUM_StrToUpper(const char *src, char *dst, uint32_t size);
/* 0 and the value ("%u": larger numbers give 4294967295, '-' negates modulo
 * 2^32), or 22 (EINVAL): 0 stored when no number was found, nothing stored
 * for a null argument. */
int32_t LUM_StrToUint32(const char *text, uint32_t *result);

#ifdef __cplusplus
}
#endif

#endif /* KELSOFT_H */
