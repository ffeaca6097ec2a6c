/*
 * libkelsoft for C++ (C++17 or later): a scoped fault hook, a report recorder
 * for unit tests, and value-returning wrappers of the C functions. Header
 * only: it adds nothing to the library and calls only what kelsoft.h
 * declares.
 */
#ifndef KELSOFT_HPP
#define KELSOFT_HPP

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "kelsoft.h"

namespace kel {

// Registers a hook for the length of a scope, then puts back the hook that
// was registered before.
class ScopedHook {
 public:
  explicit ScopedHook(FloatFaultHook hook) : previous_(g_pfFloatAssertHook) { KEL_FloatAssertReg(hook); }
  ~ScopedHook() { KEL_FloatAssertReg(previous_); }
  ScopedHook(const ScopedHook &) = delete;
  ScopedHook &operator=(const ScopedHook &) = delete;

 private:
  FloatFaultHook previous_;
};

struct Report {
  std::string file;
  int32_t line;
  std::string name;
};

// Records every report made while it lives, from any thread:
//   kel::ReportRecorder rec;
//   kel::div(1.0, 0.0);
//   assert(rec.names() == std::vector<std::string>{"PARA IN ILLEGAL", "FP_INFINITE"});
// Recorders nest; the innermost one receives the reports.
class ReportRecorder {
 public:
  ReportRecorder() : outer_(active()), hook_(record) {
    std::lock_guard<std::mutex> lock(mutex());
    active() = this;
  }
  ~ReportRecorder() {
    std::lock_guard<std::mutex> lock(mutex());
    active() = outer_;
  }
  ReportRecorder(const ReportRecorder &) = delete;
  ReportRecorder &operator=(const ReportRecorder &) = delete;

  const std::vector<Report> &reports() const { return reports_; }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const Report &r : reports_) out.push_back(r.name);
    return out;
  }
  void clear() { reports_.clear(); }

 private:
  static ReportRecorder *&active() {
    static ReportRecorder *current = nullptr;
    return current;
  }
  static std::mutex &mutex() {
    static std::mutex m;
    return m;
  }
  static void record(const char *file, int32_t line, const char *name) {
    std::lock_guard<std::mutex> lock(mutex());
    if (active() != nullptr) active()->reports_.push_back({file ? file : "", line, name ? name : ""});
  }

  ReportRecorder *outer_;
  std::vector<Report> reports_;
  ScopedHook hook_;
};

// Checked arithmetic and comparison; the result is reported as by the C call.
#define KEL_HPP_BINARY(name, d, s)                                              \
  inline double name(double a, double b) { double r = 0; d(&r, &a, &b); return r; } \
  inline float name(float a, float b) { float r = 0; s(&r, &a, &b); return r; }
KEL_HPP_BINARY(add, KEL_Dadd, KEL_Sadd)
KEL_HPP_BINARY(sub, KEL_Dsub, KEL_Ssub)
KEL_HPP_BINARY(mul, KEL_Dmut, KEL_Smut)
KEL_HPP_BINARY(div, KEL_Ddiv, KEL_Sdiv)
#undef KEL_HPP_BINARY

// 1 greater, 2 less, 0 equal or unordered.
inline int32_t compare(double a, double b) { return KEL_Dcmp(&a, &b); }
inline int32_t compare(float a, float b) { return KEL_Scmp(&a, &b); }

inline double log(double x) { double r = 0; KEL_DLog(&r, &x); return r; }
inline float log(float x) { float r = 0; KEL_SLog(&r, &x); return r; }
inline double log10(double x) { double r = 0; KEL_DLog10(&r, &x); return r; }
inline float log10(float x) { float r = 0; KEL_SLog10(&r, &x); return r; }
inline double sqrt(double x) { double r = 0; KEL_DSqrt(&r, &x); return r; }
inline float sqrt(float x) { float r = 0; KEL_DSqrtf(&r, &x); return r; }
inline double ceil(double x) { double r = 0; KEL_Dceil(&x, &r); return r; }
inline double exp(double x) { double r = 0; KEL_DExp(&x, &r); return r; }
inline double pow(double base, double exponent) { double r = 0; KEL_AddPowForKavri(&base, &exponent, &r); return r; }
// Empty for a zero denominator, which the library reports and leaves unstored.
inline std::optional<double> ratio(uint32_t numerator, uint32_t denominator) {
  double r = -1;  // no quotient of two unsigned integers is negative
  KEL_IntMut(numerator, denominator, &r);
  if (r < 0) return std::nullopt;
  return r;
}

// The library's parser; *consumed (when given) receives the length read.
inline double parse(const char *text, std::size_t *consumed = nullptr) {
  char *end = nullptr;
  const double value = KEL_SoftStr2Float(text, &end);
  if (consumed != nullptr) *consumed = end != nullptr ? static_cast<std::size_t>(end - text) : 0;
  return value;
}
inline float parse_float(const char *text) { float r = 0; KEL_Seva(&r, text); return r; }

// Conversions with the library's fixed results: kel::convert<int32_t>(2.5).
namespace detail {
#define KEL_HPP_CONVERT(fn, From, To) \
  inline void convert(const From *src, To *dst) { fn(src, dst); }
KEL_HPP_CONVERT(KEL_Double2Ushort, double, uint16_t)
KEL_HPP_CONVERT(KEL_Double2Short, double, int16_t)
KEL_HPP_CONVERT(KEL_Double2Int32, double, int32_t)
KEL_HPP_CONVERT(KEL_Double2Uint32, double, uint32_t)
KEL_HPP_CONVERT(KEL_Double2Int64, double, int64_t)
KEL_HPP_CONVERT(KEL_Double2Uint64, double, uint64_t)
KEL_HPP_CONVERT(KEL_Float2Int32, float, int32_t)
KEL_HPP_CONVERT(KEL_Float2Uint32, float, uint32_t)
KEL_HPP_CONVERT(KEL_Float2Double, float, double)
KEL_HPP_CONVERT(KEL_Int322Double, int32_t, double)
KEL_HPP_CONVERT(KEL_Uint322Double, uint32_t, double)
KEL_HPP_CONVERT(KEL_Short2Double, int16_t, double)
KEL_HPP_CONVERT(KEL_Ushort2Double, uint16_t, double)
KEL_HPP_CONVERT(KEL_Int642Double, int64_t, double)
KEL_HPP_CONVERT(KEL_Uint642Double, uint64_t, double)
KEL_HPP_CONVERT(KEL_Int322Float, int32_t, float)
KEL_HPP_CONVERT(KEL_Uint322Float, uint32_t, float)
#undef KEL_HPP_CONVERT
}  // namespace detail

template <typename To, typename From>
To convert(From value) {
  To out{};
  detail::convert(&value, &out);
  return out;
}

}  // namespace kel

#endif /* KELSOFT_HPP */
