// This executable defines its own KEL_SoftfpAssert: the checked operations
// must call it instead of the library's.
#include <gtest/gtest.h>

#include <vector>

#include "kelsoft.h"

namespace {
std::vector<int32_t> codes;
}

extern "C" void KEL_SoftfpAssert(int32_t code) { codes.push_back(code); }

TEST(Interpose, OperationsReportThroughTheProcessAssert) {
  codes.clear();
  double r = 0;
  const double one = 1, zero = 0, inf = 1.0 / zero;
  KEL_Ddiv(&r, &one, &zero);
  KEL_Dsub(&r, &inf, &inf);
  float f = 0;
  const float fzero = 0;
  KEL_Sdiv(&f, &fzero, &fzero);
  EXPECT_EQ(codes, (std::vector<int32_t>{-1, 1, 0, -1, 0}));
}
