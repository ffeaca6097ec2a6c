// The square root, correctly rounded, from multiply-adds: for processors with
// a fused multiply-add and no square-root instruction (32-bit PowerPC's base
// instruction set), where the C library's sqrt runs about a hundred
// instructions. Its results are the C library's to the bit, because both are
// correctly rounded; tests/sqrt_rounded.cpp checks that over hard and random
// operands on every build.
#ifndef KEL_SQRT_ROUNDED_H
#define KEL_SQRT_ROUNDED_H

#include <bit>
#include <cmath>
#include <cstdint>

namespace kel {

namespace sqrt_detail {
inline double libm_sqrt(double x) { return std::sqrt(x); }
}  // namespace sqrt_detail

// Libm computes the arguments the multiply-adds do not take: the float root
// passes the C library's float function, so both keep their own errno path.
template <double (*Libm)(double) = sqrt_detail::libm_sqrt>
inline double sqrt_rounded(double x);

namespace sqrt_detail {

// Always the instruction: the elementary functions' unit is built with
// -fno-builtin, which would make std::fma a call.
inline double fma(double a, double b, double c) { return __builtin_fma(a, b, c); }

inline double from_words(uint32_t high, uint32_t low) {
  return std::bit_cast<double>(static_cast<uint64_t>(high) << 32 | low);
}

// Arguments from 2^-600 up to the largest double: the steps below neither
// underflow nor overflow there.
constexpr uint32_t kLowest = 0x1A700000u, kInfinity = 0x7FF00000u;

// Tiny arguments are scaled by 2^600 and their root by 2^-300, both exact;
// the C library takes zero, negative, infinite and NaN ones (and sets errno).
// Hidden: the call to it needs no PLT entry, and so no GOT pointer.
template <double (*Libm)(double)>
[[gnu::cold, gnu::noinline, gnu::visibility("hidden")]] inline double special(double x) {
  return x > 0 && x < INFINITY ? sqrt_rounded<Libm>(x * 0x1p600) * 0x1p-300 : Libm(x);
}

}  // namespace sqrt_detail

template <double (*Libm)(double)>
[[gnu::always_inline]] inline double sqrt_rounded(double x) {
  using sqrt_detail::fma;
  using sqrt_detail::from_words;
  const auto high = static_cast<uint32_t>(std::bit_cast<uint64_t>(x) >> 32);
  if (high - sqrt_detail::kLowest >= sqrt_detail::kInfinity - sqrt_detail::kLowest) [[unlikely]]
    return sqrt_detail::special<Libm>(x);
  // 0.5 and 0 made here, not read from memory: in position-independent code
  // on 32-bit PowerPC a constant's address costs a GOT pointer and a frame.
  uint32_t half_high = 0x3FE00000u;
  asm("" : "+r"(half_high));
  const double half = from_words(half_high, 0), zero = x - x;  // NOLINT(misc-redundant-expression)
  // 1/sqrt(x) within 3.5 %, from the exponent and the first fraction bits
  // halved, and half of it; then three coupled Newton steps on the root g
  // and the half reciprocal h (each squares the relative error), to 2^-34.
  const double y = from_words(0x5FE6EB50u - (high >> 1), 0);
  double g = x * y, h = half * y;
#pragma GCC unroll 3
  for (int i = 0; i < 3; ++i) {
    const double r = -fma(g, h, -half);
    g = fma(g, r, g);
    h = fma(h, r, h);
  }
  // One more step on g from the exact remainder: within 2^-66 of the root
  // before its one rounding, so c is the root rounded, or a neighbour of it
  // when the root lies that close to the midpoint between two doubles.
  const double c = fma(-fma(g, g, -x), h, g);
  // n and p are c's neighbours, s the spacing between c and either. The
  // square of the midpoint above c is c*n + s*s/4, of the one below c*p +
  // s*s/4, while x, c*n and c*p are whole multiples of s*s: so the root lies
  // above the upper midpoint exactly when x > c*n, below the lower exactly
  // when x <= c*p. Each difference is exact before its one rounding, and no
  // smaller than s*s (above 2^-704) unless zero, so its sign is right.
  const uint64_t cb = std::bit_cast<uint64_t>(c);
  const double n = std::bit_cast<double>(cb + 1), p = std::bit_cast<double>(cb - 1);
  if (fma(c, n, -x) < zero) return n;
  if (fma(c, p, -x) >= zero) return p;
  return c;
}

}  // namespace kel

#endif
