// This executable defines its own LUM_syslog: the parser's line for a null
// text must reach it, since the library calls it through its exported name.
#include <gtest/gtest.h>

#include <cstdarg>
#include <string>
#include <vector>

#include "kelsoft.h"

namespace {

struct Line {
  std::string format, function;
  int result, line;
};
std::vector<Line> lines;

}  // namespace

extern "C" void LUM_syslog(const char *format, ...) {
  va_list args;
  va_start(args, format);
  const char *function = va_arg(args, const char *);
  const int result = va_arg(args, int);
  const int line = va_arg(args, int);
  va_end(args);
  lines.push_back({format, function, result, line});
}

namespace {

TEST(Interpose, ParserLogsThroughTheProcessLogLine) {
  lines.clear();
  double d = 3;
  KEL_Deva(&d, nullptr);  // checked before the parser: no line
  EXPECT_EQ(KEL_SoftStr2Float(nullptr, nullptr), 0.0);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].format, "FUNC(%s) return %d , Line(%d).\n");
  EXPECT_EQ(lines[0].function, "KEL_SoftStr2Float");
  EXPECT_EQ(lines[0].result, 0);
  EXPECT_EQ(lines[0].line, 101);
}

}  // namespace
