// kelsoft run: arithmetic calls as lines, read, called and checked (or
// answered), per line. The lines are generated calls of the arithmetic
// family with this build's answers.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "calls.h"
#include "generate.h"
#include "lines.h"

namespace {

// The generated calls of the arithmetic family, 2,000 of each function,
// without and with their answers.
struct Lines {
  std::string calls, answered;
  Lines() {
    const std::string all = text([](std::FILE *f) { generate::calls_from(0, calls::generated().size() * 2000, f); });
    for (std::size_t at = 0; at < all.size();) {
      const std::size_t end = all.find('\n', at) + 1;
      const std::string name = all.substr(at, all.find(' ', at) - at);
      if (std::string_view(calls::find(name)->family) == "arith") calls.append(all, at, end - at);
      at = end;
    }
    answered = text([this](std::FILE *f) { run(calls, f); });
  }
  template <typename Write>
  static std::string text(Write write) {
    char *data = nullptr;
    std::size_t size = 0;
    std::FILE *f = open_memstream(&data, &size);
    write(f);
    std::fclose(f);
    std::string out(data, size);
    std::free(data);
    return out;
  }
  static lines::Tally run(std::string &input, std::FILE *out) {
    std::FILE *in = fmemopen(input.data(), input.size(), "r");
    const lines::Tally t = lines::run(in, "bench", out, {});
    std::fclose(in);
    return t;
  }
};

void measure(benchmark::State &state, bool check) {
  static Lines lines;
  std::string &input = check ? lines.answered : lines.calls;
  std::FILE *null = std::fopen("/dev/null", "w");
  uint64_t calls = 0;
  for (auto _ : state) {
    const lines::Tally t = Lines::run(input, null);
    calls += t.passed + t.failed + t.answered;
  }
  std::fclose(null);
  state.SetItemsProcessed(static_cast<int64_t>(calls));
}

void Check(benchmark::State &state) { measure(state, true); }
void Answer(benchmark::State &state) { measure(state, false); }
BENCHMARK(Check)->Name("Run/arith/check")->Unit(benchmark::kMillisecond);
BENCHMARK(Answer)->Name("Run/arith/answer")->Unit(benchmark::kMillisecond);

}  // namespace
