// kelsoft.hpp as a C++ program uses it; built once as C++17 and once as C++20.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "kelsoft.hpp"

namespace {

const double kNan = std::numeric_limits<double>::quiet_NaN();

void plain_hook(const char *, int32_t, const char *) {}

TEST(ScopedHook, CapturingLambdasNestAndRestore) {
  KEL_FloatAssertReg(plain_hook);
  std::vector<std::string> outer, inner;
  {
    kel::ScopedHook a([&](const char *, int32_t, const char *name) { outer.push_back(name); });
    kel::div(1.0, 0.0);
    {
      kel::ScopedHook b([&](const char *, int32_t, const char *name) { inner.push_back(name); });
      kel::add(kNan, 1.0);
    }
    kel::sub(kNan, 1.0);
  }
  EXPECT_EQ(outer, (std::vector<std::string>{"PARA IN ILLEGAL", "FP_INFINITE", "FP_NAN"}));
  EXPECT_EQ(inner, (std::vector<std::string>{"FP_NAN"}));
  EXPECT_EQ(g_pfFloatAssertHook, plain_hook);
  KEL_FloatAssertReg(nullptr);
}

// A scope that ends while another thread is inside its callable waits for it.
TEST(ScopedHook, EndingWaitsForARunningReport) {
  std::atomic<bool> entered{false}, left{false};
  std::thread reporter;
  {
    kel::ScopedHook hook([&](const char *, int32_t, const char *) {
      entered = true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      left = true;
    });
    reporter = std::thread([] { KEL_SoftfpAssert(0); });
    while (!entered) std::this_thread::yield();
  }
  EXPECT_TRUE(left);
  reporter.join();
}

// A recorder made on a thread that ends without ending it belongs to no
// thread: a later thread, which may get the same std::thread::id, reports to
// the newest scope.
TEST(ReportRecorder, ThreadEndedWithItsScopeAlive) {
  std::optional<kel::ReportRecorder> left;
  std::thread([&] { left.emplace(); }).join();
  kel::ReportRecorder newest;
  std::thread([] { KEL_SoftfpAssert(0); }).join();
  EXPECT_TRUE(left->names().empty());
  EXPECT_EQ(newest.names(), std::vector<std::string>{"FP_NAN"});
}

// Ending another scope from a callable works, on the reporting thread or
// another.
TEST(ScopedHook, CallableEndsAnotherScopeOnAnyThread) {
  int reports = 0;
  std::optional<kel::ScopedHook> other;
  for (const bool here : {true, false}) {
    other.emplace([&](const char *, int32_t, const char *) { ++reports; });
    kel::ScopedHook ender([&](const char *, int32_t, const char *) { other.reset(); });
    if (here) KEL_SoftfpAssert(0);
    if (!here) std::thread([] { KEL_SoftfpAssert(0); }).join();
    EXPECT_FALSE(other.has_value());
  }
  EXPECT_EQ(reports, 0);
}

// What would hang or unwind through the C library ends the program with a
// message instead.
TEST(ScopedHookDeathTest, MisuseEndsTheProgramWithAMessage) {
  std::optional<kel::ScopedHook> outer;
  const auto ends_outer = [&](const char *, int32_t, const char *) { outer.reset(); };
  EXPECT_DEATH(
      try {
        kel::ScopedHook hook([](const char *, int32_t, const char *) { throw std::runtime_error("assertion"); });
        kel::div(1.0, 0.0);
      } catch (...) {},
      "callable threw an exception");
  EXPECT_DEATH((outer.emplace(ends_outer), KEL_SoftfpAssert(0)), "ended inside its own callable");
  EXPECT_DEATH((outer.emplace([&](const char *, int32_t, const char *) {
                  kel::ScopedHook nested(ends_outer);
                  KEL_SoftfpAssert(0);
                }),
                KEL_SoftfpAssert(0)),
               "ended inside its own callable");
}

// Each thread ends its two recorders out of order, reporting between the
// ends: its reports reach its own newest recorder, never another thread's.
TEST(ReportRecorder, ThreadsEndScopesInAnyOrder) {
  constexpr int kThreads = 4, kRounds = 300;
  kel::ReportRecorder main_thread;
  std::atomic<int> misrouted{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < kRounds; ++i) {
        std::optional<kel::ReportRecorder> older, newer;
        older.emplace();
        newer.emplace();
        kel::div(1.0, 0.0);
        (i % 2 ? older : newer).reset();
        kel::add(kNan, 1.0);
        const std::size_t expected = i % 2 ? 3 : 1;
        if ((i % 2 ? newer : older)->names().size() != expected) ++misrouted;
      }
    });
  for (auto &t : threads) t.join();
  EXPECT_EQ(misrouted, 0);
  EXPECT_TRUE(main_thread.names().empty());
}

TEST(Companion, NoAmbiguityWithCmath) {
  using namespace kel;
  EXPECT_EQ(sqrt(4.0), 2.0);
  EXPECT_EQ(checked_sqrt(4.0), 2.0);
  EXPECT_EQ(log(1.0), checked_log(1.0));
  EXPECT_EQ(div(1.0, 2.0), 0.5);  // beside the C library's div(int, int)
}

#if defined(__cpp_lib_three_way_comparison)
TEST(Companion, Compare) {
  const std::tuple<double, double, std::partial_ordering> rows[] = {
      {1, 2, std::partial_ordering::less},        {2, 1, std::partial_ordering::greater},
      {0.0, -0.0, std::partial_ordering::equivalent}, {kNan, 1, std::partial_ordering::unordered},
      {1, kNan, std::partial_ordering::unordered},
  };
  kel::ReportRecorder rec;
  for (const auto &[a, b, expected] : rows) {
    EXPECT_EQ(kel::compare(a, b), expected) << a << " " << b;
    EXPECT_EQ(kel::compare(float(a), float(b)), expected) << a << " " << b;
  }
  EXPECT_TRUE(rec.reports().empty());
}
#endif

// Views are cut from longer text, so reading past them would show; "1e"
// alone is rejected.
TEST(Companion, ParseViews) {
  const std::string long_text = std::string(300, '0') + "1.5";
  const std::tuple<std::string_view, double, std::size_t> rows[] = {
      {std::string_view("0.3xyz", 3), 0.30000000000000004, 3},
      {std::string_view("12345", 3), 123, 3},
      {std::string_view("1e55", 2), 0, 0},
      {"  -12.5e1xyz", -125, 9},
      {"-.5", -0.5, 3},
      {"  abc", 0, 0},
      {"e5", 0, 0},
      {"", 0, 0},
      {long_text, 1.5, long_text.size()},
  };
  for (const auto &[text, value, consumed] : rows) {
    const kel::Parsed<double> d = kel::parse(text);
    const kel::Parsed<float> f = kel::parse_float(text);
    EXPECT_EQ(std::pair(d.value, d.consumed), std::pair(value, consumed)) << text;
    EXPECT_EQ(std::pair(f.value, f.consumed), std::pair(float(value), consumed)) << text;
  }
}

TEST(Companion, Format) {
  const std::tuple<double, const char *, std::size_t, const char *, bool> rows[] = {
      {1.5, "%f", 9, "1.500000", false}, {1.5, "%f", 8, "1.50000", true},  {3.14159, "%.2f", 4, "3.1", true},
      {3.14159, "%.2f", 5, "3.14", false}, {1.5, "%d", 9, "", true},        {1.5, "%f %f", 9, "", true},
  };
  for (const auto &[value, format, size, text, cut] : rows) {
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    const kel::Formatted f = kel::format_to(buffer, size, value, format);
    EXPECT_EQ(std::tuple(std::string(buffer), f.length, f.cut), std::tuple(text, std::strlen(text), cut))
        << format << " " << size;
  }
  EXPECT_EQ(kel::format(1e300).size(), 308u);
  EXPECT_EQ(kel::format(1.5, "%Lf"), "");
  EXPECT_EQ(kel::format(0.1, "%.3e"), "1.000e-01");
}

// A conversion the library's one double cannot serve reads an argument
// never passed: a long double for L, ll and q, an int for '*'.
TEST(Companion, DoubleConversions) {
  const std::pair<const char *, int> rows[] = {
      {"%f", 1},      {"%-+ #012.3e", 1}, {"x=%.1f;", 1}, {"%lf", 1},     {"%A %%", 1},    {"%.f", 1},
      {"plain", 0},   {"%%", 0},          {"", 0},        {"%f %g", 2},   {"%Lf", -1},     {"%llf", -1},
      {"%qf", -1},    {"%Le", -1},        {"%hf", -1},    {"%jf", -1},    {"%zf", -1},     {"%tf", -1},
      {"%*f", -1},    {"%.*f", -1},       {"%d", -1},     {"%s", -1},     {"%n", -1},      {"%", -1},
      {"%5", -1},     {"%1$f", -1},       {"%'f", -1},    {nullptr, -1},
  };
  for (const auto &[format, conversions] : rows) {
    const char *shown = format != nullptr ? format : "null";
    EXPECT_EQ(kel::double_conversions(format), conversions) << shown;
    EXPECT_EQ(kel::is_double_format(format), conversions == 1) << shown;
  }
}

TEST(Companion, CaseAndUnsigned) {
  EXPECT_EQ(kel::to_upper("abc\xE9z"), "ABC\xE9Z");
  EXPECT_EQ(kel::to_lower(std::string_view("ABCDEF", 3)), "abc");
  const std::pair<std::string_view, std::optional<uint32_t>> rows[] = {
      {"42abc", 42}, {"0x10", 0},  {"99999999999", 4294967295u}, {std::string_view("4299", 2), 42},
      {"abc", {}},   {"", {}},     {"-1", 4294967295u},
  };
  for (const auto &[text, value] : rows) EXPECT_EQ(kel::parse_uint32(text), value) << text;
}

TEST(Companion, ConvertByWidth) {
  EXPECT_EQ(kel::convert<long>(2.5), 2);
  EXPECT_EQ(kel::convert<long long>(-2.5), -2);
  EXPECT_EQ(kel::convert<int32_t>(kNan), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(kel::convert<double>(7), 7.0);
}

}  // namespace
