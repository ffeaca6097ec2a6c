// Reports from several threads, arithmetic and elementary functions alike,
// while another thread keeps re-registering: every report must reach a
// registered hook, on the reporting thread and before the operation returns,
// and nothing may race (TSan).
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <limits>
#include <thread>
#include <vector>

#include "kelsoft.hpp"

namespace {

std::atomic<long> a_reports{0}, b_reports{0};
thread_local long my_reports = 0;
void hook_a(const char *, int32_t, const char *) {
  ++my_reports;
  a_reports.fetch_add(1, std::memory_order_relaxed);
}
void hook_b(const char *, int32_t, const char *) {
  ++my_reports;
  b_reports.fetch_add(1, std::memory_order_relaxed);
}

struct FaultingCall {
  const char *what;
  int reports;
  std::function<void()> call;
};

const double d_one = 1, d_zero = 0, d_inf = std::numeric_limits<double>::infinity();
const float f_big = std::numeric_limits<float>::max(), f_nan = std::numeric_limits<float>::quiet_NaN(), f_one = 1,
            f_zero = 0;

std::vector<FaultingCall> faulting_calls() {
  return {
      {"Ddiv 1/0", 2, [] { double r; KEL_Ddiv(&r, &d_one, &d_zero); }},
      {"Dsub inf-inf", 1, [] { double r; KEL_Dsub(&r, &d_inf, &d_inf); }},
      {"Sadd max+max", 1, [] { float r; KEL_Sadd(&r, &f_big, &f_big); }},
      {"Smut nan*1", 1, [] { float r; KEL_Smut(&r, &f_nan, &f_one); }},
      {"Sdiv 0/0", 2, [] { float r; KEL_Sdiv(&r, &f_zero, &f_zero); }},
      {"SoftfpAssert", 1, [] { KEL_SoftfpAssert(-1); }},
      {"DLog 0", 2, [] { double r; KEL_DLog(&r, &d_zero); }},
      {"DSqrtf -1", 2, [] { float r; const float x = -1; KEL_DSqrtf(&r, &x); }},
      {"DExp 1000", 1, [] { double r; const double x = 1000; KEL_DExp(&x, &r); }},
      {"AddPowForKavri 0^-1", 1, [] { double r; const double e = -1; KEL_AddPowForKavri(&d_zero, &e, &r); }},
      {"IntMut 1/0", 1, [] { double r; KEL_IntMut(1, 0, &r); }},
  };
}

TEST(HookThreads, EveryReportReachesARegisteredHookOnItsOwnThread) {
  constexpr int kThreads = 4;
  constexpr int kIterations = 5000;
  const std::vector<FaultingCall> calls = faulting_calls();
  long per_round = 0;
  for (const FaultingCall &c : calls) per_round += c.reports;

  kel::ScopedHook hook(hook_a);
  std::atomic<bool> done{false};
  std::thread swapper([&] {
    for (unsigned i = 0; !done.load(); ++i) KEL_FloatAssertReg(i % 2 ? hook_a : hook_b);
  });
  std::atomic<long> misplaced{0};
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([&] {
      for (int i = 0; i < kIterations; ++i) {
        for (const FaultingCall &c : calls) {
          const long before = my_reports;
          c.call();
          if (my_reports - before != c.reports) misplaced.fetch_add(1);
        }
      }
    });
  }
  for (auto &w : workers) w.join();
  done = true;
  swapper.join();
  EXPECT_EQ(misplaced, 0) << "a report ran late or on another thread";
  EXPECT_EQ(a_reports + b_reports, per_round * kThreads * kIterations);
}

}  // namespace
