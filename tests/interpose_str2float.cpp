// This executable defines its own KEL_SoftStr2Float: KEL_Deva and KEL_Seva must
// call it, with the text and a null end, and store what it returns.
#include <gtest/gtest.h>

#include <vector>

#include "kelsoft.h"

namespace {

struct Call {
  const char *text;
  char **end;
};
std::vector<Call> calls;

}  // namespace

extern "C" double KEL_SoftStr2Float(const char *text, char **end) {
  calls.push_back({text, end});
  return 1.0 + 0x1p-40;  // not a float: Seva must narrow it
}

namespace {

TEST(Interpose, DevaAndSevaParseThroughTheExportedParser) {
  calls.clear();
  const char *text = "2.5";
  double d = 0;
  float f = 0;
  KEL_Deva(&d, text);
  KEL_Seva(&f, text);
  EXPECT_EQ(d, 1.0 + 0x1p-40);
  EXPECT_EQ(f, 1.0f);
  ASSERT_EQ(calls.size(), 2u);
  for (const Call &c : calls) {
    EXPECT_EQ(c.text, text);
    EXPECT_EQ(c.end, nullptr);
  }
}

}  // namespace
