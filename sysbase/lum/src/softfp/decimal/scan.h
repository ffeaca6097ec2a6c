// The parser's first step: the text read once into a Number.
//
// Decides where the number ends and whether it is one at all (a malformed
// exponent fails the parse); hands on where the significant digits stand,
// how many there are before and after the point, the exponent's magnitude
// and sign, and the value of up to 19 digits, which round64.h needs to
// round the common texts without reading them again. The later steps,
// round64.h, round128.cpp and chain.cpp, read only the Number.
#ifndef KEL_DECIMAL_SCAN_H
#define KEL_DECIMAL_SCAN_H

#include <cstdint>

#include "double_double.h"

namespace kel {

// c - '0', above 9 for what is not a digit.
inline unsigned digit_value(unsigned char c) { return static_cast<unsigned>(c) - '0'; }
inline bool is_digit_value(unsigned v) { return v < 10; }
inline bool is_digit(unsigned char c) { return is_digit_value(digit_value(c)); }

// The most significant digits an unsigned 64-bit integer holds.
inline constexpr int kHeldDigits = 19;

// What the pass over the text found. A malformed exponent leaves no digits
// and ends where the whole text began.
struct Number {
  const unsigned char *integer;   // the first significant integer digit
  const unsigned char *fraction;  // the first digit after the point
  const unsigned char *end;
  // Counts as long as the text may be: an int would wrap on a 64-bit machine.
  long integer_digits;  // significant ones
  long fraction_digits;
  long significant;             // digits, integer and fraction, from the first not zero
  uint32_t exponent_magnitude;  // the exponent's digits, modulo 2^32 as the chain reads them
  bool exponent_negative;       // the chain multiplies by powers of a tenth, not of ten
  // Where there are at most kHeldDigits of them: the integer digits' value,
  // all significant digits' value, and the sum of the latter after each
  // fraction digit plus head * 10^fraction_digits (for their weights,
  // docs/parser.md). Modulo 2^64 elsewhere.
  uint64_t head, digits, prefixes;
};

// The value of count digits from p: the steps after the scan read known
// digits with it (round128.cpp's long integers aside).
inline uint64_t leading_digits(const unsigned char *p, int count) {
  uint64_t d = 0;
  for (; count != 0; --count, ++p) d = d * 10 + digit_value(*p);
  return d;
}

// The front of a number: blanks (spaces only), then one sign.
inline const unsigned char *skip_blanks_and_sign(const unsigned char *p, bool &negative) {
  while (*p == ' ') ++p;
  negative = *p == '-';
  return *p == '-' || *p == '+' ? p + 1 : p;
}

[[gnu::always_inline]] inline Number scan_number(const unsigned char *p, const unsigned char *text) {
  Number n;
  while (*p == '0') ++p;
  n.integer = p;
  uint64_t d = 0, h = 0;
  unsigned v;  // the last character read, as a digit's value: the tests after the loops reuse it
  for (; is_digit_value(v = digit_value(*p)); ++p) d = d * 10 + v;
  n.integer_digits = p - n.integer;
  n.significant = n.integer_digits;
  n.head = d;
  const bool point = v == digit_value('.');
  p += point ? 1 : 0;
  n.fraction = p;
  h = d;  // so that h ends as the sum of prefixes plus head * 10^fraction_digits
  if (point) {
    if (n.integer_digits == 0)
      while (*p == '0') ++p;
    const unsigned char *const first = p;
    for (; is_digit_value(v = digit_value(*p)); ++p) {
      d = d * 10 + v;
      h = h * 10 + d;
    }
    n.significant += p - first;
  }
  n.fraction_digits = p - n.fraction;
  n.digits = d;
  n.prefixes = h;
  n.exponent_magnitude = 0;
  n.exponent_negative = false;
  if ((v | 0x20) == digit_value('e')) {  // 'e' or 'E'
    const unsigned char *q = p + 1;
    n.exponent_negative = *q == '-';
    if (*q == '-' || *q == '+') {
      ++q;
    } else if (!is_digit(*q)) {  // no exponent after all: the parse fails
      n = Number{text, text, text, 0, 0, 0, 0, false, 0, 0, 0};
      return n;
    }
    uint32_t count = 0;  // wraps modulo 2^32 by design
    for (; is_digit(*q); ++q) count = count * 10 + digit_value(*q);
    n.exponent_magnitude = count;
    p = q;
  }
  n.end = p;
  return n;
}

// The target's operations, digit by digit (chain.cpp): every text.
Extended chain_value(const Number &n);

// The chain's result from the exact value rounded once in 128 bits
// (round128.cpp): where round64.h is too close to a midpoint to decide. NaN
// where it cannot decide either.
double round128(const Number &n);

}  // namespace kel

#endif
