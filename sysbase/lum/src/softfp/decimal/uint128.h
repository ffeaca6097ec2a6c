// Unsigned 128-bit integers on two 64-bit limbs, for the parser's rounding
// steps (round64.h, round128.cpp) and their tables. Only additions and
// multiplications: no division, so no call into the compiler's runtime on
// any target.
#ifndef KEL_DECIMAL_UINT128_H
#define KEL_DECIMAL_UINT128_H

#include <cstdint>

namespace kel {

struct Uint128 {
  uint64_t hi, lo;
};

// An exact product of powers of ten, mantissa * 2^exponent, the mantissa's
// top bit set.
struct Power128 {
  uint64_t hi, lo;
  int32_t exponent;
};

// A comparison's outcome as a carry.
constexpr uint64_t carry(bool overflowed) { return overflowed ? 1 : 0; }

// The full product a * b.
inline Uint128 mul64(uint64_t a, uint64_t b) {
#ifdef __SIZEOF_INT128__
  const unsigned __int128 p = static_cast<unsigned __int128>(a) * b;
  return {static_cast<uint64_t>(p >> 64), static_cast<uint64_t>(p)};
#else
  const uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32, b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
  const uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  const uint64_t middle = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
  return {p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (middle << 32) | (p00 & 0xFFFFFFFFu)};
#endif
}

// x + y modulo 2^128.
inline Uint128 add(Uint128 x, Uint128 y) {
  const uint64_t lo = x.lo + y.lo;
  return {x.hi + y.hi + carry(lo < x.lo), lo};
}

// The top 128 bits of x * y for x and y with their top bits set, shifted so
// that the top bit is set again; shifted is 1 when the product reached 2^255
// and 0 otherwise. The low halves' product is left out: the result is
// less than three units low.
struct TopProduct {
  Uint128 m;
  int shifted;
};

[[gnu::always_inline]] inline TopProduct mul_top(Uint128 x, Uint128 y) {
  const Uint128 lh = mul64(x.lo, y.hi), hl = mul64(x.hi, y.lo), hh = mul64(x.hi, y.hi);
  const uint64_t w1 = lh.lo + hl.lo;
  uint64_t w2 = hh.lo + lh.hi;
  uint64_t c2 = carry(w2 < lh.hi);
  w2 += hl.hi;
  c2 += carry(w2 < hl.hi);
  const uint64_t c1 = carry(w1 < hl.lo);
  w2 += c1;
  c2 += carry(w2 < c1);
  const uint64_t w3 = hh.hi + c2;  // the product is below 2^256
  if ((w3 >> 63) != 0) return {{w3, w2}, 1};
  return {{(w3 << 1) | (w2 >> 63), (w2 << 1) | (w1 >> 63)}, 0};
}

}  // namespace kel

#endif
