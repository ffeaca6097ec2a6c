// Decimal text to double, accumulated in extended precision and rounded once.
//
// Every value is built by the same extended operations in the same order as
// the target's long double would build it; the fast paths below only skip
// operations whose results are known exactly (integers below 2^53) or were
// computed once by that very chain (parse_tables.h).
#include <cstdint>

#include "double_double.h"
#include "kelsoft.h"
#include "parse_tables.h"

namespace {

using kel::Extended;
using kel::from_pair;

constexpr double kTenth = 0x1.999999999999ap-4;  // the double nearest 0.1

// Below this, n * 10 + 9 < 2^53: the extended steps are exact and give (n, +0).
constexpr uint64_t kExactIntegerLimit = ((uint64_t{1} << 53) - 9) / 10;

bool is_digit(unsigned char c) { return static_cast<unsigned>(c - '0') < 10; }
double digit_value(unsigned char c) { return static_cast<double>(c - '0'); }

Extended read_integer(const unsigned char *&p) {
  uint64_t n = 0;
  for (; is_digit(*p) && n < kExactIntegerLimit; ++p) n = n * 10 + static_cast<unsigned>(*p - '0');
  Extended acc = static_cast<double>(n);
  for (; is_digit(*p); ++p) acc = kel::times_ten(acc) + Extended(digit_value(*p));
  return acc;
}

// p is just past the point.
void add_fraction(Extended &acc, const unsigned char *&p) {
  int k = 0;
  for (; k < kel::tables::kTermDigits && is_digit(*p); ++k, ++p) acc = acc + from_pair(kel::tables::kTerm[k][*p - '0']);
  if (!is_digit(*p)) return;
  Extended scale = from_pair(kel::tables::kScaleAfterTerms);
  for (; is_digit(*p); ++p) {
    scale = scale * Extended(kTenth);
    acc = acc + Extended(digit_value(*p)) * scale;
  }
}

// Multiplies by base^count, lowest bit first; powers[i] is the base squared i times.
void apply_exponent(Extended &acc, uint32_t count, const kel::DoublePair *powers) {
  for (int i = 0; count != 0; ++i, count >>= 1)
    if ((count & 1) != 0) acc = acc * from_pair(powers[i]);
}

// p is just past the 'e'. False when no sign or digit follows it.
bool read_exponent(Extended &acc, const unsigned char *&p) {
  const kel::DoublePair *powers = kel::tables::kTenPower;
  if (*p == '-' || *p == '+') {
    if (*p == '-') powers = kel::tables::kTenthPower;
    ++p;
  } else if (!is_digit(*p)) {
    return false;
  }
  uint32_t count = 0;  // wraps modulo 2^32 by design
  for (; is_digit(*p); ++p) count = count * 10 + static_cast<uint32_t>(*p - '0');
  apply_exponent(acc, count, powers);
  return true;
}

double parse(const unsigned char *text, const unsigned char **end) {
  const unsigned char *p = text;
  while (*p == ' ') ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;

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
  if (negative) acc = -acc;
  return static_cast<double>(acc);
}

}  // namespace

extern "C" double KEL_SoftStr2Float(const char *text, char **end) {
  if (text == nullptr) {
    LUM_syslog("FUNC(%s) return %d , Line(%d).\n", "KEL_SoftStr2Float", 0, 101);
    return 0.0;
  }
  const unsigned char *stop = nullptr;
  const double value = parse(reinterpret_cast<const unsigned char *>(text), &stop);
  if (end != nullptr) *end = const_cast<char *>(reinterpret_cast<const char *>(stop));
  return value;
}

extern "C" void KEL_Deva(double *result, const char *text) {
  if (result == nullptr || text == nullptr) return;
  *result = KEL_SoftStr2Float(text, nullptr);
}

extern "C" void KEL_Seva(float *result, const char *text) {
  if (result == nullptr || text == nullptr) return;
  *result = static_cast<float>(KEL_SoftStr2Float(text, nullptr));
}
