// The parser's last step, and its definition: the chain of extended
// operations in the target's order, for every text the rounding steps leave.
//
// Reads the integer digit by digit, adds a fraction term per digit, then
// multiplies by the exponent's powers; hands on the extended result, whose
// high part is the parsed double.
//
// Every value is built by the same extended operations in the same order as
// the target's long double would build it; the shortcuts below only skip
// operations whose results are known exactly (integers below 2^53) or were
// computed once by that very chain (chain_tables.h).
#include <cstdint>

#include "chain_tables.h"
#include "scan.h"

namespace kel {
namespace {

constexpr double kTenth = 0x1.999999999999ap-4;  // the double nearest 0.1

// Below this, n * 10 + 9 < 2^53: the extended steps are exact and give (n, +0).
constexpr uint64_t kExactIntegerLimit = ((uint64_t{1} << 53) - 9) / 10;
// Digits taken exactly whatever they are, the first not zero: 14 stay below
// kExactIntegerLimit, so 15 are exact, and a 16th where the 15 stay below it.
constexpr long kExactDigits = 15;

double digit_as_double(unsigned char c) { return static_cast<double>(c - '0'); }

// The integer's digits, the first not zero: as many as the chain's steps take
// exactly in a 64-bit integer, then the chain's own steps.
Extended read_integer(const unsigned char *p, long count) {
  long exact = count < kExactDigits ? count : kExactDigits;
  uint64_t n = leading_digits(p, static_cast<int>(exact));
  if (count > exact && n < kExactIntegerLimit) n = n * 10 + digit_value(p[exact++]);
  count -= exact;
  p += exact;
  Extended acc = static_cast<double>(n);
  for (; count != 0; --count, ++p) acc = times_ten(acc) + Extended(digit_as_double(*p));
  return acc;
}

void add_fraction(Extended &acc, const unsigned char *p, long count) {
  long k = 0;
  for (; k < tables::kTermDigits && k < count; ++k, ++p) acc = acc + from_pair(tables::kTerm[k][*p - '0']);
  if (k == count) return;
  Extended scale = from_pair(tables::kScaleAfterTerms);
  for (; k < count; ++k, ++p) {
    scale = scale * Extended(kTenth);
    acc = acc + Extended(digit_as_double(*p)) * scale;
  }
}

// Multiplies by base^count, lowest bit first; powers[i] is the base squared i times.
void apply_exponent(Extended &acc, uint32_t count, const DoublePair *powers) {
  for (int i = 0; count != 0; ++i, count >>= 1)
    if ((count & 1) != 0) acc = acc * from_pair(powers[i]);
}

}  // namespace

Extended chain_value(const Number &n) {
  Extended acc = read_integer(n.integer, n.integer_digits);
  add_fraction(acc, n.fraction, n.fraction_digits);
  apply_exponent(acc, n.exponent_magnitude, n.exponent_negative ? tables::kTenthPower : tables::kTenPower);
  return acc;
}

}  // namespace kel
