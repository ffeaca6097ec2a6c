// Decimal text to double, accumulated in extended precision and rounded once.
#include <bit>
#include <cstdint>

#include "kelsoft.h"
#include "parse_narrow.h"

namespace {

// The 128-bit rounding, else the chain: the texts the 64-bit rounding leaves.
// Out of line and handed only the fields these need, in registers, so that
// the common path keeps the scan's results in registers too.
[[gnu::noinline]] double round_wide_or_chain(const unsigned char *integer, long integer_digits, long fraction_digits,
                                             uint32_t count, bool tenth) {
  kel::Number n{};
  n.integer = integer;
  n.fraction = integer + integer_digits + 1;  // used only where there is a point
  n.integer_digits = integer_digits;
  n.fraction_digits = fraction_digits;
  n.count = count;
  n.tenth = tenth;
  n.head = kel::leading_digits(integer,
                               integer_digits < kel::kHeldDigits ? static_cast<int>(integer_digits) : kel::kHeldDigits);
  const double value = kel::round_wide(n);
  return value == value ? value : static_cast<double>(kel::parse_chain(n));
}

// v below 2^53, from its bits: no call into the compiler's runtime on a
// 32-bit target, no constant from memory.
double exact_double(uint64_t v) {
  if (v == 0) return 0.0;
  const int zeros = std::countl_zero(v);
  return std::bit_cast<double>((static_cast<uint64_t>(1085 - zeros) << 52) + (v << (zeros - 11)));
}

double parse(const unsigned char *text, const unsigned char **end) {
  bool negative;
  const kel::Number n = kel::scan_number(kel::skip_blanks_and_sign(text, negative), text);
  *end = n.end;
  double value;
  if (n.significant <= kel::kHeldDigits && n.fraction_digits == 0 && n.count == 0 && (n.digits >> 53) == 0) {
    value = exact_double(n.digits);  // the chain's integer steps are exact here
  } else {
    value = kel::round_narrow(n);
    if (value != value) value = round_wide_or_chain(n.integer, n.integer_digits, n.fraction_digits, n.count, n.tenth);
  }
  if (negative) value = -value;
  return value;
}

}  // namespace

extern "C" double KEL_SoftStr2Float(const char *text, char **end) {
  if (text == nullptr) {
    LUM_syslog("FUNC(%s) return %d , Line(%d).\n", "KEL_SoftStr2Float", 0, 101);
    return 0.0;
  }
  const unsigned char *stop;
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
