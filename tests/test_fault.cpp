#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "hook_recorder.h"

using kel_test::HookRecorder;

namespace {

TEST(TypeName, NamesEveryCode) {
  const struct {
    int32_t code;
    const char *name;
  } table[] = {
      {0, "FP_NAN"},
      {1, "FP_INFINITE"},
      {2, "FP_ZERO"},
      {3, "FP_SUBNORMAL"},
      {4, "PARA IN ILLEGAL"},  // FP_NORMAL has no name
      {5, "PARA IN ILLEGAL"},
      {-1, "PARA IN ILLEGAL"},
      {INT32_MIN, "PARA IN ILLEGAL"},
      {INT32_MAX, "PARA IN ILLEGAL"},
  };
  for (const auto &row : table) EXPECT_STREQ(KEL_GetTypeChar(row.code), row.name) << row.code;
}

TEST(Report, CarriesNameLineAndOneRelativePath) {
  HookRecorder rec;
  for (int32_t code : {1, 0, -1, 4, 2}) KEL_SoftfpAssert(code);
  EXPECT_EQ(rec.names(), (std::vector<std::string>{"FP_INFINITE", "FP_NAN", "PARA IN ILLEGAL", "PARA IN ILLEGAL",
                                                   "FP_ZERO"}));
  const std::string path = rec.reports().front().file;
  EXPECT_EQ(path, "sysbase/lum/src/softfp/kel_softfp.cpp");
  for (const auto &r : rec.reports()) {
    EXPECT_EQ(r.line, 89);
    EXPECT_EQ(r.file, path);
  }
}

int a_calls, b_calls;
void hook_a(const char *, int32_t, const char *) { ++a_calls; }
void hook_b(const char *, int32_t, const char *) { ++b_calls; }

TEST(Registration, LastHookWinsAndNullRemovesIt) {
  const FloatFaultHook saved = g_pfFloatAssertHook;
  a_calls = b_calls = 0;
  KEL_FloatAssertReg(hook_a);
  KEL_SoftfpAssert(1);
  KEL_FloatAssertReg(hook_b);
  KEL_SoftfpAssert(1);
  KEL_SoftfpAssert(0);
  KEL_FloatAssertReg(nullptr);
  KEL_SoftfpAssert(1);
  EXPECT_EQ(g_pfFloatAssertHook, nullptr);
  g_pfFloatAssertHook = hook_a;  // a direct store registers too
  KEL_SoftfpAssert(-1);
  g_pfFloatAssertHook = saved;
  EXPECT_EQ(a_calls, 2);
  EXPECT_EQ(b_calls, 2);
}

TEST(Registration, StoresTheHookItIsGiven) {
  kel::ScopedHook hook(hook_b);
  EXPECT_EQ(g_pfFloatAssertHook, hook_b);
}

TEST(ClassifyCheck, FloatValues) {
  const struct {
    uint32_t bits;
    int32_t expected;
  } table[] = {
      {0x7F800000, 1},  // +inf
      {0xFF800000, 1},  // -inf
      {0x7FC00000, 1},  // quiet NaN
      {0xFFC00001, 1},  // negative quiet NaN with payload
      {0x7F800001, 1},  // signalling NaN
      {0x00000000, 0},  // +0
      {0x80000000, 0},  // -0
      {0x00000001, 0},  // smallest subnormal
      {0x7F7FFFFF, 0},  // largest finite
      {0x3F800000, 0},  // 1.0
  };
  for (const auto &row : table) {
    const float v = kel_test::bits<float>(row.bits);
    EXPECT_EQ(KEL_FPCLASSIFY_Check(&v), row.expected) << std::hex << row.bits;
  }
  EXPECT_EQ(KEL_FPCLASSIFY_Check(nullptr), 1);
}

TEST(ClassifyCheck, NeverReports) {
  HookRecorder rec;
  const float inf = kel_test::bits<float>(0x7F800000u);
  KEL_FPCLASSIFY_Check(&inf);
  EXPECT_TRUE(rec.reports().empty());
}

}  // namespace
