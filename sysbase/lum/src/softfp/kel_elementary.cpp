// Checked elementary functions: the C math library does the work, we check
// its result, and test the domain only when the result is NaN or infinite.
#include <cmath>

#include "fault_check.h"
#include "sqrt_rounded.h"

namespace {

using kel::kIllegalOperand;

// Both comparisons are false for a NaN: a NaN argument is no domain fault,
// only its NaN result is.
template <typename T>
bool not_positive(T x) {
  return x <= T(0);
}
template <typename T>
bool negative(T x) {
  return x < T(0);
}  // -0.0 is a valid square-root argument

// Result first. A domain fault is reported, and the function is computed all
// the same. An argument outside the domain always gives a NaN or infinite
// result, so only such a result takes this cold path, which computes again
// after the report: the hook may have changed the argument meanwhile. The
// functions are template arguments: the jump here then needs no address from
// the GOT, and the common path no GOT pointer.
template <typename T, T (*Fn)(T), bool (*OutsideDomain)(T)>
[[gnu::noinline, gnu::cold]] void faulty_libm(T *result, const T *x) {
  if (OutsideDomain(*x)) KEL_SoftfpAssert(kIllegalOperand);
  const T arg = *x;  // read after the report: the hook may have changed it
  kel::store_checked(result, Fn(arg), arg);
}

template <typename T, T (*Fn)(T), bool (*OutsideDomain)(T)>
void checked_libm(T *result, const T *x) {
  if (result == nullptr || x == nullptr) return;
  const T value = Fn(*x);
  if (kel::is_fault(value)) [[unlikely]]
    return faulty_libm<T, Fn, OutsideDomain>(result, x);
  *result = value;
}

// Argument first, no domain.
void checked_libm(const double *x, double *result, double (*fn)(double)) {
  if (x == nullptr || result == nullptr) return;
  const double arg = *x;
  kel::store_checked(result, fn(arg), arg);
}

// Without a square-root instruction but with a fused multiply-add (32-bit
// PowerPC's base set), the library's own root costs half the C library's, to
// the same bits: both are correctly rounded, and the float root through the
// double one is too.
#if defined(__powerpc__) && !defined(_ARCH_PPCSQ) && defined(__FP_FAST_FMA)
[[gnu::always_inline]] inline double root(double x) { return kel::sqrt_rounded(x); }
// Exact both ways: the argument came from a float, and so does the result.
double float_libm_sqrt(double x) { return sqrtf(static_cast<float>(x)); }
[[gnu::always_inline]] inline float root(float x) { return static_cast<float>(kel::sqrt_rounded<float_libm_sqrt>(x)); }
#else
double root(double x) { return sqrt(x); }
float root(float x) { return sqrtf(x); }
#endif

}  // namespace

extern "C" {

void KEL_SLog(float *r, const float *x) { checked_libm<float, logf, not_positive>(r, x); }
void KEL_DLog(double *r, const double *x) { checked_libm<double, log, not_positive>(r, x); }
void KEL_SLog10(float *r, const float *x) { checked_libm<float, log10f, not_positive>(r, x); }
void KEL_DLog10(double *r, const double *x) { checked_libm<double, log10, not_positive>(r, x); }
void KEL_DSqrtf(float *r, const float *x) { checked_libm<float, root, negative>(r, x); }
void KEL_DSqrt(double *r, const double *x) { checked_libm<double, root, negative>(r, x); }

void KEL_Dceil(const double *x, double *r) { checked_libm(x, r, ceil); }
void KEL_DExp(const double *x, double *r) { checked_libm(x, r, exp); }

// Callers always pass valid addresses; pow's own special cases decide the result.
void KEL_AddPowForKavri(const double *base, const double *exponent, double *r) {
  const double b = *base, e = *exponent;
  kel::store_checked(r, pow(b, e), b, e);
}

// Divides, despite the name. Unlike KEL_Ddiv, a zero denominator stores nothing.
void KEL_IntMut(uint32_t numerator, uint32_t denominator, double *r) {
  if (r == nullptr) return;
  if (denominator == 0) {
    KEL_SoftfpAssert(kIllegalOperand);
    return;
  }
  // Both convert exactly: 4294967295 stays 4294967295.0.
  kel::store_checked(r, static_cast<double>(numerator) / static_cast<double>(denominator));
}

}  // extern "C"
