// The decimal parser: exact bits and end offsets for the cases that define it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "hook_recorder.h"

namespace {

using kel_test::bits;

struct Case {
  std::string text;
  uint64_t expected;  // the double's bits
  long end;           // offset of the first character not consumed
};

constexpr uint64_t kNan = 0x7FF8000000000000;  // any NaN will do

void run(const std::vector<Case> &cases) {
  kel_test::HookRecorder rec;
  for (const Case &c : cases) {
    char *end = nullptr;
    const double value = KEL_SoftStr2Float(c.text.c_str(), &end);
    EXPECT_TRUE(kel_test::same_value(value, bits<double>(c.expected)))
        << '"' << c.text << "\" gave " << std::hex << bits<uint64_t>(value);
    EXPECT_EQ(end - c.text.c_str(), c.end) << '"' << c.text << '"';
  }
  EXPECT_TRUE(rec.reports().empty());
}

TEST(SoftStr2Float, Grammar) {
  run({
      {"  -12.5e1xyz", 0xC05F400000000000, 9},
      {"abc", 0, 0}, {"  abc", 0, 2}, {"-abc", 0x8000000000000000, 1}, {"+-1", 0, 1},
      {"\t1", 0, 0}, {"\n1", 0, 0}, {"", 0, 0}, {"-", 0x8000000000000000, 1},
      {".", 0, 1}, {"5.", 0x4014000000000000, 2}, {"-.5", 0xBFE0000000000000, 3},
      {"5.e3", 0x40B3880000000000, 4}, {"0x10", 0, 1}, {"inf", 0, 0}, {"nan", 0, 0},
      {"1 2", 0x3FF0000000000000, 1}, {"1..5", 0x3FF0000000000000, 2},
      // Bytes above 127 are never digits, whatever the host's char.
      {"\xb9", 0, 0}, {"1\xb2", 0x3FF0000000000000, 1}, {"12\x80", 0x4028000000000000, 2},
  });
}

TEST(SoftStr2Float, Exponents) {
  run({
      {"1e", 0, 0}, {"1ex", 0, 0}, {"1e 5", 0, 0}, {"-1e", 0x8000000000000000, 0}, {"  -7.5e.", 0x8000000000000000, 0},
      {"1e\xb5", 0, 0},
      {"1e+", 0x3FF0000000000000, 3}, {"1e-x", 0x3FF0000000000000, 3},
      {"e5", 0, 2}, {"1E+05", 0x40F86A0000000000, 5}, {"1e-0", 0x3FF0000000000000, 4},
      {"1e00000000000000000000001", 0x4024000000000000, 25},
      // The count wraps modulo 2^32: 2^32 + 1 is 1.
      {"1e4294967297", 0x4024000000000000, 12},
      {"1e4294967296", 0x3FF0000000000000, 12},
      {"1e400", 0x7FF0000000000000, 5}, {"-1e400", 0xFFF0000000000000, 6},
      {"1e-400", 0, 6}, {"1e308", 0x7FE1CCF385EBC8A0, 5},
      // From 10^512 on, every power of ten is infinite, and zero times it is NaN.
      {"0e511", 0, 5}, {"0e512", kNan, 5}, {"0.000E4294967295", kNan, 16}, {"0e-512", 0, 6},
  });
}

TEST(SoftStr2Float, Rounding) {
  run({
      // Three tenths lie halfway between two doubles: the tie goes to even.
      {"0.3", 0x3FD3333333333334, 3},
      {"0.1", 0x3FB999999999999A, 3}, {"1e-1", 0x3FB999999999999A, 4},
      // Powers of the tenth, not divisions by ten: one ulp above the nearest.
      {"1.0e-5", 0x3EE4F8B588E368F2, 6},
      {"9007199254740993", 0x4340000000000000, 16},
      {"9007199254740995", 0x4340000000000002, 16},
      {"123456789012345678901234567890", 0x45F8EE90FF6C373E, 30},
      {"4.9406564584124654e-324", 1, 23},
      // Near the bottom of the range the tenth's powers have lost their low parts.
      {"2.2250738585072014e-308", 0x001000000000004D, 23},
      // The largest double's text overflows in the double-double's exponent range.
      {"1.7976931348623157e308", 0x7FF0000000000000, 22},
      {"1.7976931348623157e307", 0x7FB9999999999999, 22},
  });
}

TEST(SoftStr2Float, NullTextReturnsZeroAndLeavesEnd) {
  char marker = 0;
  char *end = &marker;
  EXPECT_EQ(bits<uint64_t>(KEL_SoftStr2Float(nullptr, &end)), 0u);
  EXPECT_EQ(end, &marker);
}

TEST(Deva, StoresTheParsedValueWithoutReport) {
  kel_test::HookRecorder rec;
  double d = 7;
  KEL_Deva(&d, "1e400");
  EXPECT_EQ(bits<uint64_t>(d), 0x7FF0000000000000u);
  KEL_Deva(&d, "-.5");
  EXPECT_EQ(d, -0.5);
  KEL_Deva(&d, nullptr);
  KEL_Deva(nullptr, "1");
  EXPECT_EQ(d, -0.5);
  EXPECT_TRUE(rec.reports().empty());
}

TEST(Seva, RoundsToDoubleThenToFloat) {
  kel_test::HookRecorder rec;
  const std::vector<std::pair<const char *, uint32_t>> cases = {
      {"1e39", 0x7F800000}, {"-1e39", 0xFF800000}, {"0.1", 0x3DCCCCCD}, {"3.4028235e38", 0x7F7FFFFF},
      {"1.4e-45", 0x00000001}, {"1e-46", 0},
      // Rounded twice: the double is 1 + 2^-24 exactly, a float tie, which goes to even.
      {"1.0000000596046448", 0x3F800000},
  };
  for (const auto &[text, expected] : cases) {
    float f = 5;
    KEL_Seva(&f, text);
    EXPECT_EQ(bits<uint32_t>(f), expected) << text;
  }
  float f = 5;
  KEL_Seva(&f, nullptr);
  KEL_Seva(nullptr, "1");
  EXPECT_EQ(f, 5.0f);
  EXPECT_TRUE(rec.reports().empty());
}

}  // namespace
