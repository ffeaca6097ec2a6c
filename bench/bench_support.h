// Registration helpers shared by the benchmark programs: each case runs as
// "<name>/<variant>", where the variant says what is measured (plain: the
// unchecked operation; checked: the library without a hook; hooked: the
// library with a hook registered; faulting: every call reports).
#ifndef KEL_BENCH_SUPPORT_H
#define KEL_BENCH_SUPPORT_H

#include <benchmark/benchmark.h>

#include <string>
#include <utility>

#include "kelsoft.h"

namespace kel_bench {

inline long reports = 0;
inline void count_report(const char *, int32_t, const char *) { ++reports; }

// Registers the counting hook for one benchmark run, or clears the hook.
class HookScope {
 public:
  explicit HookScope(bool hooked) : previous_(g_pfFloatAssertHook) {
    KEL_FloatAssertReg(hooked ? count_report : nullptr);
  }
  ~HookScope() { KEL_FloatAssertReg(previous_); }
  HookScope(const HookScope &) = delete;
  HookScope &operator=(const HookScope &) = delete;

 private:
  FloatFaultHook previous_;
};

enum class Hook { none, registered };

// fn is called once per iteration; memory is clobbered after each call so the
// operands are read and the result written every time.
template <typename Fn>
void add(const std::string &name, Hook hook, Fn fn) {
  benchmark::RegisterBenchmark(name.c_str(), [fn, hook](benchmark::State &state) {
    HookScope scope(hook == Hook::registered);
    reports = 0;
    for (auto _ : state) {
      fn();
      benchmark::ClobberMemory();
    }
    state.counters["reports/call"] =
        benchmark::Counter(static_cast<double>(reports) / static_cast<double>(state.iterations()));
  });
}

// The usual trio for a checked operation and its unchecked counterpart.
template <typename Plain, typename Checked>
void add_checked(const std::string &name, Plain plain, Checked checked) {
  add(name + "/plain", Hook::none, std::move(plain));
  add(name + "/checked", Hook::none, checked);
  add(name + "/hooked", Hook::registered, std::move(checked));
}

}  // namespace kel_bench

#endif
