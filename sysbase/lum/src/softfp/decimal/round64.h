// The parser's second step: the chain's result from its exact value rounded
// once in 64 bits, in line, for the common texts.
//
// Takes the Number from scan.h: up to 19 significant digits with a fraction
// of up to 19 digits, or a long integer, times an exponent of magnitude up to
// kMaxExponentMagnitude; out of line, round64_cut takes texts of 20 to 27
// significant digits as their first 19 plus the rest. Decides where the
// value, within its error, lies clear of every midpoint between two doubles
// and inside the range whose bounds hold; hands on NaN (kDeclined)
// otherwise, and round128.cpp tries again. docs/parser.md derives the bounds.
#ifndef KEL_DECIMAL_ROUND64_H
#define KEL_DECIMAL_ROUND64_H

#include <array>
#include <bit>
#include <cstdint>
#include <limits>

#include "round_tables.h"
#include "scan.h"
#include "uint128.h"

namespace kel {

// Below 10^308 no step of the chain can overflow.
constexpr int kMaxIntegerDigits = 308;
// Exponents from 512 on reach the chain's infinite or zero powers.
constexpr uint32_t kMaxExponentMagnitude = 511;
// The results taken, as exponents of the leading bit: from 2^-968, where the
// chain's low parts and its fma errors are still normal, to below 2^1023.
constexpr int kMinResultExponent = -968;
constexpr int kMaxResultExponent = 1022;
// The 64-bit step's error for the chain's own and the fraction's first-order
// weights, in units of its mantissa's last place (docs/parser.md).
constexpr uint64_t kRound64ModelError = 1;
// What the steps below return where they cannot decide.
constexpr double kDeclined = std::numeric_limits<double>::quiet_NaN();

// A value m * 2^exponent, m's top bit set, within error units of m's last
// place of the exact value.
struct Approx64 {
  uint64_t m;
  int exponent;
  uint64_t error;
};

// x times a table entry, whose top 64 bits are taken (within 2 units).
[[gnu::always_inline]] inline Approx64 times(const Approx64 &x, const Power128 &p) {
  const Uint128 t = mul64(x.m, p.hi);
  const uint64_t error = 2 * (x.error + 2) + 1;
  if ((t.hi >> 63) != 0) return {t.hi, x.exponent + p.exponent + 128, error};
  return {(t.hi << 1) | (t.lo >> 63), x.exponent + p.exponent + 127, error};
}

[[gnu::always_inline]] inline Approx64 times_power(Approx64 x, uint32_t count, const Power128 *low,
                                                   const Power128 *high) {
  x = times(x, low[count & 31]);
  if ((count >> 5) != 0) x = times(x, high[count >> 5]);
  return x;
}

// All digits held: digits + 2^-54 weights, the chain's sum times 10^n, is
// exact in 128 bits, and so is what below adds in units of 2^-64 (the digits
// a cut text leaves out); then times 10^-n.
[[gnu::always_inline]] inline Approx64 held_value(const Number &n, uint64_t below = 0) {
  const auto places = static_cast<unsigned>(n.fraction_digits);
  const uint64_t weights = (places + 1) * n.digits - n.prefixes;
  const uint64_t lo = (weights << 10) + below;
  const uint64_t hi = n.digits + (weights >> 54) + (lo < below ? 1 : 0);
  const int zeros = std::countl_zero(hi);
  Approx64 x = {(hi << zeros) | ((lo >> 1) >> (63 - zeros)), -zeros, 1};
  if (places != 0) x = times(x, tables::kInverseTen[places]);
  return x;
}

// More than kHeldDigits integer digits: the value is head + [0, 1) times
// 10^r, r the digits after the held ones.
[[gnu::always_inline]] inline Approx64 long_integer_value(const Number &n) {
  const uint64_t head = leading_digits(n.integer, kHeldDigits);
  const int zeros = std::countl_zero(head);
  const uint32_t r = static_cast<uint32_t>(n.integer_digits - kHeldDigits);
  return times_power({head << zeros, -zeros, uint64_t{1} << zeros}, r, tables::kTenLow, tables::kTenHigh);
}

// x times the text's power of ten, rounded to the chain's double, or NaN
// where a value within the error rounds to another or the value is outside
// what is taken here.
[[gnu::always_inline]] inline double scaled_and_rounded(Approx64 x, const Number &n) {
  if (n.exponent_magnitude != 0) {
    if (n.exponent_magnitude > kMaxExponentMagnitude) return kDeclined;
    x = n.exponent_negative ? times_power(x, n.exponent_magnitude, tables::kTenthLow, tables::kTenthHigh)
                            : times_power(x, n.exponent_magnitude, tables::kTenLow, tables::kTenHigh);
  }
  const int leading = x.exponent + 63;
  if (leading < kMinResultExponent || leading > kMaxResultExponent) return kDeclined;
  const uint64_t error = x.error + kRound64ModelError;
  const uint64_t rest = x.m & 0x7FF;  // the bits below the double's
  if (rest - (0x400 - error) <= 2 * error) return kDeclined;
  // m to 53 bits, up from 0x400 (never a tie here); its top bit adds one to
  // the exponent field, and a carry to 2^53 one more.
  const uint64_t mantissa = ((x.m >> 10) + 1) >> 1;
  return std::bit_cast<double>((static_cast<uint64_t>(leading + 1022) << 52) + mantissa);
}

// The chain's double, or NaN where a value within the error rounds to
// another or the value is outside what is taken here.
[[gnu::always_inline]] inline double round64(const Number &n) {
  if (n.significant == 0)
    return !n.exponent_negative && n.exponent_magnitude > kMaxExponentMagnitude ? kDeclined
                                                                                : 0.0;  // zero times infinity
  Approx64 x;
  if (n.significant <= kHeldDigits) {
    if (n.fraction_digits > kHeldDigits) return kDeclined;
    x = held_value(n);
  } else {
    if (n.integer_digits <= kHeldDigits || n.integer_digits > kMaxIntegerDigits ||
        n.fraction_digits > tables::kTermDigits)
      return kDeclined;
    x = long_integer_value(n);
  }
  return scaled_and_rounded(x, n);
}

// The most digits a cut text leaves out.
constexpr long kMaxCutDigits = 8;
// For r digits cut off: 2^64 / 10^r rounded down (their value in units of
// 2^-64 of the last held digit), and 5^-r modulo 2^64.
struct CutFactors {
  uint64_t scale, inverse_five;
};
inline constexpr CutFactors kCut[kMaxCutDigits + 1] = {{0, 1},
                                                       {1844674407370955161u, 0xcccccccccccccccdu},
                                                       {184467440737095516u, 0x8f5c28f5c28f5c29u},
                                                       {18446744073709551u, 0x1cac083126e978d5u},
                                                       {1844674407370955u, 0xd288ce703afb7e91u},
                                                       {184467440737095u, 0x5d4e8fb00bcbe61du},
                                                       {18446744073709u, 0x790fb65668c26139u},
                                                       {1844674407370u, 0xe5032477ae8d46a5u},
                                                       {184467440737u, 0xc767074b22e90e21u}};

// The fraction digits of a cut text whose prefix sums are taken; the later
// ones are weighted as if each sum were the whole (docs/parser.md).
constexpr long kSummedDigits = 4;
// 10^k up to 10^kHeldDigits: the digits a cut text does not sum, and the
// 128-bit step's groups of 19.
inline constexpr auto kPowersOfTen = [] {
  std::array<uint64_t, kHeldDigits + 1> powers{};
  uint64_t power = 1;
  for (uint64_t &p : powers) {
    p = power;
    power *= 10;  // wraps after the last, unused
  }
  return powers;
}();

// More significant digits than held, the integer's all among them and no
// zeros before a fraction's first (then the first kHeldDigits end within the
// fraction's first 19 digits): the text cut after its kHeldDigits-th
// significant digit, with the r digits cut off added at their decimal value.
// Its digits' value D19 from the scan's, modulo 2^64: (digits - cut off) /
// 10^r gives D19 modulo 2^(64-r), and the leading digits, read again with
// the first fraction digits' prefix sums, place it (docs/parser.md).
inline double round64_cut(const Number &n) {
  const long cut = n.integer_digits + n.fraction_digits - kHeldDigits;
  if (n.integer_digits > kHeldDigits || cut <= 0 || cut > kMaxCutDigits ||
      (n.integer_digits == 0 && *n.fraction == '0'))
    return kDeclined;
  Number held = n;
  held.fraction_digits = n.fraction_digits - cut;
  const long summed = held.fraction_digits < kSummedDigits ? held.fraction_digits : kSummedDigits;
  uint64_t d = n.head, h = d;
  for (long k = 0; k < summed; ++k) {
    d = d * 10 + digit_value(n.fraction[k]);
    h = h * 10 + d;
  }
  const long unsummed = held.fraction_digits - summed;
  const uint64_t cut_off = leading_digits(n.fraction + held.fraction_digits, cut);
  const uint64_t low = ((n.digits - cut_off) >> cut) * kCut[cut].inverse_five;
  const uint64_t from = d * kPowersOfTen[unsummed];
  held.digits = from + ((low - from) & (~uint64_t{0} >> cut));
  held.prefixes = h * kPowersOfTen[unsummed] + static_cast<uint64_t>(unsummed) * held.digits;
  return scaled_and_rounded(held_value(held, cut_off * kCut[cut].scale), n);
}

}  // namespace kel

#endif
