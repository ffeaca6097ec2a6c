// Reports from several threads while another thread keeps re-registering:
// every report must reach a registered hook, and nothing may race (TSan).
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "kelsoft.hpp"

namespace {

std::atomic<long> a_reports{0}, b_reports{0};
void hook_a(const char *, int32_t, const char *) { a_reports.fetch_add(1, std::memory_order_relaxed); }
void hook_b(const char *, int32_t, const char *) { b_reports.fetch_add(1, std::memory_order_relaxed); }

TEST(HookThreads, EveryReportReachesARegisteredHook) {
  constexpr int kThreads = 4;
  constexpr int kIterations = 20000;
  kel::ScopedHook hook(hook_a);
  std::atomic<bool> done{false};
  std::thread swapper([&] {
    for (unsigned i = 0; !done.load(); ++i) KEL_FloatAssertReg(i % 2 ? hook_a : hook_b);
  });
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([] {
      const double one = 1, zero = 0;
      double r;
      for (int i = 0; i < kIterations; ++i) KEL_Ddiv(&r, &one, &zero);  // two reports each
    });
  }
  for (auto &w : workers) w.join();
  done = true;
  swapper.join();
  EXPECT_EQ(a_reports + b_reports, 2L * kThreads * kIterations);
}

}  // namespace
