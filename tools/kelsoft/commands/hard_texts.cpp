#include "hard_texts.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "rng.h"

namespace kel_texts {
namespace {

// Texts every run must include, whatever the generator does with the rest.
constexpr std::array kFixed = {
    "0",
    "-0",
    "+0",
    "0.3",
    "0.1",
    "1e-1",
    "1.0e-5",
    "  -12.5e1xyz",
    "abc",
    "  abc",
    "-abc",
    "+-1",
    "\t1",
    ".",
    "5.",
    "-.5",
    "5.e3",
    "1e",
    "1ex",
    "1e 5",
    "-1e",
    "1e+",
    "1e-x",
    "e5",
    "1E+05",
    "0x10",
    "inf",
    "nan",
    "1e4294967297",
    "1e400",
    "9007199254740993",
    "9007199254740992",
    "9007199254740995",
    "1e39",
    "0e512",
    "0e511",
    "-0e512",
    "0e4294967295",
    "1.7976931348623157e308",
    "1.7976931348623157e307",
    "179769313486231570000000000000000000000000000000000000000000000000000000000000000000000000000000000"
    "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
    "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
    "00000000000",
    "2.2250738585072014e-308",
    "4.9406564584124654e-324",
    "2.4703282292062327e-324",
    "1e-400",
    "3.4028235e38",
    "3.4028236e38",
    "1.17549435e-38",
    "1.4e-45",
    "0.000000000000000000000000000001",
    "123456789012345678901234567890",
    "1e0",
    "1e-0",
    "1e00000000000000000000001",
    "",
    " ",
    "-",
    "+",
    "\xb9",
    "1\xb2",
    "\xff"
    "1",
    "12\x80",
    "1.5\xe9"
    "3",
    "1e\xb5",
    "-\t1",
    "1 2",
    "0.5e-",
    "7E-",
};

// Seeds are mixed first: neighbouring seeds must not give shifted streams.
class Rng : public kel_rng::Rng {
 public:
  explicit Rng(uint64_t seed) : kel_rng::Rng(kel_rng::mix(seed + 0x2545F4914F6CDD1Du)) {}
  unsigned below(unsigned n) { return kel_rng::Rng::below(n); }
  bool chance(unsigned percent) { return below(100) < percent; }
};

// Random digits, often in runs of 0 or 9 that sit next to rounding boundaries.
void digits(Rng &rng, std::string &out, unsigned count) {
  const unsigned style = rng.below(6);
  for (unsigned i = 0; i < count; ++i) {
    char c = static_cast<char>('0' + rng.below(10));
    if (style == 1 && i > 0 && !rng.chance(3)) c = '0';
    if (style == 2 && i > 0 && !rng.chance(3)) c = '9';
    if (style == 3 && i > 0) c = i + 1 == count ? '1' : '0';
    out += c;
  }
}

unsigned digit_count(Rng &rng) {
  switch (rng.below(4)) {
    case 0:
      return rng.below(8);
    case 1:
      return 8 + rng.below(12);
    case 2:
      return 15 + rng.below(30);
    default:
      return rng.below(400);
  }
}

std::string decimal(uint64_t v) { return std::to_string(v); }

std::string exponent_count(Rng &rng) {
  switch (rng.below(12)) {
    case 0:
    case 1:
    case 2:
      return decimal(rng.below(30));
    case 3:
    case 4:
      return decimal(280 + rng.below(60));
    case 5:
      return decimal(300 + rng.below(30));
    case 6:
      return decimal(500 + rng.below(700));
    case 7:
      return decimal(static_cast<uint32_t>(rng.next()));
    // Each draw its own statement: operands are evaluated in no fixed order.
    case 8: {
      const uint64_t wraps = 1 + rng.below(9);
      return decimal(wraps * (uint64_t{1} << 32) + rng.below(400));
    }
    case 9: {
      const std::string zeros(1 + rng.below(6), '0');
      return zeros + decimal(rng.below(400));
    }
    case 10: {
      std::string s;
      digits(rng, s, 11 + rng.below(30));
      return s;
    }
    default:
      return decimal(rng.below(1100));
  }
}

void exponent(Rng &rng, std::string &out) {
  out += rng.chance(50) ? 'e' : 'E';
  const unsigned form = rng.below(20);
  if (form == 0) {  // malformed: neither sign nor digit follows
    static constexpr char kBad[] = {'\0', 'x', ' ', '.', 'e', '\t', '\xb3'};
    if (const char c = kBad[rng.below(sizeof kBad)]; c != '\0') out += c;
    return;
  }
  if (form < 8 || form == 11) out += '-';
  if (form >= 8 && form < 11) out += '+';
  if (form != 11) out += exponent_count(rng);  // else a sign without digits
}

// A double's shortest-ish text, from random bits anywhere in the range.
std::string printed_double(Rng &rng) {
  uint64_t bits = rng.next() & ~(uint64_t{1} << 63);
  if (rng.chance(30))
    bits = (bits & 0x000FFFFFFFFFFFFFu) | (uint64_t{rng.below(2) != 0 ? 0x7FEu - rng.below(40) : rng.below(40)} << 52);
  double v;
  std::memcpy(&v, &bits, sizeof v);
  if (v != v || v - v != 0) v = 1.5;
  static constexpr const char *kFormats[] = {"%.17g", "%.16g", "%.15g", "%.20e", "%.9g", "%.25g"};
  char buf[64];
  std::snprintf(buf, sizeof buf, kFormats[rng.below(6)], v);
  return buf;
}

void prefix(Rng &rng, std::string &out) {
  if (rng.chance(15)) out.append(1 + rng.below(3), ' ');
  if (rng.chance(1)) out += rng.chance(50) ? '\t' : '\n';
  static constexpr const char *kBadSigns[] = {"+-", "--", "- "};
  if (rng.chance(8))
    out += kBadSigns[rng.below(3)];
  else if (rng.chance(50))
    out += rng.chance(80) ? '-' : '+';
}

void suffix(Rng &rng, std::string &out) {
  static constexpr const char *kTails[] = {"", "", "", "x", " 5", "e", ".", "\xb9", "\xff", "9\x80", "..5", "-"};
  out += kTails[rng.below(12)];
}

std::string generated(Rng &rng) {
  std::string out;
  prefix(rng, out);
  switch (rng.below(8)) {
    case 0:
      out += printed_double(rng);
      break;
    case 1:
      digits(rng, out, 1 + rng.below(17));
      break;
    case 2:  // zero mantissa, large exponent
      out.append(1 + rng.below(3), '0');
      if (rng.chance(50)) out.append(1, '.').append(rng.below(5), '0');
      exponent(rng, out);
      break;
    default:
      digits(rng, out, digit_count(rng));
      if (rng.chance(70)) {
        out += '.';
        digits(rng, out, digit_count(rng));
      }
      if (rng.chance(60)) exponent(rng, out);
      break;
  }
  suffix(rng, out);
  return out;
}

}  // namespace

std::string hard_text(uint64_t index) {
  if (index < kFixed.size()) return kFixed[index];
  Rng rng(index);
  return generated(rng);
}

}  // namespace kel_texts
