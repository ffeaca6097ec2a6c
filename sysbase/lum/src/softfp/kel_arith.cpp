// Checked arithmetic and comparison; one implementation serves float and double.
#include <functional>

#include "fault_check.h"

namespace {

template <typename T, typename Op>
void checked_op(T *result, const T *left, const T *right, Op op) {
  if (result == nullptr || left == nullptr || right == nullptr) return;
  const T a = *left;
  const T b = *right;
  kel::store_checked(result, static_cast<T>(op(a, b)), a, b);
}

// A zero (of either sign) or NaN divisor makes every quotient NaN or
// infinite, so the common path tests only the quotient, and this cold path
// tells an illegal divisor from an overflow. It reads the operands again
// after the report: the hook may have changed them meanwhile.
template <typename T>
[[gnu::noinline, gnu::cold]] void divide_faulty(T *result, const T *left, const T *right) {
  const T divisor = *right;
  if (!(divisor > T(0) || divisor < T(0))) KEL_SoftfpAssert(kel::kIllegalOperand);
  checked_op(result, left, right, std::divides<T>());
}

template <typename T>
void checked_div(T *result, const T *left, const T *right) {
  if (result == nullptr || left == nullptr || right == nullptr) return;
  const T quotient = *left / *right;
  if (kel::is_fault(quotient)) [[unlikely]]
    return divide_faulty(result, left, right);
  *result = quotient;
}

template <typename T>
int32_t compare(const T *left, const T *right) {
  if (left == nullptr || right == nullptr) return -1;
  if (*left > *right) return 1;
  if (*left < *right) return 2;
  return 0;  // equal, or unordered
}

}  // namespace

extern "C" {

void KEL_Dadd(double *r, const double *a, const double *b) { checked_op(r, a, b, std::plus<double>()); }
void KEL_Dsub(double *r, const double *a, const double *b) { checked_op(r, a, b, std::minus<double>()); }
void KEL_Dmut(double *r, const double *a, const double *b) { checked_op(r, a, b, std::multiplies<double>()); }
void KEL_Ddiv(double *r, const double *a, const double *b) { checked_div(r, a, b); }
int32_t KEL_Dcmp(const double *a, const double *b) { return compare(a, b); }

void KEL_Sadd(float *r, const float *a, const float *b) { checked_op(r, a, b, std::plus<float>()); }
void KEL_Ssub(float *r, const float *a, const float *b) { checked_op(r, a, b, std::minus<float>()); }
void KEL_Smut(float *r, const float *a, const float *b) { checked_op(r, a, b, std::multiplies<float>()); }
void KEL_Sdiv(float *r, const float *a, const float *b) { checked_div(r, a, b); }
int32_t KEL_Scmp(const float *a, const float *b) { return compare(a, b); }

}  // extern "C"
