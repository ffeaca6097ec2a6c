// The NaN the target stores where an operation's result is NaN: the first NaN
// operand, quieted, else the default NaN. PowerPC's default NaN is positive,
// x86's negative, and an optimiser may swap the operands of + and *, so every
// build decides it here rather than leaving it to the processor.
#ifndef KEL_TARGET_NAN_H
#define KEL_TARGET_NAN_H

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <initializer_list>

// Excess precision (x87 code on 32-bit x86) would change the bits of every
// operation here: such a build must use SSE2 (-msse2 -mfpmath=sse).
#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
#error "libkelsoft needs FLT_EVAL_METHOD == 0: on 32-bit x86 build with -msse2 -mfpmath=sse"
#endif

namespace kel {

template <typename T>
struct NanBits;
template <>
struct NanBits<float> {
  using Word = uint32_t;
  static constexpr Word kQuiet = 0x00400000u, kDefault = 0x7FC00000u;
};
template <>
struct NanBits<double> {
  using Word = uint64_t;
  static constexpr Word kQuiet = 0x0008000000000000u, kDefault = 0x7FF8000000000000u;
};

template <typename T>
T target_nan(std::initializer_list<T> operands) {
  using Bits = NanBits<T>;
  for (const T x : operands)
    if (std::isnan(x)) return std::bit_cast<T>(std::bit_cast<typename Bits::Word>(x) | Bits::kQuiet);
  return std::bit_cast<T>(Bits::kDefault);
}

// The result of one operation on x and y, with the target's NaN.
template <typename T>
T made(T result, T x, T y) {
  return std::isnan(result) ? target_nan<T>({x, y}) : result;
}

}  // namespace kel

#endif
