// Helpers of the unit tests: the report recorder of kelsoft.hpp, and bit-level
// comparison of values.
#ifndef KEL_TESTS_HOOK_RECORDER_H
#define KEL_TESTS_HOOK_RECORDER_H

#include <cstring>

#include "kelsoft.hpp"

namespace kel_test {

using Report = kel::Report;

// The names that reports of infinite and NaN results and of illegal operands
// carry.
inline constexpr const char *kInf = "FP_INFINITE";
inline constexpr const char *kNan = "FP_NAN";
inline constexpr const char *kIll = "PARA IN ILLEGAL";

// Registers a recording hook and restores the previous hook on destruction.
using HookRecorder = kel::ReportRecorder;

// Same bits, or both NaN: the NaN a processor makes differs between x86 and
// PowerPC, so computed NaNs are compared by kind only.
template <typename T>
bool same_value(T a, T b) {
  if (a != a && b != b) return true;
  return std::memcmp(&a, &b, sizeof a) == 0;
}

template <typename To, typename From>
To bits(From v) {
  static_assert(sizeof(To) == sizeof(From));
  To out;
  std::memcpy(&out, &v, sizeof out);
  return out;
}

}  // namespace kel_test

#endif
