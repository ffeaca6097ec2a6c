// libtarvex's bounded formatter on its own: exactly which bytes it writes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "canary_buffer.h"
#include "tarvex.h"

using kel_test::CanaryBuffer;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(TarvexFormat, WritesTruncatesAndTerminates) {
  const struct {
    size_t size;
    const char *format;
    double value;
    int returned;
    const char *text;  // null: nothing written
  } table[] = {
      {64, "%f", 1.5, 8, "1.500000"},
      {9, "%f", 1.5, 8, "1.500000"},  // exactly fits with its terminator
      {8, "%f", 1.5, 7, "1.50000"},   // one short: cut, still terminated
      {2, "%f", 1.5, 1, "1"},
      {1, "%f", 1.5, 0, ""},
      {0, "%f", 1.5, -1, nullptr},
      {64, "%e", -1.0, 13, "-1.000000e+00"},
      {64, "x%5.1fy", 2.25, 7, "x  2.2y"},  // ties to even
      {64, "%%%.0f", 2.5, 2, "%2"},
      {64, "%f", -kInf, 4, "-inf"},
      {4, "%f", -kInf, 3, "-in"},
      {64, "%f", std::numeric_limits<double>::quiet_NaN(), 3, "nan"},
      {64, "%f", -std::numeric_limits<double>::quiet_NaN(), 4, "-nan"},
      {64, "no conversion", 0.0, 13, "no conversion"},
      {20, "%.30f", 0.1, 19, "0.10000000000000000"},
  };
  for (const auto &row : table) {
    CanaryBuffer buf;
    SCOPED_TRACE(testing::Message() << row.format << " size " << row.size);
    EXPECT_EQ(snprintf_truncated_s(buf.bytes, row.size, row.format, row.value), row.returned);
    EXPECT_TRUE(buf.holds(row.text));
  }
}

TEST(TarvexFormat, NullArgumentsWriteNothing) {
  CanaryBuffer buf;
  EXPECT_EQ(snprintf_truncated_s(nullptr, 16, "%f", 1.0), -1);
  EXPECT_EQ(snprintf_truncated_s(buf.bytes, 16, nullptr), -1);
  EXPECT_EQ(snprintf_truncated_s(nullptr, 0, nullptr), -1);
  EXPECT_TRUE(buf.holds(nullptr));
}

TEST(TarvexFormat, FailedConversionEmptiesTheBuffer) {
  // A wide character the C locale cannot write makes the C library's
  // formatter fail after it wrote "ab".
  CanaryBuffer buf;
  EXPECT_EQ(snprintf_truncated_s(buf.bytes, 8, "ab%lsc", L"\x100"), -1);
  EXPECT_EQ(buf.bytes[0], '\0');
  for (size_t i = 8; i < sizeof buf.bytes; ++i) EXPECT_EQ(static_cast<unsigned char>(buf.bytes[i]), buf.kCanary) << i;
}

}  // namespace
