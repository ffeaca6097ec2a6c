#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
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
struct Ops {
  void (*add)(T *, const T *, const T *);
  void (*sub)(T *, const T *, const T *);
  void (*mut)(T *, const T *, const T *);
  void (*div)(T *, const T *, const T *);
  int32_t (*cmp)(const T *, const T *);
};
const Ops<double> kDouble{KEL_Dadd, KEL_Dsub, KEL_Dmut, KEL_Ddiv, KEL_Dcmp};
const Ops<float> kFloat{KEL_Sadd, KEL_Ssub, KEL_Smut, KEL_Sdiv, KEL_Scmp};

template <typename T>
struct Case {
  char op;
  T left, right, expected;
  Names reports;
};

template <typename T>
void run_cases(const Ops<T> &ops, const std::vector<Case<T>> &cases) {
  for (const auto &c : cases) {
    HookRecorder rec;
    T r = T(12345);
    auto fn = c.op == '+' ? ops.add : c.op == '-' ? ops.sub : c.op == '*' ? ops.mut : ops.div;
    fn(&r, &c.left, &c.right);
    SCOPED_TRACE(testing::Message() << c.left << ' ' << c.op << ' ' << c.right);
    EXPECT_TRUE(same_value(r, c.expected)) << r;
    EXPECT_EQ(rec.names(), c.reports);
  }
}

constexpr double dinf = std::numeric_limits<double>::infinity();
constexpr double dnan = std::numeric_limits<double>::quiet_NaN();
constexpr float finf = std::numeric_limits<float>::infinity();
constexpr float fnan = std::numeric_limits<float>::quiet_NaN();

TEST(DoubleArith, ResultsAndReports) {
  run_cases<double>(kDouble, {
      {'+', 1.5, 2.25, 3.75, {}},
      {'+', DBL_MAX, DBL_MAX, dinf, {kInf}},
      {'+', dinf, 1.0, dinf, {kInf}},
      {'+', dnan, 1.0, dnan, {kNan}},
      {'-', dinf, dinf, dnan, {kNan}},
      {'-', 1.0, 1.0, 0.0, {}},
      {'-', -DBL_MAX, DBL_MAX, -dinf, {kInf}},
      {'*', 1e-200, 1e-200, 0.0, {}},
      {'*', 0x1p-537, 0x1p-537, 0x1p-1074, {}},  // smallest subnormal, no fault
      {'*', 0.0, dinf, dnan, {kNan}},
      {'*', -2.0, 3.0, -6.0, {}},
      {'/', 1.0, 0.0, dinf, {kIll, kInf}},
      {'/', 1.0, -0.0, -dinf, {kIll, kInf}},
      {'/', -1.0, 0.0, -dinf, {kIll, kInf}},
      {'/', 0.0, 0.0, dnan, {kIll, kNan}},
      {'/', 1.0, dnan, dnan, {kIll, kNan}},
      {'/', dnan, 2.0, dnan, {kNan}},
      {'/', 8.0, -4.0, -2.0, {}},
      {'/', 1.0, dinf, 0.0, {}},
      {'/', dinf, dinf, dnan, {kNan}},
      {'/', DBL_MAX, 0.5, dinf, {kInf}},
  });
}

TEST(FloatArith, ResultsAndReportsInSinglePrecision) {
  run_cases<float>(kFloat, {
      {'+', 1.5f, 2.25f, 3.75f, {}},
      {'+', FLT_MAX, FLT_MAX, finf, {kInf}},
      {'*', 1e20f, 1e20f, finf, {kInf}},  // fits a double, not a float
      {'-', finf, finf, fnan, {kNan}},
      {'*', 1e-30f, 1e-30f, 0.0f, {}},
      {'*', 0x1p-75f, 0x1p-74f, 0x1p-149f, {}},  // smallest subnormal float
      {'+', 16777216.0f, 1.0f, 16777216.0f, {}},  // rounded once to float
      {'/', 1.0f, 0.0f, finf, {kIll, kInf}},
      {'/', 1.0f, -0.0f, -finf, {kIll, kInf}},
      {'/', 0.0f, 0.0f, fnan, {kIll, kNan}},
      {'/', 1.0f, fnan, fnan, {kIll, kNan}},
      {'/', fnan, 2.0f, fnan, {kNan}},
      {'/', 8.0f, -4.0f, -2.0f, {}},
      {'/', 1.0f, 3.0f, 1.0f / 3.0f, {}},
  });
}

template <typename T>
void expect_null_safety(const Ops<T> &ops) {
  HookRecorder rec;
  const T zero = 0, one = 1;
  for (auto fn : {ops.add, ops.sub, ops.mut, ops.div}) {
    T r = T(7);
    fn(nullptr, &one, &zero);
    fn(&r, nullptr, &zero);
    fn(&r, &one, nullptr);
    EXPECT_EQ(r, T(7));
  }
  EXPECT_TRUE(rec.reports().empty());
  EXPECT_EQ(ops.cmp(nullptr, &one), -1);
  EXPECT_EQ(ops.cmp(&one, nullptr), -1);
  EXPECT_EQ(ops.cmp(nullptr, nullptr), -1);
}

TEST(DoubleArith, NullAddressesDoNothing) { expect_null_safety(kDouble); }
TEST(FloatArith, NullAddressesDoNothing) { expect_null_safety(kFloat); }

template <typename T>
void expect_aliasing(const Ops<T> &ops) {
  T x = T(3);
  ops.add(&x, &x, &x);
  EXPECT_EQ(x, T(6));
  T y = T(5);
  ops.div(&y, &x, &y);  // result is the divisor: read before written
  EXPECT_EQ(y, T(6) / T(5));
  ops.sub(&x, &x, &x);
  EXPECT_EQ(x, T(0));
}

TEST(DoubleArith, ResultMayAliasOperands) { expect_aliasing(kDouble); }
TEST(FloatArith, ResultMayAliasOperands) { expect_aliasing(kFloat); }

template <typename T>
void expect_compare(const Ops<T> &ops) {
  const T nan = std::numeric_limits<T>::quiet_NaN();
  const struct {
    T a, b;
    int32_t expected;
  } table[] = {
      {2, 1, 1}, {1, 2, 2}, {1, 1, 0}, {T(0), -T(0), 0}, {nan, 1, 0}, {1, nan, 0}, {nan, nan, 0},
      {-std::numeric_limits<T>::infinity(), std::numeric_limits<T>::lowest(), 2},
  };
  HookRecorder rec;
  for (const auto &row : table) EXPECT_EQ(ops.cmp(&row.a, &row.b), row.expected) << row.a << " vs " << row.b;
  EXPECT_TRUE(rec.reports().empty());
}

TEST(DoubleArith, Compare) { expect_compare(kDouble); }
TEST(FloatArith, Compare) { expect_compare(kFloat); }

TEST(Arith, NoHookStillStores) {
  kel::ScopedHook none(nullptr);
  double r = 0;
  const double one = 1, zero = 0;
  KEL_Ddiv(&r, &one, &zero);
  EXPECT_EQ(r, dinf);
}

}  // namespace
