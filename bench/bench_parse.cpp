// Nanoseconds per text for KEL_SoftStr2Float, strtod and std::from_chars on
// five kinds of text, and the share of each kind that the parser's
// rounding steps leave to its chain ("fallback"). Run: build/host/bench/bench_parse
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "kelsoft.h"
#include "round64.h"

namespace {

constexpr int kTexts = 4096;

void mixed(std::mt19937_64 &rng, char *buf, size_t size) {
  const auto r = [&rng](unsigned n) { return static_cast<unsigned>(rng() % n); };
  switch (r(4)) {
    case 0:
      std::snprintf(buf, size, "%s%u.%0*u", r(2) ? "-" : "", r(90), 4 + static_cast<int>(r(4)), r(10000));
      break;
    case 1:
      std::snprintf(buf, size, "%u.%02u", r(r(2) ? 100 : 100000), r(100));
      break;
    case 2:
      std::snprintf(buf, size, "%u.%0*ue%s%u", 1 + r(9), 2 + static_cast<int>(r(8)), r(100000000), r(2) ? "-" : "",
                    r(40));
      break;
    default:
      std::snprintf(buf, size, "%u", r(2) ? r(1000) : r(4000000000u));
      break;
  }
}

std::vector<std::string> make_texts(int kind) {
  std::mt19937_64 rng(42 + kind);
  std::vector<std::string> texts;
  char buf[128];
  for (int i = 0; i < kTexts; ++i) {
    switch (kind) {
      case 0:  // short integers
        std::snprintf(buf, sizeof buf, "%u", static_cast<unsigned>(rng() % 100000));
        break;
      case 1:  // coordinates
        std::snprintf(buf, sizeof buf, "%s%u.%07u", rng() % 2 ? "-" : "", static_cast<unsigned>(rng() % 180),
                      static_cast<unsigned>(rng() % 10000000));
        break;
      case 2: {  // 17 significant digits
        std::uniform_real_distribution<double> exponent(-20, 20);
        std::snprintf(buf, sizeof buf, "%.17g", std::pow(10.0, exponent(rng)));
        break;
      }
      case 3:  // 100 digits
        for (int d = 0; d < 100; ++d) buf[d] = static_cast<char>('0' + (d == 0 ? 1 + rng() % 9 : rng() % 10));
        buf[100] = '\0';
        break;
      default:  // mixed: coordinates, prices, scientific notation, integers
        mixed(rng, buf, sizeof buf);
        break;
    }
    texts.emplace_back(buf);
  }
  return texts;
}

const char *const kKindNames[] = {"short_integers", "coordinates", "17_digits", "100_digits", "mixed"};

// The share of the texts after blanks and sign that the rounding steps leave to the chain.
double fallback_share(const std::vector<std::string> &texts) {
  int fallbacks = 0;
  for (const std::string &t : texts) {
    const auto *p = reinterpret_cast<const unsigned char *>(t.c_str());
    p += *p == '-' || *p == '+';
    const kel::Number n = kel::scan_number(p, p);
    fallbacks += kel::round64(n) != kel::round64(n) && kel::round128(n) != kel::round128(n);
  }
  return static_cast<double>(fallbacks) / static_cast<double>(texts.size());
}

template <typename Parse>
void run(benchmark::State &state, Parse parse) {
  const std::vector<std::string> texts = make_texts(static_cast<int>(state.range(0)));
  state.SetLabel(kKindNames[state.range(0)]);
  for (auto _ : state) {
    for (const std::string &t : texts) benchmark::DoNotOptimize(parse(t));
  }
  // Seconds per text: shown with an "n" suffix for nanoseconds.
  state.counters["per_text"] = benchmark::Counter(
      static_cast<double>(texts.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_KEL_SoftStr2Float(benchmark::State &state) {
  run(state, [](const std::string &t) {
    char *end;
    return KEL_SoftStr2Float(t.c_str(), &end);
  });
  state.counters["fallback"] = fallback_share(make_texts(static_cast<int>(state.range(0))));
}

void BM_strtod(benchmark::State &state) {
  run(state, [](const std::string &t) {
    char *end;
    return std::strtod(t.c_str(), &end);
  });
}

void BM_from_chars(benchmark::State &state) {
  run(state, [](const std::string &t) {
    double v = 0;
    std::from_chars(t.data(), t.data() + t.size(), v);
    return v;
  });
}

BENCHMARK(BM_KEL_SoftStr2Float)->DenseRange(0, 4);
BENCHMARK(BM_strtod)->DenseRange(0, 4);
BENCHMARK(BM_from_chars)->DenseRange(0, 4);

}  // namespace

BENCHMARK_MAIN();
