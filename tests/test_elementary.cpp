#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "hook_recorder.h"

using kel_test::HookRecorder;
using kel_test::kIll;
using kel_test::kInf;
using kel_test::kNan;
using kel_test::same_value;
using Names = std::vector<std::string>;

namespace {

template <typename T>
constexpr T inf = std::numeric_limits<T>::infinity();
template <typename T>
constexpr T nan = std::numeric_limits<T>::quiet_NaN();

// Every unary function as result-first; the argument-first ones are wrapped,
// so a swapped argument order fails the row.
template <typename T>
using Unary = void (*)(T *, const T *);
const Unary<double> kCeil = [](double *r, const double *x) { KEL_Dceil(x, r); };
const Unary<double> kExp = [](double *r, const double *x) { KEL_DExp(x, r); };

template <typename T>
struct Row {
  Unary<T> fn;
  const char *name;
  T x, expected;
  Names reports;
};

template <typename T>
void run(const std::vector<Row<T>> &rows) {
  for (const auto &row : rows) {
    HookRecorder rec;
    T r = T(12345);
    row.fn(&r, &row.x);
    SCOPED_TRACE(testing::Message() << row.name << '(' << row.x << ')');
    EXPECT_TRUE(same_value(r, row.expected)) << r;
    EXPECT_EQ(rec.names(), row.reports);
  }
}

TEST(Elementary, DoubleResultsAndReports) {
  run<double>({
      {KEL_DLog, "log", 0.0, -inf<double>, {kIll, kInf}},
      {KEL_DLog, "log", -0.0, -inf<double>, {kIll, kInf}},
      {KEL_DLog, "log", -1.0, nan<double>, {kIll, kNan}},
      {KEL_DLog, "log", -inf<double>, nan<double>, {kIll, kNan}},
      {KEL_DLog, "log", nan<double>, nan<double>, {kNan}},
      {KEL_DLog, "log", inf<double>, inf<double>, {kInf}},
      {KEL_DLog, "log", 1.0, 0.0, {}},
      {KEL_DLog, "log", 2.0, 0x1.62e42fefa39efp-1, {}},
      {KEL_DLog10, "log10", 1000.0, 3.0, {}},
      {KEL_DLog10, "log10", 0x1p-1074, std::log10(0x1p-1074), {}},
      {KEL_DLog10, "log10", -0.0, -inf<double>, {kIll, kInf}},
      {KEL_DLog10, "log10", -1.0, nan<double>, {kIll, kNan}},
      {KEL_DSqrt, "sqrt", -0.0, -0.0, {}},
      {KEL_DSqrt, "sqrt", -4.0, nan<double>, {kIll, kNan}},
      {KEL_DSqrt, "sqrt", -0x1p-1074, nan<double>, {kIll, kNan}},
      {KEL_DSqrt, "sqrt", 2.0, 0x1.6a09e667f3bcdp+0, {}},
      {KEL_DSqrt, "sqrt", 0x1p-1074, 0x1p-537, {}},
      {KEL_DSqrt, "sqrt", inf<double>, inf<double>, {kInf}},
      {KEL_DSqrt, "sqrt", nan<double>, nan<double>, {kNan}},
      {kCeil, "ceil", -0.5, -0.0, {}},
      {kCeil, "ceil", nan<double>, nan<double>, {kNan}},
      {kCeil, "ceil", -inf<double>, -inf<double>, {kInf}},
      {kCeil, "ceil", 0x1.0000000000001p51, 0x1.0000000000002p51, {}},  // 2^51 + 0.5
      {kCeil, "ceil", DBL_MAX, DBL_MAX, {}},
      {kExp, "exp", 1000.0, inf<double>, {kInf}},
      {kExp, "exp", -1000.0, 0.0, {}},
      {kExp, "exp", -745.0, 0x1p-1074, {}},  // subnormal: no fault
      {kExp, "exp", 1.0, 0x1.5bf0a8b145769p+1, {}},
      {kExp, "exp", -inf<double>, 0.0, {}},
      {kExp, "exp", nan<double>, nan<double>, {kNan}},
  });
}

TEST(Elementary, FloatResultsAndReports) {
  run<float>({
      {KEL_SLog, "logf", 1.0f, 0.0f, {}},
      {KEL_SLog, "logf", 2.0f, 0x1.62e43p-1f, {}},
      {KEL_SLog, "logf", 0.0f, -inf<float>, {kIll, kInf}},
      {KEL_SLog, "logf", -0.0f, -inf<float>, {kIll, kInf}},
      {KEL_SLog, "logf", -1.0f, nan<float>, {kIll, kNan}},
      {KEL_SLog, "logf", nan<float>, nan<float>, {kNan}},
      {KEL_SLog, "logf", inf<float>, inf<float>, {kInf}},
      {KEL_SLog10, "log10f", 100.0f, 2.0f, {}},
      {KEL_SLog10, "log10f", 0.0f, -inf<float>, {kIll, kInf}},
      {KEL_SLog10, "log10f", -2.0f, nan<float>, {kIll, kNan}},
      {KEL_DSqrtf, "sqrtf", 2.0f, 1.4142135f, {}},
      {KEL_DSqrtf, "sqrtf", 0x1p-148f, 0x1p-74f, {}},
      {KEL_DSqrtf, "sqrtf", FLT_MAX, 0x1.fffffep+63f, {}},
      {KEL_DSqrtf, "sqrtf", -0.0f, -0.0f, {}},
      {KEL_DSqrtf, "sqrtf", -4.0f, nan<float>, {kIll, kNan}},
      {KEL_DSqrtf, "sqrtf", inf<float>, inf<float>, {kInf}},
  });
}

TEST(Elementary, PowerFollowsPowsSpecialCases) {
  const struct {
    double base, exponent, expected;
    Names reports;
  } table[] = {
      {0.0, -1.0, inf<double>, {kInf}},
      {-0.0, -1.0, -inf<double>, {kInf}},
      {-8.0, 0.5, nan<double>, {kNan}},
      {2.0, 10.0, 1024.0, {}},
      {2.0, 0.5, 0x1.6a09e667f3bcdp+0, {}},
      {2.0, -1074.0, 0x1p-1074, {}},
      {10.0, 400.0, inf<double>, {kInf}},
      {nan<double>, 0.0, 1.0, {}},
      {1.0, nan<double>, 1.0, {}},
      {nan<double>, 1.0, nan<double>, {kNan}},
  };
  for (const auto &row : table) {
    HookRecorder rec;
    double r = 12345;
    KEL_AddPowForKavri(&row.base, &row.exponent, &r);
    SCOPED_TRACE(testing::Message() << "pow(" << row.base << ", " << row.exponent << ')');
    EXPECT_TRUE(same_value(r, row.expected)) << r;
    EXPECT_EQ(rec.names(), row.reports);
  }
}

TEST(Elementary, IntMutDividesUnsignedAndStoresNothingForZero) {
  constexpr double kUntouched = -12345.0;
  const struct {
    uint32_t numerator, denominator;
    double expected;
    Names reports;
  } table[] = {
      {7, 2, 3.5, {}},
      {0, 5, 0.0, {}},
      {4294967295u, 1, 4294967295.0, {}},
      {4294967295u, 4294967295u, 1.0, {}},
      {1, 3, 1.0 / 3.0, {}},
      {5, 0, kUntouched, {kIll}},
      {0, 0, kUntouched, {kIll}},
  };
  for (const auto &row : table) {
    HookRecorder rec;
    double r = kUntouched;
    KEL_IntMut(row.numerator, row.denominator, &r);
    SCOPED_TRACE(testing::Message() << row.numerator << " / " << row.denominator);
    EXPECT_TRUE(same_value(r, row.expected)) << r;
    EXPECT_EQ(rec.names(), row.reports);
  }
}

template <typename T>
void expect_null_safety(const std::vector<Unary<T>> &fns) {
  const T negative = T(-4);
  for (auto fn : fns) {
    T r = T(7);
    fn(nullptr, &negative);  // the null result wins over the bad argument
    fn(&r, nullptr);
    EXPECT_EQ(r, T(7));
  }
}

TEST(Elementary, NullAddressesDoNothing) {
  HookRecorder rec;
  expect_null_safety<double>({KEL_DLog, KEL_DLog10, KEL_DSqrt, kCeil, kExp});
  expect_null_safety<float>({KEL_SLog, KEL_SLog10, KEL_DSqrtf});
  KEL_IntMut(5, 0, nullptr);
  EXPECT_TRUE(rec.reports().empty());
}

// A hook that repairs the argument it was told about: the function must
// compute with the repaired value.
double *d_argument;
float *f_argument;
void repair(const char *, int32_t, const char *name) {
  if (std::strcmp(name, kIll) != 0) return;
  *d_argument = 4.0;
  *f_argument = 100.0f;
}

TEST(Elementary, ArgumentIsReadAgainAfterTheDomainReport) {
  const FloatFaultHook saved = g_pfFloatAssertHook;
  double dx = -4.0, dr = 0;
  float fx = 0.0f, fr = 0;
  d_argument = &dx;
  f_argument = &fx;
  KEL_FloatAssertReg(repair);
  KEL_DSqrt(&dr, &dx);
  KEL_SLog10(&fr, &fx);
  KEL_FloatAssertReg(saved);
  EXPECT_EQ(dr, 2.0);
  EXPECT_EQ(fr, 2.0f);
}

}  // namespace
