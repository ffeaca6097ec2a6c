// The parser's third step: the chain's result from its exact value rounded
// once in 128 bits, for the texts round64.h leaves.
//
// The chain adds the integer and the fraction terms kTerm[k][d], then
// multiplies by the powers kTenPower or kTenthPower of the exponent's set
// bits. Its result is the double nearest that exact sum and product unless
// the exact value lies within the chain's own error of a midpoint between two
// doubles. So: compute the exact value within 128 bits and decide only where
// it is farther from every midpoint than the chain's error plus ours. Takes
// integers of any length up to kMaxIntegerDigits; hands on NaN (kDeclined)
// where it cannot decide, and chain.cpp decides. docs/parser.md derives the
// bounds.
#include <bit>
#include <cstdint>
#include <limits>

#include "round64.h"

namespace kel {
namespace {

// The chain's relative error stays below 2^-92 over the longest text taken
// here (kMaxIntegerDigits integer digits, kTermDigits fraction digits, nine
// multiplications): in units of a mantissa below 2^128, below 2^36. Doubled.
constexpr uint64_t kChainError = uint64_t{1} << 37;
// Each 128-bit fraction term is within half a unit of 2^-127: 32 of them.
constexpr uint64_t kTermError = 16;
// The chain's terms after the 32nd digit (digit times its own scale, from
// 10^-33 down) add less than 10^-32 in all: below 2^21 units of 2^-127. They
// are taken as error, for up to kMaxTailDigits of them, so that the chain's
// error bound still holds over their operations (three each).
constexpr uint64_t kTailError = uint64_t{1} << 21;
constexpr long kMaxTailDigits = 100;
// Above this the error no longer leaves room for a decision: a small value
// with a tail of digits.
constexpr uint64_t kMaxSumError = uint64_t{1} << 48;
// A value mantissa * 2^exponent, the mantissa's top bit set, within error
// units of the mantissa's last place of the exact value; an error of 0 marks
// a value not computed.
struct Approx128 {
  Uint128 mantissa;
  int exponent;
  uint64_t error;
};

// w[2..2+n) holds the integer whose first 19 digits were read; the other
// digits, [from, to), join it 19 at a time. Returns the new n.
int read_long_integer(uint64_t *w, const unsigned char *from, const unsigned char *to) {
  int n = 1;
  while (from < to) {
    const long len = to - from < kHeldDigits ? to - from : kHeldDigits;
    const uint64_t scale = kPowersOfTen[len];
    uint64_t high = leading_digits(from, len);
    from += len;
    for (int i = 0; i < n; ++i) {
      const Uint128 product = mul64(w[2 + i], scale);
      const uint64_t low = product.lo + high;
      high = product.hi + carry(low < product.lo);
      w[2 + i] = low;
    }
    if (high != 0) w[2 + n++] = high;
  }
  return n;
}

// The top 128 bits of the limbs a, b, c (a not zero), a being limb number
// top of a number in units of 2^unit; fraction_error is in those units too.
inline __attribute__((always_inline)) Approx128 normalize(uint64_t a, uint64_t b, uint64_t c, int top, int unit,
                                                          uint64_t fraction_error) {
  const int zeros = std::countl_zero(a);
  const int back = 64 - zeros;
  Uint128 m = {a, b};
  if (zeros != 0) m = {(a << zeros) | (b >> back), (b << zeros) | (c >> back)};
  const int shift = 64 * top + 63 - zeros - 127;  // the last place kept, in units
  uint64_t error = 1;                             // the bits dropped
  if (shift >= 0) {
    error += (shift < 64 ? fraction_error >> shift : 0) + 1;
  } else {
    if (shift < -42) return {};  // only fraction digits, and ten of them zeros
    error += fraction_error << -shift;
  }
  return {m, shift + unit, error};
}

[[gnu::always_inline]] inline Approx128 times(const Approx128 &x, const Power128 &p, uint64_t power_error) {
  const TopProduct t = mul_top(x.mantissa, {p.hi, p.lo});
  return {t.m, x.exponent + p.exponent + 127 + t.shifted, 2 * (x.error + power_error) + 4};
}

Approx128 scale(Approx128 x, uint32_t count, bool exponent_negative) {
  const Power128 *low = exponent_negative ? tables::kTenthLow : tables::kTenLow;
  const Power128 *high = exponent_negative ? tables::kTenthHigh : tables::kTenHigh;
  if ((count >> 5) == 0) return times(x, low[count], 1);
  const Power128 &a = low[count & 31], &b = high[count >> 5];
  const TopProduct t = mul_top({a.hi, a.lo}, {b.hi, b.lo});
  return times(x, {t.m.hi, t.m.lo, a.exponent + b.exponent + 127 + t.shifted}, 8);
}

// The nearest double, or kDeclined where a value within the error rounds
// to another.
double round_once(const Approx128 &x) {
  const int leading = x.exponent + 127;
  if (leading < kMinResultExponent || leading > kMaxResultExponent) return kDeclined;
  const uint64_t error = x.error + kChainError;
  const uint64_t rest = x.mantissa.hi & 0x7FF;  // with x.mantissa.lo: the 75 bits below the double's
  if (rest == 0x400 && x.mantissa.lo <= error) return kDeclined;
  if (rest == 0x3FF && ~x.mantissa.lo < error) return kDeclined;
  const uint64_t up = carry(rest >= 0x400);
  const uint64_t biased = static_cast<uint64_t>(leading) + 1023;
  return std::bit_cast<double>((biased << 52) + (x.mantissa.hi >> 11) + up - (uint64_t{1} << 52));
}

// The integer of more than 19 digits from first, whose first 19 are head,
// plus the fraction in units of 2^-127: as its top 128 bits. Out of line, with
// its array: no stack guard for the other texts.
[[gnu::noinline]] Approx128 sum_long(const unsigned char *first, long integer_digits, uint64_t head, Uint128 fraction,
                                     uint64_t fraction_error) {
  // In units of 2^-128 here: the fraction doubled, its top bit carried into the integer.
  uint64_t w[2 + 17] = {fraction.lo << 1, (fraction.hi << 1) | (fraction.lo >> 63), head};
  int n = read_long_integer(w, first + kHeldDigits, first + integer_digits);
  for (int i = 2, up = static_cast<int>(fraction.hi >> 63); up != 0; ++i) {
    if (i == 2 + n) w[2 + n++] = 0;
    w[i] += 1;
    up = w[i] == 0 ? 1 : 0;
  }
  const int top = 1 + n;  // the integer has no leading zero
  return normalize(w[top], w[top - 1], w[top - 2], top, -128, 2 * fraction_error);
}

// The same for an integer of at most 19 digits.
Approx128 sum(const unsigned char *first, long integer_digits, uint64_t head, Uint128 fraction,
              uint64_t fraction_error) {
  if (integer_digits > kHeldDigits) return sum_long(first, integer_digits, head, fraction, fraction_error);
  const uint64_t middle = (head << 63) + fraction.hi;
  const uint64_t top = (head >> 1) + carry(middle < fraction.hi);
  if (top != 0) return normalize(top, middle, fraction.lo, 2, -127, fraction_error);
  if (middle != 0) return normalize(middle, fraction.lo, 0, 1, -127, fraction_error);
  return {};  // below 2^-63: ten or more fraction digits zeros
}

// Out of line: the digits' scan stays lean for the texts that need none of it.
[[gnu::noinline]] double decide(const unsigned char *first, long integer_digits, uint64_t head, Uint128 fraction,
                                uint64_t tail_error, uint32_t count, bool exponent_negative) {
  const bool has_fraction = (fraction.hi | fraction.lo) != 0;
  Approx128 x = sum(first, integer_digits, head, fraction, (has_fraction ? kTermError : 0) + tail_error);
  if (x.error == 0 || x.error > kMaxSumError) return kDeclined;
  if (count != 0) x = scale(x, count, exponent_negative);
  return round_once(x);
}

}  // namespace

double round128(const Number &n) {
  if (n.integer_digits > kMaxIntegerDigits || n.exponent_magnitude > kMaxExponentMagnitude) return kDeclined;
  Uint128 fraction = {0, 0};  // in units of 2^-127
  const unsigned char *p = n.fraction;
  long k = 0;
  for (; k < tables::kTermDigits && k < n.fraction_digits; ++k)
    fraction = add(fraction, tables::kTermFixed[k][p[k] - '0']);
  uint64_t tail_error = 0;  // the chain's own scale takes over after the terms
  for (; k < n.fraction_digits && tail_error == 0; ++k) tail_error = p[k] != '0' ? kTailError : 0;
  if (tail_error != 0 && n.fraction_digits > tables::kTermDigits + kMaxTailDigits) return kDeclined;
  const uint64_t head = n.integer_digits > kHeldDigits ? leading_digits(n.integer, kHeldDigits) : n.head;
  return decide(n.integer, n.integer_digits, head, fraction, tail_error, n.exponent_magnitude, n.exponent_negative);
}

}  // namespace kel
