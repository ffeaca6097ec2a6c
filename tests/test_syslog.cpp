// The log line through the C library: openlog(LOG_PERROR) copies every message
// that passes the mask to standard error, which the test captures.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <syslog.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "kelsoft.h"

namespace {

// Runs body with standard error sent to a fresh temporary file; returns its text.
template <typename Body>
std::string captured_stderr(Body body) {
  char path[] = "/tmp/kel_syslog_XXXXXX";
  const int fd = mkstemp(path);
  EXPECT_GE(fd, 0);
  unlink(path);
  std::fflush(stderr);
  const int saved = dup(2);
  dup2(fd, 2);
  body();
  dup2(saved, 2);
  close(saved);
  std::string text;
  char buf[512];
  lseek(fd, 0, SEEK_SET);
  for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) text.append(buf, static_cast<size_t>(n));
  close(fd);
  return text;
}

class Syslog : public testing::Test {
 protected:
  void SetUp() override { openlog("kel_test", LOG_PERROR, LOG_LOCAL3); }
  void TearDown() override {
    setlogmask(LOG_UPTO(LOG_DEBUG));
    closelog();
  }
};

TEST_F(Syslog, WritesTheFormattedLine) {
  const std::string out = captured_stderr([] {
    LUM_syslog("plain %% text");
    LUM_syslog("int %d, string %s, double %.3f, pointer %p", -42, "abc", 2.5, static_cast<void *>(nullptr));
  });
  EXPECT_NE(out.find("kel_test: plain % text\n"), std::string::npos) << out;
  EXPECT_NE(out.find("kel_test: int -42, string abc, double 2.500, pointer (nil)\n"), std::string::npos) << out;
}

TEST_F(Syslog, ParserReportsANullText) {
  const std::string out = captured_stderr([] { KEL_SoftStr2Float(nullptr, nullptr); });
  EXPECT_EQ(out, "kel_test: FUNC(KEL_SoftStr2Float) return 0 , Line(101).\n");
}

TEST_F(Syslog, MaskWithoutInfoSendsNothing) {
  setlogmask(LOG_UPTO(LOG_NOTICE));
  EXPECT_EQ(captured_stderr([] { LUM_syslog("hidden"); }), "");
  setlogmask(LOG_MASK(LOG_INFO));
  EXPECT_EQ(captured_stderr([] { LUM_syslog("shown"); }), "kel_test: shown\n");
}

}  // namespace
