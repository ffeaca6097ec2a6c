// Every family at once on several threads with random inputs, while another
// thread keeps replacing the hook: no crash, every report the inputs call for
// arrives (on its own thread, before the call returns), and memory, heap and
// descriptors do not grow. KEL_SOAK_SECONDS sets the duration (default 60),
// KEL_SOAK_SEED the first thread's seed.
#include <fcntl.h>
#include <malloc.h>
#include <syslog.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <barrier>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "kelsoft.h"

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kPlainAllocator = false;  // the sanitizers hold freed memory back for a while
#else
constexpr bool kPlainAllocator = true;
#endif

thread_local long my_reports = 0;
std::atomic<long> all_reports{0};
void hook_a(const char *, int32_t, const char *) {
  ++my_reports;
  all_reports.fetch_add(1, std::memory_order_relaxed);
}
void hook_b(const char *file, int32_t line, const char *name) { hook_a(file, line, name); }

template <typename T>
int faults(T v) {
  return std::isnan(v) || std::isinf(v) ? 1 : 0;
}

template <typename T>
bool same_value(T a, T b) {
  return (a != a && b != b) || std::memcmp(&a, &b, sizeof a) == 0;
}

class Random {
 public:
  explicit Random(uint64_t seed) : gen_(seed) {}
  uint64_t bits() { return gen_(); }
  unsigned below(unsigned n) { return static_cast<unsigned>(gen_() % n); }
  template <typename T>
  T value() {
    using Bits = std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>;
    static const T special[] = {0, -T(0), 1, -1, 0.5, std::numeric_limits<T>::max(),
                                std::numeric_limits<T>::denorm_min(), std::numeric_limits<T>::infinity(),
                                -std::numeric_limits<T>::infinity(), std::numeric_limits<T>::quiet_NaN()};
    switch (below(3)) {
      case 0: return special[below(std::size(special))];
      case 1: return std::bit_cast<T>(static_cast<Bits>(gen_()));  // any class, any sign
      default: return static_cast<T>(std::uniform_real_distribution<double>(-1e3, 1e3)(gen_));
    }
  }
  std::string text(const char *alphabet, unsigned max_length) {
    std::string s(below(max_length + 1), ' ');
    const size_t n = std::strlen(alphabet);
    for (char &c : s) c = alphabet[below(static_cast<unsigned>(n))];
    return s;
  }

 private:
  std::mt19937_64 gen_;
};

// What one thread saw. Each step returns the number of reports it calls for.
struct Tally {
  long calls = 0, expected = 0, misplaced = 0, wrong = 0;
  const char *first = "";
  void check(bool holds, const char *what) {
    if (holds) return;
    if (wrong++ == 0) first = what;
  }
};

template <typename T>
using Binary = void (*)(T *, const T *, const T *);

template <typename T>
int arith(Random &rnd, Tally &t, const Binary<T> (&ops)[4], int32_t (*cmp)(const T *, const T *)) {
  const T a = rnd.value<T>(), b = rnd.value<T>();
  const unsigned op = rnd.below(5);
  if (op == 4) {
    t.check(cmp(&a, &b) == (a > b ? 1 : a < b ? 2 : 0), "comparison");
    return 0;
  }
  T r;
  ops[op](&r, &a, &b);
  const T expected = op == 0 ? a + b : op == 1 ? a - b : op == 2 ? a * b : a / b;
  t.check(same_value(r, expected), "arithmetic result");
  return (op == 3 && !(b > 0 || b < 0)) + faults(r);
}

int arithmetic(Random &rnd, Tally &t) {
  static const Binary<double> dops[4] = {KEL_Dadd, KEL_Dsub, KEL_Dmut, KEL_Ddiv};
  static const Binary<float> sops[4] = {KEL_Sadd, KEL_Ssub, KEL_Smut, KEL_Sdiv};
  return rnd.below(2) ? arith(rnd, t, dops, KEL_Dcmp) : arith(rnd, t, sops, KEL_Scmp);
}

// f(result, x) computing g(x); bad(x) is the domain test.
template <typename T>
int unary(Random &rnd, Tally &t, void (*f)(T *, const T *), T (*g)(T), bool (*bad)(T)) {
  const T x = rnd.value<T>();
  T r;
  f(&r, &x);
  t.check(same_value(r, g(x)), "elementary result");
  return bad(x) + faults(r);
}

int elementary(Random &rnd, Tally &t) {
  const auto not_positive = [](auto x) { return x <= 0; };
  const auto negative = [](auto x) { return x < 0; };
  const auto never = [](double) { return false; };
  switch (rnd.below(10)) {
    case 0: return unary<float>(rnd, t, KEL_SLog, [](float x) { return std::log(x); }, not_positive);
    case 1: return unary<double>(rnd, t, KEL_DLog, [](double x) { return std::log(x); }, not_positive);
    case 2: return unary<float>(rnd, t, KEL_SLog10, [](float x) { return std::log10(x); }, not_positive);
    case 3: return unary<double>(rnd, t, KEL_DLog10, [](double x) { return std::log10(x); }, not_positive);
    case 4: return unary<float>(rnd, t, KEL_DSqrtf, [](float x) { return std::sqrt(x); }, negative);
    case 5: return unary<double>(rnd, t, KEL_DSqrt, [](double x) { return std::sqrt(x); }, negative);
    case 6: return unary<double>(
        rnd, t, [](double *r, const double *x) { KEL_Dceil(x, r); }, [](double x) { return std::ceil(x); }, never);
    case 7: return unary<double>(
        rnd, t, [](double *r, const double *x) { KEL_DExp(x, r); }, [](double x) { return std::exp(x); }, never);
    case 8: {
      const double base = rnd.value<double>(), exponent = rnd.value<double>();
      double r;
      KEL_AddPowForKavri(&base, &exponent, &r);
      t.check(same_value(r, std::pow(base, exponent)), "pow result");
      return faults(r);
    }
    default: {
      const auto num = static_cast<uint32_t>(rnd.bits()), den = static_cast<uint32_t>(rnd.bits() % 4 ? rnd.bits() : 0);
      double r = -1;
      KEL_IntMut(num, den, &r);
      t.check(den == 0 ? r == -1 : r == double(num) / double(den), "ratio result");
      return den == 0;
    }
  }
}

int conversions(Random &rnd, Tally &t) {
  const double d = rnd.value<double>();
  const float f = rnd.value<float>();
  const uint64_t u = rnd.bits();
  const auto i = static_cast<int64_t>(u);
  const auto i32 = static_cast<int32_t>(u);
  const auto u32 = static_cast<uint32_t>(u);
  const auto i16 = static_cast<int16_t>(u);
  const auto u16 = static_cast<uint16_t>(u);
  uint16_t o_u16;
  int16_t o_i16;
  int32_t o_i32;
  uint32_t o_u32;
  int64_t o_i64;
  uint64_t o_u64;
  double o_d;
  float o_f;
  unsigned char buffer[9];
  KEL_Double2Ushort(&d, &o_u16);
  KEL_Double2Short(&d, &o_i16);
  t.check(static_cast<uint16_t>(o_i16) == o_u16, "16-bit truncations agree");
  KEL_Double2Int32(&d, &o_i32);
  KEL_Float2Int32(&f, &o_i32);
  KEL_Float2Uint32(&f, &o_u32);
  KEL_Double2Uint32(&d, &o_u32);
  KEL_Double2Int64(&d, &o_i64);
  KEL_Double2Uint64(&d, &o_u64);
  t.check(static_cast<uint64_t>(o_i64) == o_u64 && static_cast<uint32_t>(o_u64) == o_u32, "64-bit truncations agree");
  KEL_Int322Double(&i32, &o_d);
  KEL_Double2Int32(&o_d, &o_i32);
  t.check(o_i32 == i32, "32-bit round trip");
  KEL_Uint322Double(&u32, &o_d);
  KEL_Short2Double(&i16, &o_d);
  KEL_Ushort2Double(&u16, &o_d);
  KEL_Int322Float(&i32, &o_f);
  KEL_Uint322Float(&u32, &o_f);
  KEL_Int642Double(&i, &o_d);
  KEL_Uint642Double(&u, &o_d);
  KEL_Float2Double(&f, &o_d);
  t.check(same_value(static_cast<float>(o_d), f), "float widening");
  KEL_Double2Buff(&d, buffer + 1);  // any alignment
  KEL_Buff2Double(buffer + 1, &o_d);
  t.check(std::memcmp(&o_d, &d, sizeof d) == 0, "double buffer round trip");
  KEL_Float2Buff(&f, buffer + 1);
  KEL_Buff2Float(buffer + 1, &o_f);
  t.check(std::memcmp(&o_f, &f, sizeof f) == 0, "float buffer round trip");
  return 0;
}

int parser(Random &rnd, Tally &t) {
  if (rnd.below(1000) == 0) {
    KEL_SoftStr2Float(nullptr, nullptr);  // logs, masked
    return 0;
  }
  const std::string text = rnd.text(" 0123456789.eE+-x", 40);
  char *end = nullptr;
  const double v = KEL_SoftStr2Float(text.c_str(), &end);
  t.check(end >= text.c_str() && end <= text.c_str() + text.size(), "parse end inside the text");
  double d;
  float f;
  KEL_Deva(&d, text.c_str());
  KEL_Seva(&f, text.c_str());
  t.check(std::memcmp(&d, &v, sizeof d) == 0 && same_value(f, static_cast<float>(v)), "parser variants agree");
  return 0;
}

int formatting(Random &rnd, Tally &t) {
  static const char *formats[] = {"%f", "%.3e", "%g", "%10.2f", "%a", "x=%+.1f%%"};
  char buffer[65] = {};  // 64 to write, and a terminator for strspn
  std::memset(buffer, '#', 64);
  const size_t size = rnd.below(49);
  const double d = rnd.value<double>();
  const float f = rnd.value<float>();
  switch (rnd.below(4)) {
    case 0: KEL_Double2Ascii(&d, buffer, size); break;
    case 1: KEL_Float2String(&f, buffer, size); break;
    case 2: KEL_Double2String(&d, buffer, size); break;
    default: KEL_Double2String2(&d, buffer, size, formats[rnd.below(std::size(formats))]);
  }
  t.check(size == 0 || std::memchr(buffer, '\0', size) != nullptr, "formatted text terminated");
  t.check(std::strspn(buffer + size, "#") == 64 - size, "nothing written past the size");
  return 0;
}

int strings(Random &rnd, Tally &t) {
  std::string text(rnd.below(32), ' ');
  for (char &c : text) c = static_cast<char>(1 + rnd.below(255));
  char out[49] = {};
  std::memset(out, '#', 48);
  const uint32_t size = 1 + rnd.below(40);
  LUM_StrToUpper(text.c_str(), out, size);
  const size_t kept = std::min<size_t>(text.size(), size - 1);
  bool upper_ok = out[kept] == '\0' && std::strspn(out + size, "#") == 48 - size;
  for (size_t k = 0; k < kept; ++k) {
    const auto c = static_cast<unsigned char>(text[k]);
    upper_ok = upper_ok && static_cast<unsigned char>(out[k]) == (c >= 'a' && c <= 'z' ? c - 32 : c);
  }
  t.check(upper_ok, "upper-case copy");
  std::string lowered = text;
  const uint32_t count = rnd.below(40);
  LUM_StrToLower(lowered.data(), count);
  bool lower_ok = true;
  for (size_t k = 0; k < text.size(); ++k) {
    const auto c = static_cast<unsigned char>(text[k]);
    const bool changes = k < count && c >= 'A' && c <= 'Z';
    lower_ok = lower_ok && static_cast<unsigned char>(lowered[k]) == (changes ? c + 32 : c);
  }
  t.check(lower_ok, "in-place lowering");
  const auto c = static_cast<int32_t>(rnd.below(256));
  t.check(LUM_CharToLower(LUM_CharToUpper(c)) == (LUM_CharIsUpper(c) ? c + 32 : c), "character mappings");
  const uint32_t n = static_cast<uint32_t>(rnd.bits() % 1000000000);
  uint32_t parsed = 1;
  const std::string digits = " " + std::to_string(n) + "x";
  t.check(LUM_StrToUint32(digits.c_str(), &parsed) == 0 && parsed == n, "unsigned parse");
  const int32_t status = LUM_StrToUint32(text.c_str(), &parsed);
  t.check(status == 0 || (status == 22 && parsed == 0), "unsigned parse of noise");
  LUM_syslog("soak %d %s %f", 1, "line", 2.5);  // masked
  return 0;
}

int os_wrappers(Random &rnd, Tally &t) {
  int fds[2];
  const uint64_t sent = rnd.bits();
  uint64_t received = 0;
  t.check(KEL_Pipe(fds) == 0, "pipe");
  constexpr int32_t kSize = sizeof sent;
  t.check(KEL_Write(fds[1], &sent, kSize) == kSize, "write");
  t.check(KEL_Read(fds[0], &received, kSize) == kSize && received == sent, "read");
  t.check(KEL_Close(fds[0]) == 0 && KEL_Close(fds[1]) == 0, "close");
  const int fd = KEL_Open("/dev/null", O_RDONLY);
  t.check(fd >= 0 && KEL_Close(fd) == 0, "open");
  sem_t sem;
  t.check(KEL_SemInit(&sem, 0, 1) == 0 && KEL_SemWait(&sem) == 0 && KEL_SemPost(&sem) == 0 && KEL_SemDestroy(&sem) == 0,
          "semaphore");
  return 0;
}

using Step = int (*)(Random &, Tally &);
constexpr Step kSteps[] = {arithmetic, elementary, conversions, parser, formatting, strings, os_wrappers};

void work(Random &rnd, Tally &t, const std::atomic<bool> &stop) {
  while (!stop.load(std::memory_order_relaxed)) {
    for (int i = 0; i < 256; ++i) {
      const long before = my_reports;
      const int expected = kSteps[rnd.below(std::size(kSteps))](rnd, t);
      if (my_reports - before != expected) ++t.misplaced;
      t.expected += expected;
      ++t.calls;
    }
  }
}

struct Usage {
  long rss_kib, heap_bytes, descriptors;
};

Usage usage() {
  long pages = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  const long descriptors = std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
  return {resident * sysconf(_SC_PAGESIZE) / 1024, static_cast<long>(mallinfo2().uordblks), descriptors};
}

void sleep_for(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

struct Outcome {
  Tally tally;
  Usage before, after;
};

// The workers warm up (thread stacks, malloc arenas, the C library's caches),
// pause while usage is taken, run for the given time and pause again. The
// threads live throughout: creating threads costs glibc heap of its own.
Outcome run(double warm_up, double seconds, uint64_t seed) {
  constexpr int kWorkers = 4;
  std::atomic<bool> stop{false}, done{false};
  std::barrier sync(kWorkers + 1);
  KEL_FloatAssertReg(hook_a);  // before any worker can report
  std::thread swapper([&] {
    for (unsigned i = 0; !done.load(); ++i) {
      KEL_FloatAssertReg(i % 2 ? hook_a : hook_b);
      std::this_thread::yield();
    }
  });
  std::vector<Tally> tallies(kWorkers);
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w) {
    workers.emplace_back([&, w] {
      Random rnd(seed + w);
      for (int phase = 0; phase < 2; ++phase) {
        work(rnd, tallies[w], stop);
        sync.arrive_and_wait();  // stopped: usage is taken
        sync.arrive_and_wait();  // go on
      }
    });
  }
  Outcome out;
  for (int phase = 0; phase < 2; ++phase) {
    sleep_for(phase == 0 ? warm_up : seconds);
    stop = true;
    sync.arrive_and_wait();
    (phase == 0 ? out.before : out.after) = usage();
    stop = false;
    sync.arrive_and_wait();
  }
  for (auto &w : workers) w.join();
  done = true;
  swapper.join();
  for (const Tally &t : tallies) {
    out.tally.calls += t.calls;
    out.tally.expected += t.expected;
    out.tally.misplaced += t.misplaced;
    out.tally.wrong += t.wrong;
    if (out.tally.wrong == t.wrong) out.tally.first = t.first;
  }
  return out;
}

double env_or(const char *name, double fallback) {
  const char *value = std::getenv(name);
  return value != nullptr ? std::atof(value) : fallback;
}

TEST(Soak, EveryFamilyOnManyThreadsWhileTheHookChanges) {
  const double seconds = env_or("KEL_SOAK_SECONDS", 60);
  const auto seed = static_cast<uint64_t>(env_or("KEL_SOAK_SEED", static_cast<double>(time(nullptr))));
  std::printf("seed %llu, %.0f s\n", static_cast<unsigned long long>(seed), seconds);
  const FloatFaultHook saved = g_pfFloatAssertHook;
  const int saved_mask = setlogmask(LOG_UPTO(LOG_NOTICE));  // the log line runs, the logger hears nothing
  all_reports = 0;

  const auto [t, before, after] = run(std::min(2.0, seconds / 10), seconds, seed);

  KEL_FloatAssertReg(saved);
  setlogmask(saved_mask);
  std::printf("%ld calls, %ld reports expected, %ld received\n", t.calls, t.expected, all_reports.load());
  std::printf("rss %ld -> %ld KiB, heap in use %ld -> %ld bytes, descriptors %ld -> %ld\n", before.rss_kib,
              after.rss_kib, before.heap_bytes, after.heap_bytes, before.descriptors, after.descriptors);
  EXPECT_EQ(t.wrong, 0) << "first wrong result: " << t.first;
  EXPECT_EQ(t.misplaced, 0) << "calls whose reports did not arrive on their own thread during the call";
  EXPECT_EQ(all_reports.load(), t.expected);
  EXPECT_GT(t.expected, 0);
  EXPECT_EQ(after.descriptors, before.descriptors);
  if (kPlainAllocator) {
    EXPECT_EQ(after.heap_bytes, before.heap_bytes);
    EXPECT_LT(after.rss_kib - before.rss_kib, 1024) << "resident memory grew";
  }
}

}  // namespace
