// This executable defines the C library's checked vsyslog entry: the library's
// log line must reach it with LOG_INFO, flag 1 and the caller's format as is.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "kelsoft.h"

namespace {

struct Call {
  int priority;
  int flag;
  const char *format;
  std::string text;
};
std::vector<Call> calls;

}  // namespace

extern "C" void __vsyslog_chk(int priority, int flag, const char *format, va_list args) {
  char text[256];
  std::vsnprintf(text, sizeof text, format, args);
  calls.push_back({priority, flag, format, text});
}

namespace {

TEST(Interpose, LogLineUsesTheCheckedEntry) {
  calls.clear();
  static const char kFormat[] = "%s=%d %.1f";
  LUM_syslog(kFormat, "x", 7, 0.25);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].priority, 6);
  EXPECT_EQ(calls[0].flag, 1);
  EXPECT_EQ(calls[0].format, kFormat);
  EXPECT_EQ(calls[0].text, "x=7 0.2");
}

}  // namespace
