// The software double-double against the target's own long double.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <limits>
#include <vector>

#include "double_double.h"

namespace {

using kel::DoublePair;
using kel::Extended;

// Same bits, or both NaN: the NaN a processor makes differs between x86 and
// PowerPC, so computed NaNs are compared by kind only.
bool same_value(double a, double b) { return (a != a && b != b) || std::memcmp(&a, &b, sizeof a) == 0; }

bool same_pair(DoublePair a, DoublePair b) {
  return same_value(a.hi, b.hi) && same_value(a.lo, b.lo);
}

// Operands a parser meets, and the ones at the edges of the format.
std::vector<DoublePair> operands() {
  const double inf = std::numeric_limits<double>::infinity();
  const double max = std::numeric_limits<double>::max();
  std::vector<DoublePair> out = {
      {0.0, 0.0}, {-0.0, 0.0}, {1.0, 0.0}, {10.0, 0.0}, {0x1.999999999999ap-4, 0.0}, {inf, 0.0}, {-inf, 0.0},
      {std::nan(""), 0.0}, {max, 0.0}, {max, 0x1p970}, {max, -0x1p970}, {-max, 0x1p969}, {0x1p-1074, 0.0},
      {0x1p-1022, 0.0}, {9007199254740992.0, 1.0}, {0x1.3b8b5b5056e17p+106, -0x1.3107fp+52},
      {0x1.54fdd7f73bf3cp+850, -0x1.7222446fe469p+795}, {0x1.ccccccccccccdp-1, 0x1p-55}, {1e308, 1e291},
  };
  uint64_t state = 12345;
  auto next = [&state] {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return state;
  };
  for (int i = 0; i < 3000; ++i) {
    double hi;
    uint64_t bits = next();
    std::memcpy(&hi, &bits, sizeof hi);
    if (i % 3 != 0) {
      const double mantissa = static_cast<double>(next() >> 11);
      hi = std::ldexp(mantissa, static_cast<int>(next() % 2100) - 1100);
    }
    if (hi != hi || std::isinf(hi)) hi = 1.0;
    // A low part of up to half an ulp of hi, normalised by the target's addition.
    const double ulp = std::nextafter(std::fabs(hi), std::numeric_limits<double>::infinity()) - std::fabs(hi);
    const double lo = i % 7 == 0 ? 0.0 : ulp * (static_cast<double>(next() >> 11) * 0x1p-53 - 0.5);
    out.push_back(kel::to_pair(Extended(hi) + Extended(lo)));
  }
  return out;
}

std::string describe(DoublePair x, DoublePair y) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "(%a, %a) and (%a, %a)", x.hi, x.lo, y.hi, y.lo);
  return buf;
}

TEST(DoubleDouble, TimesTenIsMultiplicationByTen) {
  for (const DoublePair v : operands()) {
    const kel::DoubleDouble x(v);
    ASSERT_TRUE(same_pair(x.times_ten().pair(), (x * kel::DoubleDouble(10)).pair())) << describe(v, {10, 0});
  }
}

#if __LDBL_MANT_DIG__ == 106

TEST(DoubleDouble, SameBitsAsTheTargetLongDouble) {
  const std::vector<DoublePair> values = operands();
  int checked = 0;
  for (size_t i = 0; i < values.size(); ++i) {
    for (size_t j = 0; j < values.size(); j += 1 + (i + j) % 29) {
      volatile long double x = kel::from_pair(values[i]), y = kel::from_pair(values[j]);
      const kel::DoubleDouble sx(values[i]), sy(values[j]);
      ASSERT_TRUE(same_pair(kel::to_pair(x + y), (sx + sy).pair())) << describe(values[i], values[j]);
      ASSERT_TRUE(same_pair(kel::to_pair(x * y), (sx * sy).pair())) << describe(values[i], values[j]);
      if (j == 0) {
        const volatile long double ten = 10;
        ASSERT_TRUE(same_pair(kel::to_pair(x * ten), sx.times_ten().pair())) << describe(values[i], {10, 0});
      }
      ++checked;
    }
  }
  EXPECT_GT(checked, 300000);
}

#endif

}  // namespace
