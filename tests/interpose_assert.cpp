// This executable defines its own KEL_SoftfpAssert: the checked operations
// and the elementary functions must call it instead of the library's.
#include <gtest/gtest.h>

#include <vector>

#include "kelsoft.h"

namespace {
std::vector<int32_t> codes;
}

extern "C" void KEL_SoftfpAssert(int32_t code) { codes.push_back(code); }

TEST(Interpose, ReportsGoThroughTheProcessAssert) {
  codes.clear();
  const double zero = 0, one = 1, minus_one = -1, big = 1000, inf = one / zero, nan = zero / zero;
  double r = 0;
  float f = 0;
  const float fzero = 0, fminus = -4;
  KEL_Ddiv(&r, &one, &zero);
  KEL_Dsub(&r, &inf, &inf);
  KEL_Sdiv(&f, &fzero, &fzero);
  KEL_DLog(&r, &zero);
  KEL_DSqrtf(&f, &fminus);
  KEL_Dceil(&nan, &r);
  KEL_DExp(&big, &r);
  KEL_AddPowForKavri(&zero, &minus_one, &r);
  KEL_IntMut(1, 0, &r);
  EXPECT_EQ(codes, (std::vector<int32_t>{-1, 1, 0, -1, 0, -1, 1, -1, 0, 0, 1, 1, -1}));
}
