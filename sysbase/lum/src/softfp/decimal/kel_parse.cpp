// The exported parser: decimal text to the double the target's own chain of
// extended operations gives (chain.cpp), bit for bit on every host.
//
// The steps, cheapest first, each deciding what it can and handing the rest
// on: scan.h reads the text into a Number; an integer below 2^53 is exact;
// round64.h rounds the exact value once in 64 bits unless it lies too close
// to a midpoint (texts of 20 to 27 significant digits cut after the 19th);
// round128.cpp tries again in 128 bits; chain.cpp runs the chain itself for
// what is left (docs/parser.md gives the bounds).
#include <bit>
#include <cstdint>

#include "kelsoft.h"
#include "round64.h"

namespace {

// The cut texts' 64-bit rounding, the 128-bit rounding, else the chain: the
// texts the 64-bit rounding leaves.
// Out of line and handed only the fields these need, in registers, so that
// the common path keeps the scan's results in registers too.
[[gnu::noinline]] double round128_or_chain(const unsigned char *integer, long integer_digits, long fraction_digits,
                                           uint32_t exponent_magnitude, bool exponent_negative, uint64_t digits) {
  kel::Number n{};
  n.digits = digits;
  n.integer = integer;
  n.fraction = integer + integer_digits + 1;  // used only where there is a point
  n.integer_digits = integer_digits;
  n.fraction_digits = fraction_digits;
  n.exponent_magnitude = exponent_magnitude;
  n.exponent_negative = exponent_negative;
  n.head = kel::leading_digits(integer, integer_digits < kel::kHeldDigits ? integer_digits : kel::kHeldDigits);
  double value = kel::round64_cut(n);
  if (value != value) value = kel::round128(n);
  return value == value ? value : static_cast<double>(kel::chain_value(n));
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
  if (n.significant <= kel::kHeldDigits && n.fraction_digits == 0 && n.exponent_magnitude == 0 &&
      (n.digits >> 53) == 0) {
    value = exact_double(n.digits);  // the chain's integer steps are exact here
  } else {
    value = kel::round64(n);
    if (value != value)
      value = round128_or_chain(n.integer, n.integer_digits, n.fraction_digits, n.exponent_magnitude,
                                n.exponent_negative, n.digits);
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
