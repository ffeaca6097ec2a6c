// The fault hook itself: what a report carries, registration, hooks that
// change arguments, and reports from several threads. Results and reports of
// each operation are in tests/vectors.
#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "kelsoft.hpp"

namespace {

std::atomic<long> a_calls, b_calls;
thread_local long my_calls = 0;
template <std::atomic<long> &calls>
void counting_hook(const char *, int32_t, const char *) {
  ++my_calls;
  ++calls;
}
constexpr FloatFaultHook hook_a = counting_hook<a_calls>, hook_b = counting_hook<b_calls>;

TEST(Registration, LastHookWinsAndNullRemovesIt) {
  const FloatFaultHook saved = g_pfFloatAssertHook;
  a_calls = b_calls = 0;
  KEL_FloatAssertReg(hook_a);
  KEL_SoftfpAssert(1);
  KEL_FloatAssertReg(hook_b);
  EXPECT_EQ(g_pfFloatAssertHook, hook_b);
  KEL_SoftfpAssert(0);
  KEL_FloatAssertReg(nullptr);
  double r = 0;
  const double one = 1, zero = 0;
  KEL_Ddiv(&r, &one, &zero);  // no hook: stored all the same
  EXPECT_EQ(r, one / zero);
  g_pfFloatAssertHook = hook_a;  // a direct store registers too
  KEL_SoftfpAssert(-1);
  g_pfFloatAssertHook = saved;
  EXPECT_EQ(a_calls, 2);
  EXPECT_EQ(b_calls, 1);
}

// A hook that repairs the argument it was told about: the function must
// compute with the repaired value.
double *d_argument;
float *f_argument;
void repair(const char *, int32_t, const char *name) {
  if (std::strcmp(name, "PARA IN ILLEGAL") != 0) return;
  *d_argument = 4.0;
  *f_argument = 100.0f;
}

TEST(Hook, ArgumentIsReadAgainAfterTheDomainReport) {
  double dx = -4.0, dr = 0, divisor = 0, quotient = 0;
  float fx = 0.0f, fr = 0;
  d_argument = &dx;
  f_argument = &fx;
  {
    kel::ScopedHook hook(repair);
    KEL_DSqrt(&dr, &dx);
    KEL_SLog10(&fr, &fx);
    d_argument = &divisor;
    const double eight = 8;
    KEL_Ddiv(&quotient, &eight, &divisor);
  }
  EXPECT_EQ(dr, 2.0);
  EXPECT_EQ(fr, 2.0f);
  EXPECT_EQ(quotient, 2.0);
}

// Store, check, report: a hook that reads the result object sees the bits
// the call leaves there, the target's NaN included (x86's own is negative).
TEST(Hook, SeesTheStoredResult) {
  double d = 0;
  float f = 0;
  uint64_t seen = 0;
  // Each row writes one of them; the other stays zero.
  kel::ScopedHook hook([&](const char *, int32_t, const char *) {
    seen = std::bit_cast<uint64_t>(d) | std::bit_cast<uint32_t>(f);
  });
  const double inf = INFINITY, zero = 0, one = 1;
  const float finf = INFINITY, fzero = 0;
  const struct {
    std::function<void()> call;
    uint64_t bits;
  } table[] = {{[&] { KEL_Ddiv(&d, &zero, &zero); }, 0x7FF8000000000000u},
               {[&] { KEL_Dsub(&d, &inf, &inf); }, 0x7FF8000000000000u},
               {[&] { KEL_Dadd(&d, &inf, &one); }, 0x7FF0000000000000u},
               {[&] { KEL_Smut(&f, &fzero, &finf); }, 0x7FC00000u}};
  for (const auto &row : table) {
    d = f = 0;
    row.call();
    EXPECT_EQ(seen, row.bits) << "row " << &row - table;
  }
}

// Every report reaches a registered hook on the reporting thread before the
// call returns, while another thread keeps re-registering (TSan: no race).
TEST(Hook, ReportsFromSeveralThreads) {
  kel::ScopedHook hook(hook_a);
  a_calls = b_calls = 0;
  std::atomic<bool> done{false};
  std::thread swapper([&] {
    for (unsigned i = 0; !done.load(); ++i) KEL_FloatAssertReg(i % 2 != 0 ? hook_a : hook_b);
  });
  std::atomic<long> misplaced{0};
  std::vector<std::thread> workers;
  for (int t = 0; t < 4; ++t) {
    workers.emplace_back([&] {
      const double zero = 0, one = 1;
      const float minus = -1;
      double r;
      float f;
      for (int i = 0; i < 5000; ++i) {
        const long before = my_calls;
        KEL_Ddiv(&r, &one, &zero);
        KEL_DSqrtf(&f, &minus);
        KEL_IntMut(1, 0, &r);
        if (my_calls - before != 5) ++misplaced;
      }
    });
  }
  for (auto &w : workers) w.join();
  done = true;
  swapper.join();
  EXPECT_EQ(misplaced, 0) << "a report ran late or on another thread";
  EXPECT_EQ(a_calls + b_calls, 4 * 5000 * 5);
}

}  // namespace
