// Float-to-integer truncations with fixed results for NaN and out-of-range
// values: the processor's own instructions disagree there (x86 gives the
// "integer indefinite", PowerPC saturates) and the language leaves it undefined.
// Inline, with the range test first, on the magnitude's bits (one integer
// comparison): the language's conversion is defined inside it, and a NaN's
// bits lie above every finite value's.
#ifndef KEL_TRUNCATE_H
#define KEL_TRUNCATE_H

#include <bit>
#include <cstdint>
#include <cstring>

namespace kel {

inline uint64_t magnitude_bits(double x) { return std::bit_cast<uint64_t>(x) & ~(uint64_t{1} << 63); }

// Toward zero; NaN and x <= -2^31 give INT32_MIN, x >= 2^31 gives INT32_MAX.
// A float takes part with its exact value, widened.
inline int32_t truncate32(double x) {
  if (magnitude_bits(x) < std::bit_cast<uint64_t>(0x1p31)) [[likely]]
    return static_cast<int32_t>(x);
  return x >= 0x1p31 ? INT32_MAX : INT32_MIN;
}

// The same for a double in memory: its bits are read into an integer
// register directly, not moved over from a floating-point one.
inline int32_t truncate32(const double *source) {
  uint64_t bits;
  std::memcpy(&bits, source, sizeof bits);
  if ((bits & ~(uint64_t{1} << 63)) < std::bit_cast<uint64_t>(0x1p31)) [[likely]]
    return static_cast<int32_t>(*source);
  return *source >= 0x1p31 ? INT32_MAX : INT32_MIN;
}

// Toward zero modulo 2^64; NaN gives 0x8000000080000000, x >= 2^64 all ones,
// x <= -2^64 the value 1. A negative source is the magnitude's pattern
// negated, so -0.5 gives 0.
inline uint64_t truncate64(double x) {
  if (magnitude_bits(x) < std::bit_cast<uint64_t>(0x1p63)) [[likely]]
    return static_cast<uint64_t>(static_cast<int64_t>(x));
  if (x >= 0x1p63) return x >= 0x1p64 ? UINT64_MAX : static_cast<uint64_t>(x);
  if (x != x) return 0x8000000080000000u;
  return x <= -0x1p64 ? 1 : 0 - static_cast<uint64_t>(-x);
}

}  // namespace kel

#endif
