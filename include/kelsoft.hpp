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
    if (active() != nullptr)
      active()->reports_.push_back({file != nullptr ? file : "", line, name != nullptr ? name : ""});
  }

  ReportRecorder *outer_;
  std::vector<Report> reports_;
  ScopedHook hook_;
};

namespace detail {
// Calls a function that takes the result address first, returns the result.
template <typename T, typename... A>
T result_first(void (*f)(T *, const A *...), A... args) {
  T r{};
  f(&r, &args...);
  return r;
}
template <typename T>
T result_last(void (*f)(const T *, T *), T x) {
  T r{};
  f(&x, &r);
  return r;
}
}  // namespace detail

// Checked arithmetic and comparison; faults reach the hook as from the C calls.
inline double add(double a, double b) { return detail::result_first(KEL_Dadd, a, b); }
inline float add(float a, float b) { return detail::result_first(KEL_Sadd, a, b); }
inline double sub(double a, double b) { return detail::result_first(KEL_Dsub, a, b); }
inline float sub(float a, float b) { return detail::result_first(KEL_Ssub, a, b); }
inline double mul(double a, double b) { return detail::result_first(KEL_Dmut, a, b); }
inline float mul(float a, float b) { return detail::result_first(KEL_Smut, a, b); }
inline double div(double a, double b) { return detail::result_first(KEL_Ddiv, a, b); }
inline float div(float a, float b) { return detail::result_first(KEL_Sdiv, a, b); }
// 1 greater, 2 less, 0 equal or unordered.
inline int32_t compare(double a, double b) { return KEL_Dcmp(&a, &b); }
inline int32_t compare(float a, float b) { return KEL_Scmp(&a, &b); }

inline double log(double x) { return detail::result_first(KEL_DLog, x); }
inline float log(float x) { return detail::result_first(KEL_SLog, x); }
inline double log10(double x) { return detail::result_first(KEL_DLog10, x); }
inline float log10(float x) { return detail::result_first(KEL_SLog10, x); }
inline double sqrt(double x) { return detail::result_first(KEL_DSqrt, x); }
inline float sqrt(float x) { return detail::result_first(KEL_DSqrtf, x); }
inline double ceil(double x) { return detail::result_last(KEL_Dceil, x); }
inline double exp(double x) { return detail::result_last(KEL_DExp, x); }
inline double pow(double base, double exponent) {
  double r = 0;
  KEL_AddPowForKavri(&base, &exponent, &r);
  return r;
}
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
inline float parse_float(const char *text) {
  float r = 0;
  KEL_Seva(&r, text);
  return r;
}

// Conversions with the library's fixed results: kel::convert<int32_t>(2.5).
namespace detail {
inline void convert(const double *src, uint16_t *dst) { KEL_Double2Ushort(src, dst); }
inline void convert(const double *src, int16_t *dst) { KEL_Double2Short(src, dst); }
inline void convert(const double *src, int32_t *dst) { KEL_Double2Int32(src, dst); }
inline void convert(const double *src, uint32_t *dst) { KEL_Double2Uint32(src, dst); }
inline void convert(const double *src, int64_t *dst) { KEL_Double2Int64(src, dst); }
inline void convert(const double *src, uint64_t *dst) { KEL_Double2Uint64(src, dst); }
inline void convert(const float *src, int32_t *dst) { KEL_Float2Int32(src, dst); }
inline void convert(const float *src, uint32_t *dst) { KEL_Float2Uint32(src, dst); }
inline void convert(const float *src, double *dst) { KEL_Float2Double(src, dst); }
inline void convert(const int16_t *src, double *dst) { KEL_Short2Double(src, dst); }
inline void convert(const uint16_t *src, double *dst) { KEL_Ushort2Double(src, dst); }
inline void convert(const int32_t *src, double *dst) { KEL_Int322Double(src, dst); }
inline void convert(const uint32_t *src, double *dst) { KEL_Uint322Double(src, dst); }
inline void convert(const int64_t *src, double *dst) { KEL_Int642Double(src, dst); }
inline void convert(const uint64_t *src, double *dst) { KEL_Uint642Double(src, dst); }
inline void convert(const int32_t *src, float *dst) { KEL_Int322Float(src, dst); }
inline void convert(const uint32_t *src, float *dst) { KEL_Uint322Float(src, dst); }
}  // namespace detail

template <typename To, typename From>
To convert(From value) {
  To out{};
  detail::convert(&value, &out);
  return out;
}

}  // namespace kel

#endif /* KELSOFT_HPP */
