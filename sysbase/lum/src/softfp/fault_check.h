// The fault check shared by every checked operation.
#ifndef KEL_FAULT_CHECK_H
#define KEL_FAULT_CHECK_H

#include <cmath>

#include "kelsoft.h"

namespace kel {

// fpclassify numbers are part of the interface; the C library must agree.
static_assert(FP_NAN == 0 && FP_INFINITE == 1 && FP_ZERO == 2 && FP_SUBNORMAL == 3 && FP_NORMAL == 4);

// Classifies in T's own precision: a float is never widened first.
template <typename T>
bool is_fault(T value) {
  const int cls = std::fpclassify(value);
  return cls == FP_NAN || cls == FP_INFINITE;
}

// Reports a stored result that is NaN or infinite, through the exported name.
template <typename T>
void fault_check(T stored) {
  if (is_fault(stored)) KEL_SoftfpAssert(std::fpclassify(stored));
}

// Stores first, then checks exactly the value stored.
template <typename T>
void store_checked(T *result, T value) {
  *result = value;
  fault_check(value);
}

}  // namespace kel

#endif
