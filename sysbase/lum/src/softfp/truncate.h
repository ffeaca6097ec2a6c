// Float-to-integer truncations with fixed results for NaN and out-of-range
// values: the processor's own instructions disagree there (x86 gives the
// "integer indefinite", PowerPC saturates) and the language leaves it undefined.
// Inline, with the range test first, on the magnitude's bits (one integer
// comparison): the language's conversion is defined inside it, and a NaN's
// bits lie above every finite value's. What lies outside is decided out of
// line, so that the common path reads no constant from memory (on 32-bit
// PowerPC that would cost a GOT pointer and a stack frame).
#ifndef KEL_TRUNCATE_H
#define KEL_TRUNCATE_H

#include <bit>
#include <cstdint>
#include <cstring>

namespace kel {

// The word of a float or double in memory that holds its sign and exponent.
template <typename T>
uint32_t high_word(const T *source) {
  uint32_t word;
  std::memcpy(&word,
              reinterpret_cast<const unsigned char *>(source) +
                  (sizeof(T) == 8 && std::endian::native == std::endian::little ? 4 : 0),
              sizeof word);
  return word;
}

// Outside (-2^31, 2^31): NaN and x <= -2^31 give INT32_MIN, x >= 2^31 INT32_MAX.
[[gnu::cold, gnu::noinline, gnu::visibility("hidden")]] inline int32_t saturate32(double x) {
  return x >= 0x1p31 ? INT32_MAX : INT32_MIN;
}

// Toward zero, saturating as above. A float takes part with its exact value.
template <typename T>
int32_t truncate32(const T *source) {
#if defined(__powerpc__) && !defined(__NO_FPRS__)
  // The processor's conversion saturates exactly so, NaN included: no range
  // test. Not where there are no floating-point registers (-msoft-float).
  double converted;
  asm("fctiwz %0,%1" : "=d"(converted) : "d"(static_cast<double>(*source)));
  return static_cast<int32_t>(std::bit_cast<uint64_t>(converted));
#else
  constexpr uint32_t kLimit = sizeof(T) == 8 ? 0x41E00000u : 0x4F000000u;  // the high word of 2^31
  if ((high_word(source) & 0x7FFFFFFFu) < kLimit) [[likely]]
    return static_cast<int32_t>(*source);
  return saturate32(*source);
#endif
}

// Toward zero modulo 2^64; NaN gives 0x8000000080000000, x >= 2^64 all ones,
// x <= -2^64 the value 1. A negative source is the magnitude's pattern
// negated, so -0.5 gives 0.
[[gnu::cold, gnu::noinline, gnu::visibility("hidden")]] inline uint64_t wrap64(double x) {
  if (x >= 0x1p63) return x >= 0x1p64 ? UINT64_MAX : static_cast<uint64_t>(x);
  if (x != x) return 0x8000000080000000u;
  return x <= -0x1p64 ? 1 : 0 - static_cast<uint64_t>(-x);
}

inline uint64_t truncate64(const double *source) {
  if ((high_word(source) & 0x7FFFFFFFu) < 0x43E00000u) [[likely]] {  // |x| < 2^63
#if UINTPTR_MAX > 0xFFFFFFFFu
    return static_cast<uint64_t>(static_cast<int64_t>(*source));
#else
    // A 32-bit machine converts to 64 bits in a library call of some 80
    // instructions; shifting the significand by the exponent takes a third.
    uint64_t bits;
    std::memcpy(&bits, source, sizeof bits);
    const int exponent = static_cast<int>(bits >> 52 & 0x7FF) - 1075;  // of the significand's last bit
    const uint64_t significand = (bits & ((uint64_t{1} << 52) - 1)) | uint64_t{1} << 52;
    uint64_t magnitude = 0;
    if (exponent >= 0) {
      magnitude = significand << exponent;
    } else if (exponent > -53) {
      magnitude = significand >> -exponent;
    }
    return bits >> 63 != 0 ? 0 - magnitude : magnitude;
#endif
  }
  return wrap64(*source);
}

}  // namespace kel

#endif
