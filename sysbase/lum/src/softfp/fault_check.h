// The fault check shared by every checked operation.
#ifndef KEL_FAULT_CHECK_H
#define KEL_FAULT_CHECK_H

#include <cmath>

#include "kelsoft.h"
#include "target_nan.h"

namespace kel {

// The report code of an illegal operand.
constexpr int32_t kIllegalOperand = -1;

// fpclassify numbers are part of the interface; the C library must agree.
static_assert(FP_NAN == 0 && FP_INFINITE == 1 && FP_ZERO == 2 && FP_SUBNORMAL == 3 && FP_NORMAL == 4);

// NaN or infinite, tested in T's own precision: x - x is NaN exactly for
// those (inf - inf is NaN) and 0 otherwise, and only a NaN is unequal to
// itself. No constant is read from memory, so on 32-bit PowerPC the common
// path needs no GOT pointer and stays a leaf; nothing folds x - x without
// -ffinite-math-only.
template <typename T>
bool is_fault(T value) {
  const T difference = value - value;  // NOLINT(misc-redundant-expression)
  return difference != difference;     // NOLINT(misc-redundant-expression)
}

// A stored result that is NaN or infinite: a NaN becomes the target's, then
// the report, through the exported name. Out of line: results are rarely faulty.
// Hidden: a call to it from position-independent code needs no PLT entry,
// and the checked calls end in a jump to it.
template <typename T, typename... Operands>
[[gnu::cold, gnu::noinline, gnu::visibility("hidden")]] void report_fault(T *result, T value, Operands... operands) {
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
