// Every float bit pattern through the float conversions, checked against a
// model that works on the bit fields with integer arithmetic only.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>

#include "kelsoft.h"

namespace {

struct FloatFields {
  bool negative;
  uint32_t exponent;  // biased, 0..255
  uint32_t fraction;  // 23 bits
  bool is_nan() const { return exponent == 255 && fraction != 0; }
  // |x| >= 2^31 exactly when the biased exponent is 158 or more, >= 2^32 at 159.
  bool at_least_2_pow(uint32_t n) const { return exponent >= 127 + n; }
};

FloatFields fields(uint32_t bits) { return {bits >> 31 != 0, (bits >> 23) & 0xFF, bits & 0x7FFFFF}; }

// |x| rounded toward zero, for |x| < 2^32.
uint64_t model_magnitude(const FloatFields &f) {
  if (f.exponent == 0) return 0;  // subnormals are below 1
  const uint64_t significand = f.fraction | 0x800000;
  const int shift = static_cast<int>(f.exponent) - 150;
  if (shift >= 0) return significand << shift;
  return shift > -24 ? significand >> -shift : 0;
}

uint32_t model_int32(uint32_t bits) {
  const FloatFields f = fields(bits);
  if (f.is_nan()) return 0x80000000;
  if (f.at_least_2_pow(31)) return f.negative ? 0x80000000 : 0x7FFFFFFF;
  const uint64_t m = model_magnitude(f);
  return static_cast<uint32_t>(f.negative ? 0 - m : m);
}

uint32_t model_uint32(uint32_t bits) {
  const FloatFields f = fields(bits);
  if (f.is_nan()) return 0x80000000;
  if (f.negative) return f.at_least_2_pow(31) ? 0x80000000 : static_cast<uint32_t>(0 - model_magnitude(f));
  return f.at_least_2_pow(32) ? 0xFFFFFFFF : static_cast<uint32_t>(model_magnitude(f));
}

uint64_t model_double(uint32_t bits) {
  const FloatFields f = fields(bits);
  const uint64_t sign = static_cast<uint64_t>(f.negative) << 63;
  uint64_t exponent = f.exponent + 1023 - 127;
  uint64_t fraction = static_cast<uint64_t>(f.fraction) << 29;
  if (f.exponent == 255) {
    exponent = 0x7FF;
  } else if (f.exponent == 0 && f.fraction == 0) {
    exponent = 0;
  } else if (f.exponent == 0) {
    // A subnormal float is a normal double: move the leading one out.
    const int top = 31 - std::countl_zero(f.fraction);
    exponent = static_cast<uint64_t>(top - 149 + 1023);
    fraction = (static_cast<uint64_t>(f.fraction) << (52 - top)) & ((uint64_t{1} << 52) - 1);
  }
  return sign | exponent << 52 | fraction;
}

// Checks patterns first, first + stride, ... up to last; reports the first
// few mismatches and gives their count.
uint64_t sweep(uint64_t first, uint64_t last, uint64_t stride) {
  uint64_t mismatches = 0;
  for (uint64_t p = first; p <= last; p += stride) {
    const uint32_t bits = static_cast<uint32_t>(p);
    float x;
    std::memcpy(&x, &bits, sizeof x);
    int32_t i;
    uint32_t u;
    double d;
    KEL_Float2Int32(&x, &i);
    KEL_Float2Uint32(&x, &u);
    KEL_Float2Double(&x, &d);
    const uint32_t want_i = model_int32(bits), want_u = model_uint32(bits);
    const uint64_t want_d = model_double(bits);
    if (std::bit_cast<uint32_t>(i) == want_i && u == want_u && std::bit_cast<uint64_t>(d) == want_d) continue;
    if (++mismatches <= 10)
      ADD_FAILURE() << std::hex << "pattern " << bits << ": int32 " << i << " (model " << want_i << "), uint32 " << u
                    << " (" << want_u << "), double " << std::bit_cast<uint64_t>(d) << " (" << want_d << ")";
  }
  return mismatches;
}

TEST(FloatSweepLong, EveryPattern) { EXPECT_EQ(sweep(0, 0xFFFFFFFF, 1), 0u); }

}  // namespace
