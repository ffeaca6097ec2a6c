// This executable defines its own KEL_GetTypeChar: the library's reports must
// reach it, because the library calls it through its exported name.
#include <gtest/gtest.h>

#include "hook_recorder.h"

extern "C" const char *KEL_GetTypeChar(int32_t code) { return code == 1 ? "OWN INFINITE" : "OWN OTHER"; }

TEST(Interpose, ReportsUseTheProcessTypeName) {
  kel_test::HookRecorder rec;
  double r = 0;
  const double one = 1, zero = 0;
  KEL_Ddiv(&r, &one, &zero);
  float f = 0;
  const float big = 3e38f;
  KEL_Sadd(&f, &big, &big);
  EXPECT_EQ(rec.names(), (std::vector<std::string>{"OWN OTHER", "OWN INFINITE", "OWN INFINITE"}));
}
