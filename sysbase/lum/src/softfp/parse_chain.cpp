// The parser's chain of extended operations, in the target's order.
//
// Every value is built by the same extended operations in the same order as
// the target's long double would build it; the shortcuts below only skip
// operations whose results are known exactly (integers below 2^53) or were
// computed once by that very chain (parse_tables.h).
#include <cstdint>

#include "parse_paths.h"
#include "parse_tables.h"

namespace kel {
namespace {

constexpr double kTenth = 0x1.999999999999ap-4;  // the double nearest 0.1

// Below this, n * 10 + 9 < 2^53: the extended steps are exact and give (n, +0).
constexpr uint64_t kExactIntegerLimit = ((uint64_t{1} << 53) - 9) / 10;

double digit_value(unsigned char c) { return static_cast<double>(c - '0'); }

Extended read_integer(const unsigned char *&p) {
  uint64_t n = 0;
  for (; is_digit(*p) && n < kExactIntegerLimit; ++p) n = n * 10 + static_cast<unsigned>(*p - '0');
  Extended acc = static_cast<double>(n);
  for (; is_digit(*p); ++p) acc = times_ten(acc) + Extended(digit_value(*p));
  return acc;
}

// p is just past the point.
void add_fraction(Extended &acc, const unsigned char *&p) {
  int k = 0;
  for (; k < tables::kTermDigits && is_digit(*p); ++k, ++p) acc = acc + from_pair(tables::kTerm[k][*p - '0']);
  if (!is_digit(*p)) return;
  Extended scale = from_pair(tables::kScaleAfterTerms);
  for (; is_digit(*p); ++p) {
    scale = scale * Extended(kTenth);
    acc = acc + Extended(digit_value(*p)) * scale;
  }
}

// Multiplies by base^count, lowest bit first; powers[i] is the base squared i times.
void apply_exponent(Extended &acc, uint32_t count, const DoublePair *powers) {
  for (int i = 0; count != 0; ++i, count >>= 1)
    if ((count & 1) != 0) acc = acc * from_pair(powers[i]);
}

// p is just past the 'e'. False when no sign or digit follows it.
bool read_exponent(Extended &acc, const unsigned char *&p) {
  const DoublePair *powers = tables::kTenPower;
  if (*p == '-' || *p == '+') {
    if (*p == '-') powers = tables::kTenthPower;
    ++p;
  } else if (!is_digit(*p)) {
    return false;
  }
  uint32_t count = 0;  // wraps modulo 2^32 by design
  for (; is_digit(*p); ++p) count = count * 10 + static_cast<uint32_t>(*p - '0');
  apply_exponent(acc, count, powers);
  return true;
}

}  // namespace

Extended parse_chain(const unsigned char *p, const unsigned char *text, const unsigned char **end) {
  Extended acc = read_integer(p);
  if (*p == '.') {
    ++p;
    add_fraction(acc, p);
  }
  if (*p == 'e' || *p == 'E') {
    ++p;
    if (!read_exponent(acc, p)) {
      acc = 0.0;
      p = text;
    }
  }
  *end = p;
  return acc;
}

}  // namespace kel
