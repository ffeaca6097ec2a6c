#include <gtest/gtest.h>

#include <cfloat>
#include <limits>

#include "canary_buffer.h"
#include "hook_recorder.h"

using kel_test::CanaryBuffer;
using kel_test::HookRecorder;

namespace {

// Each function with one signature; the float one gets a value that is
// exactly a float.
using Formatter = void (*)(double, char *, size_t);
const Formatter kAscii = [](double v, char *b, size_t n) { KEL_Double2Ascii(&v, b, n); };
const Formatter kString = [](double v, char *b, size_t n) { KEL_Double2String(&v, b, n); };
const Formatter kFloat = [](double v, char *b, size_t n) {
  const float f = static_cast<float>(v);
  KEL_Float2String(&f, b, n);
};
template <const char *F>
void with_format(double v, char *b, size_t n) { KEL_Double2String2(&v, b, n, F); }
constexpr char kExp2[] = "%.2e";
constexpr char kBracket[] = "[%8.3f]";

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

TEST(Format, WritesTheFormattedText) {
  const struct {
    Formatter fn;
    double value;
    size_t size;
    const char *text;  // null: buffer untouched
  } table[] = {
      {kString, 1.5, 32, "1.50000000000000"},
      {kAscii, 1.5, 32, "1.500000"},
      {kFloat, 0.1f, 32, "0.100000"},
      {kFloat, FLT_MAX, 64, "340282346638528859811704183484516925440.000000"},
      {kFloat, -0.25f, 32, "-0.250000"},
      {kString, 0.1, 32, "0.10000000000000"},
      {kString, -1234.5678, 32, "-1234.56780000000003"},
      {kAscii, -2.5e-7, 32, "-0.000000"},
      {kAscii, 1e20, 32, "100000000000000000000.000000"},
      {with_format<kExp2>, 12345.678, 32, "1.23e+04"},
      {with_format<kBracket>, 3.14159, 32, "[   3.142]"},
      // Infinities and NaNs are text like any other value.
      {kAscii, kInf, 32, "inf"},
      {kString, -kInf, 32, "-inf"},
      {kAscii, kNan, 32, "nan"},
      {kFloat, -kNan, 32, "-nan"},
      // The formatter bounds the write; zero reaches it and writes nothing.
      {kString, 1.5, 5, "1.50"},
      {kAscii, 123456.789, 4, "123"},
      {kFloat, 0.5f, 1, ""},
      {kAscii, 1.5, 0, nullptr},
      {kString, 1.5, 0, nullptr},
      {kFloat, 1.5f, 0, nullptr},
      {with_format<kExp2>, 1.5, 0, nullptr},
  };
  HookRecorder rec;
  for (const auto &row : table) {
    CanaryBuffer buf;
    row.fn(row.value, buf.bytes, row.size);
    EXPECT_TRUE(buf.holds(row.text)) << row.value << " size " << row.size;
  }
  EXPECT_TRUE(rec.reports().empty());
}

}  // namespace
