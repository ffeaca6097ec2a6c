#include "truncate.h"

namespace kel {

int32_t truncate32(double x) {
  if (x != x) return INT32_MIN;
  if (x >= 0x1p31) return INT32_MAX;
  if (x <= -0x1p31) return INT32_MIN;
  return static_cast<int32_t>(x);
}

namespace {

// a >= 0.
uint64_t truncate_magnitude(double a) {
  if (a >= 0x1p64) return UINT64_MAX;
  return static_cast<uint64_t>(a);
}

}  // namespace

// A negative source is the magnitude's pattern negated, so -2^64 and below
// give 1 and -0.5 gives 0.
uint64_t truncate64(double x) {
  if (x != x) return 0x8000000080000000u;
  if (x < 0) return 0 - truncate_magnitude(-x);
  return truncate_magnitude(x);
}

}  // namespace kel
