// Built with -fno-builtin and calling the C functions by name, like the
// library's elementary functions, so that both call the C library rather
// than an inline instruction.
#include <cmath>

#include "plain_ops.h"

namespace plain {

void slog(float *r, const float *x) { *r = ::logf(*x); }
void dlog(double *r, const double *x) { *r = ::log(*x); }
void slog10(float *r, const float *x) { *r = ::log10f(*x); }
void dlog10(double *r, const double *x) { *r = ::log10(*x); }
void ssqrt(float *r, const float *x) { *r = ::sqrtf(*x); }
void dsqrt(double *r, const double *x) { *r = ::sqrt(*x); }
void dceil(const double *x, double *r) { *r = ::ceil(*x); }
void dexp(const double *x, double *r) { *r = ::exp(*x); }
void dpow(const double *base, const double *exponent, double *r) { *r = ::pow(*base, *exponent); }
void intdiv(uint32_t num, uint32_t den, double *r) { *r = static_cast<double>(num) / static_cast<double>(den); }

}  // namespace plain
