// This executable defines its own snprintf_truncated_s and records what the
// formatting functions hand it.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdint>
#include <string>

#include "kelsoft.h"
#include "tarvex.h"

namespace {

struct Call {
  int count = 0;
  char *dest;
  size_t size;
  std::string format;
  double value;
};
Call last;

}  // namespace

extern "C" int snprintf_truncated_s(char *dest, size_t destsz, const char *format, ...) {
  va_list args;
  va_start(args, format);
  last = {last.count + 1, dest, destsz, format, va_arg(args, double)};
  va_end(args);
  return 0;
}

namespace {

const double d = -0.1;
const float f = 0.1f;

TEST(Interpose, FormattingPassesBufferSizeFormatAndValueUnchanged) {
  char buf[1];
  const struct {
    void (*call)(char *, size_t);
    size_t size;
    const char *format;
    double value;
  } table[] = {
      {[](char *b, size_t n) { KEL_Double2Ascii(&d, b, n); }, 0, "%f", -0.1},
      {[](char *b, size_t n) { KEL_Double2String(&d, b, n); }, SIZE_MAX, "%.14f", -0.1},
      {[](char *b, size_t n) { KEL_Float2String(&f, b, n); }, 7, "%f", 0x1.99999ap-4},  // widened exactly
      {[](char *b, size_t n) { KEL_Double2String2(&d, b, n, "%+.3g"); }, 1, "%+.3g", -0.1},
  };
  for (const auto &row : table) {
    last = {};
    row.call(buf, row.size);
    SCOPED_TRACE(row.format);
    EXPECT_EQ(last.count, 1);
    EXPECT_EQ(last.dest, buf);
    EXPECT_EQ(last.size, row.size);
    EXPECT_EQ(last.format, row.format);
    EXPECT_EQ(last.value, row.value);
  }
}

TEST(Interpose, NullAddressesNeverReachTheFormatter) {
  last = {};
  char buf[8];
  KEL_Double2Ascii(nullptr, buf, sizeof buf);
  KEL_Double2String(nullptr, buf, sizeof buf);
  KEL_Float2String(nullptr, buf, sizeof buf);
  KEL_Double2String2(nullptr, buf, sizeof buf, "%f");
  KEL_Double2String2(&d, buf, sizeof buf, nullptr);
  KEL_Double2Ascii(&d, nullptr, sizeof buf);
  KEL_Double2String(&d, nullptr, sizeof buf);
  KEL_Float2String(&f, nullptr, sizeof buf);
  KEL_Double2String2(&d, nullptr, sizeof buf, "%f");
  EXPECT_EQ(last.count, 0);
}

}  // namespace
