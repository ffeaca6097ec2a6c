// The fault check shared by every checked operation.
#ifndef KEL_FAULT_CHECK_H
#define KEL_FAULT_CHECK_H

#include <cmath>
#include <limits>

#include "kelsoft.h"
#include "target_nan.h"

namespace kel {

// fpclassify numbers are part of the interface; the C library must agree.
static_assert(FP_NAN == 0 && FP_INFINITE == 1 && FP_ZERO == 2 && FP_SUBNORMAL == 3 && FP_NORMAL == 4);

// NaN or infinite, tested in T's own precision: a float is never widened
// first. Only NaN and infinity lie outside [-max, max]. Two comparisons are
// cheaper than classifying every result, and stay inline in a unit built
// with -fno-builtin, where fabs would be a call into the C library.
template <typename T>
bool is_fault(T value) {
  constexpr T kMax = std::numeric_limits<T>::max();
  return !(value >= -kMax && value <= kMax);
}

// A stored result that is NaN or infinite: a NaN becomes the target's, then
// the report, through the exported name. Out of line: results are rarely faulty.
template <typename T, typename... Operands>
[[gnu::cold, gnu::noinline]] void report_fault(T *result, T value, Operands... operands) {
  if (std::isnan(value)) *result = value = target_nan<T>({operands...});
  KEL_SoftfpAssert(std::fpclassify(value));
}

// Stores first, then checks exactly the value stored.
template <typename T, typename... Operands>
void store_checked(T *result, T value, Operands... operands) {
  *result = value;
  if (is_fault(value)) [[unlikely]]
    report_fault(result, value, operands...);
}

}  // namespace kel

#endif
