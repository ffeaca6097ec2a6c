// The parser's rounding steps against its chain, text for text: wherever
// round64 or round128 decides, it must give the chain's bits.
//   parse_rounding [COUNT [FIRST]]   check texts FIRST..FIRST+COUNT-1 (a million
//                                    from 0) and print how many the rounding steps decided
// The texts: the hard texts (tools/kelsoft/commands/hard_texts.cpp), random numbers and numbers shaped
// like real data (bench/realistic_texts.h), texts steered next
// to a midpoint of the chain's own sum (with and without exponent), integers
// next to midpoints from 2^53 to 10^308, the ends of the ranges the
// rounding steps take, and the ends of the tables.
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <bit>
#include <string>

#include "chain_tables.h"
#include "hard_texts.h"
#include "realistic_texts.h"
#include "rng.h"
#include "round64.h"
#include "texts.h"

namespace {

using kel::Extended;
using kel_rng::Rng;

void digits(Rng &rng, std::string &s, int count) {
  for (int i = 0; i < count; ++i) s += static_cast<char>('0' + rng.below(10));
}

void exponent(Rng &rng, std::string &s, int count) {
  s += rng.below(2) ? "e" : "E";
  s += count < 0 ? "-" : (rng.below(2) ? "+" : "");
  s += std::to_string(count < 0 ? -count : count);
}

// The chain's value of the digits so far times base^count.
Extended scaled(Extended acc, int count) {
  const kel::DoublePair *powers = count < 0 ? kel::tables::kTenthPower : kel::tables::kTenPower;
  for (unsigned c = static_cast<unsigned>(std::abs(count)), i = 0; c != 0; ++i, c >>= 1)
    if ((c & 1) != 0) acc = acc * kel::from_pair(powers[i]);
  return acc;
}

// Fraction digits chosen one by one to bring the chain's sum toward the
// midpoint above its double, from a random digit on.
std::string near_midpoint(Rng &rng, bool with_exponent) {
  const uint64_t integer = rng.next() >> rng.below(64);
  std::string s = std::to_string(integer) + ".";
  Extended acc = static_cast<double>(integer);
  const int count = with_exponent ? rng.below(700) - 350 : 0;
  const int steer_from = rng.below(20), length = steer_from + 1 + rng.below(kel::tables::kTermDigits - steer_from);
  for (int k = 0; k < length; ++k) {
    int d = rng.below(10);
    if (k >= steer_from) {
      const kel::DoublePair v = kel::to_pair(scaled(acc, count));
      const double gap = (std::nextafter(v.hi, INFINITY) - v.hi) / 2 - v.lo;
      const double want = gap * (kel::to_pair(acc).hi / v.hi) / kel::tables::kTerm[k][1].hi;
      d = want >= 9 ? 9 : (want > 0 ? static_cast<int>(want) : 0);
    }
    s += static_cast<char>('0' + d);
    acc = acc + kel::from_pair(kel::tables::kTerm[k][d]);
  }
  if (rng.below(4) == 0) {  // digits past the terms, where the chain's own scale takes over
    s.append(static_cast<size_t>(kel::tables::kTermDigits - length), '0');
    digits(rng, s, 1 + rng.below(120));
  }
  if (with_exponent) exponent(rng, s, count);
  return s;
}

// Decimal digits of m * 2^shift, doubling 28 bits at a time.
std::string decimal(uint64_t m, int shift) {
  std::string s = std::to_string(m);
  for (; shift > 0; shift -= 28) {
    const int step = shift < 28 ? shift : 28;
    uint64_t carry = 0;
    for (auto c = s.rbegin(); c != s.rend(); ++c) {
      const uint64_t v = (static_cast<uint64_t>(*c - '0') << step) + carry;
      *c = static_cast<char>('0' + v % 10);
      carry = v / 10;
    }
    for (; carry != 0; carry /= 10) s.insert(s.begin(), static_cast<char>('0' + carry % 10));
  }
  return s;
}

// An integer at, next to or near the midpoint between two doubles.
std::string integer_midpoint(Rng &rng) {
  const uint64_t odd = ((uint64_t{1} << 52) | (rng.next() >> 12)) * 2 + 1;  // 54 bits
  std::string s = decimal(odd, rng.below(2) ? rng.below(12) : rng.below(970));
  const int change = rng.below(5);
  const size_t last = s.size() - 1 - static_cast<size_t>(rng.below(static_cast<int>(s.size() < 4 ? 1 : 4)));
  if (change == 1 && s[last] < '9') ++s[last];
  if (change == 2 && s[last] > '0') --s[last];
  if (change == 3) s += rng.below(2) ? ".0000000000000000000001" : ".9";
  return s;
}

// Printed doubles near the ends of what the rounding steps take.
std::string near_limit(Rng &rng) {
  static constexpr double kLimits[] = {0x1p1023, 0x1.fffffffffffffp1023, 0x1p-968, 0x1p-969, 0x1p-1022, 0x1p53,
                                       0x1p64,   1e19,                   1e308,    1e-308,   0x1p-1074};
  double v = kLimits[rng.below(11)];
  for (int i = rng.below(64); i > 0; --i) v = rng.below(2) ? std::nextafter(v, 0.0) : std::nextafter(v, INFINITY);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", 15 + rng.below(12), std::isinf(v) ? 1.5 : v);
  return buf;
}

// Fraction lengths and exponent counts at the ends of the tables.
std::string table_end(Rng &rng) {
  std::string s;
  digits(rng, s, rng.below(4));
  s += '.';
  digits(rng, s, 29 + rng.below(6));
  if (rng.below(2)) s.append(static_cast<size_t>(rng.below(40)), '0');
  static constexpr int kCounts[] = {31, 32, 33, 255, 256, 287, 288, 308, 309, 323, 324, 511, 512, 513};
  if (rng.below(4)) exponent(rng, s, (rng.below(2) ? -1 : 1) * kCounts[rng.below(14)]);
  return s;
}

std::string random_number(Rng &rng) {
  std::string s;
  digits(rng, s, rng.below(4) ? rng.below(20) : rng.below(330));
  if (rng.below(4)) {
    s += '.';
    digits(rng, s, rng.below(8) != 0 ? rng.below(36) : rng.below(150));
  }
  if (rng.below(2)) exponent(rng, s, rng.below(720) - 360);
  return s;
}

// Shaped like the numbers of real data files (bench/realistic_texts.h).
std::string realistic(Rng &rng) {
  std::string s;
  kel_bench::realistic_text(s, [&rng](unsigned n) { return rng.below(n); });
  return s;
}

std::string text(uint64_t index) {
  Rng rng{index * 0x2545F4914F6CDD1Du};
  switch (index % 8) {
    case 0: return kel_texts::hard_text(index / 8);
    case 1: return (index / 8) % 2 != 0 ? random_number(rng) : realistic(rng);
    case 2: return near_midpoint(rng, false);
    case 3: return near_midpoint(rng, true);
    case 4: return integer_midpoint(rng);
    case 5: return near_limit(rng);
    case 6: return table_end(rng);
    default: return "-" + near_midpoint(rng, rng.below(2) != 0);
  }
}

uint64_t bits(double v) { return std::bit_cast<uint64_t>(v); }

}  // namespace

int main(int argc, char **argv) {
  const uint64_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
  const uint64_t first = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 0;
  uint64_t decided = 0, differ = 0, kind_decided[8] = {};
  for (uint64_t i = first; i < first + count; ++i) {
    const std::string t = text(i);
    const auto *start = reinterpret_cast<const unsigned char *>(t.c_str());
    bool negative;
    const kel::Number n = kel::scan_number(kel::skip_blanks_and_sign(start, negative), start);
    double r64 = kel::round64(n);
    if (r64 != r64) r64 = kel::round64_cut(n);
    const double r128 = kel::round128(n);
    if (r64 != r64 && r128 != r128) continue;
    ++decided;
    ++kind_decided[i % 8];
    const double chain = static_cast<double>(kel::chain_value(n));
    if (((r64 == r64 && bits(r64) != bits(chain)) || (r128 == r128 && bits(r128) != bits(chain))) && ++differ <= 20)
      std::printf("text %" PRIu64 " %s: 64 bits %016" PRIx64 ", 128 bits %016" PRIx64 ", chain %016" PRIx64 "\n", i,
                  lines::quoted(t).c_str(), bits(r64), bits(r128), bits(chain));
  }
  std::printf("%" PRIu64 " texts from %" PRIu64 ": rounding decided %" PRIu64 ", chain %" PRIu64 ", %" PRIu64
              " differ\n",
              count, first, decided, count - decided, differ);
  static constexpr const char *kKinds[] = {"hard",       "random, real",     "near midpoint", "near midpoint, exponent",
                                           "integer midpoint", "range ends", "table ends", "negative near midpoint"};
  for (int k = 0; k < 8; ++k) std::printf("  %s: decided %" PRIu64 " of %" PRIu64 "\n", kKinds[k], kind_decided[k], count / 8);
  return differ == 0 ? 0 : 1;
}
