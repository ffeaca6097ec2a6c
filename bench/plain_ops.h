// Unchecked counterparts of the library's operations, with the same
// signatures, for the benchmarks to compare against.
#ifndef KEL_BENCH_PLAIN_OPS_H
#define KEL_BENCH_PLAIN_OPS_H

#include <cstddef>
#include <cstdint>

namespace plain {

void dadd(double *r, const double *a, const double *b);
void dsub(double *r, const double *a, const double *b);
void dmut(double *r, const double *a, const double *b);
void ddiv(double *r, const double *a, const double *b);
int32_t dcmp(const double *a, const double *b);
void sadd(float *r, const float *a, const float *b);
void ssub(float *r, const float *a, const float *b);
void smut(float *r, const float *a, const float *b);
void sdiv(float *r, const float *a, const float *b);
int32_t scmp(const float *a, const float *b);

void slog(float *r, const float *x);
void dlog(double *r, const double *x);
void slog10(float *r, const float *x);
void dlog10(double *r, const double *x);
void ssqrt(float *r, const float *x);
void dsqrt(double *r, const double *x);
void dceil(const double *x, double *r);
void dexp(const double *x, double *r);
void dpow(const double *base, const double *exponent, double *r);
void intdiv(uint32_t num, uint32_t den, double *r);

void double2int32(const double *src, int32_t *dst);  // in-range sources only
void int322double(const int32_t *src, double *dst);
void float2double(const float *src, double *dst);
void buff2double(const void *buffer, double *dst);
void int642double(const int64_t *src, double *dst);
void double2uint64(const double *src, uint64_t *dst);  // 0 <= source < 2^64 only

void double2ascii(const double *value, char *buffer, size_t size);

int32_t char_to_upper(int32_t c);
void str_to_upper(const char *src, char *dst, uint32_t size);
void str_to_lower(char *str, uint32_t count);

}  // namespace plain

#endif
