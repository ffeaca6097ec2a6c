// Conversions among 16- and 32-bit integers, float and double.
#include <bit>
#include <cstring>

#include "kelsoft.h"
#include "truncate.h"

namespace {

// Both 16-bit conversions keep the low half of the 32-bit truncation;
// nothing saturates at 16 bits.
uint16_t low16(const double *source) { return static_cast<uint16_t>(kel::truncate32(source)); }

// The low half of the 64-bit truncation, which inside (-2^31, 2^31) the
// 32-bit one gives, without the 64-bit conversion's call on 32-bit machines.
uint32_t low32(const double *source) {
  if ((kel::high_word(source) & 0x7FFFFFFFu) < 0x41E00000u) [[likely]]  // |x| < 2^31
    return static_cast<uint32_t>(static_cast<int32_t>(*source));
  return static_cast<uint32_t>(kel::truncate64(source));
}

// On the bits, with no constant from memory. At and above 2^31 a float is
// an integer: its significand shifted left by 8 below 2^32, all ones from
// 2^32 to infinity.
uint32_t float_to_uint32(const float *source) {
  uint32_t bits;
  std::memcpy(&bits, source, sizeof bits);
  if ((bits & 0x7FFFFFFFu) < 0x4F000000u) [[likely]]  // |x| < 2^31
    return static_cast<uint32_t>(static_cast<int32_t>(*source));
  if (bits < 0x4F800000u) return ((bits & 0x7FFFFFu) | 0x800000u) << 8;
  if (bits <= 0x7F800000u) return 0xFFFFFFFFu;
  return 0x80000000u;  // NaN, x <= -2^31
}

// Rounded once: every 32-bit integer is exact in a double.
template <typename Int>
float to_float(Int v) {
  return static_cast<float>(static_cast<double>(v));
}

// A NaN is widened on its bits, read again from memory: loading a
// signalling NaN as a float may quiet it, and x86's widening instruction
// always does.
[[gnu::noinline, gnu::cold]] double widen_nan(const float *source) {
  uint32_t bits;
  std::memcpy(&bits, source, sizeof bits);
  const uint64_t sign = static_cast<uint64_t>(bits >> 31) << 63;
  const uint64_t fraction = static_cast<uint64_t>(bits & 0x7FFFFFu) << 29;
  return std::bit_cast<double>(sign | 0x7FF0000000000000u | fraction);
}

double widen(const float *source) {
  const float value = *source;
  if (value != value) [[unlikely]]
    return widen_nan(source);
  return value;
}

}  // namespace

extern "C" {

void KEL_Double2Ushort(const double *src, uint16_t *dst) {
  if (src == nullptr || dst == nullptr) return;
  *dst = low16(src);
}

void KEL_Double2Short(const double *src, int16_t *dst) { *dst = static_cast<int16_t>(low16(src)); }

void KEL_Double2Int32(const double *src, int32_t *dst) {
  if (src == nullptr || dst == nullptr) return;
  *dst = kel::truncate32(src);
}

void KEL_Float2Int32(const float *src, int32_t *dst) { *dst = kel::truncate32(src); }

void KEL_Float2Uint32(const float *src, uint32_t *dst) {
  if (src == nullptr || dst == nullptr) return;
  *dst = float_to_uint32(src);
}

void KEL_Double2Uint32(const double *src, uint32_t *dst) { *dst = low32(src); }

void KEL_Int322Double(const int32_t *src, double *dst) {
  if (src == nullptr || dst == nullptr) return;
  *dst = *src;
}

void KEL_Uint322Double(const uint32_t *src, double *dst) {
  if (src == nullptr || dst == nullptr) return;
  *dst = *src;
}

void KEL_Short2Double(const int16_t *src, double *dst) { *dst = *src; }

void KEL_Ushort2Double(const uint16_t *src, double *dst) {
  if (src == nullptr || dst == nullptr) return;
  *dst = *src;
}

void KEL_Int322Float(const int32_t *src, float *dst) { *dst = to_float(*src); }

void KEL_Uint322Float(const uint32_t *src, float *dst) {
  if (src == nullptr || dst == nullptr) return;
  *dst = to_float(*src);
}

void KEL_Float2Double(const float *src, double *dst) { *dst = widen(src); }

}  // extern "C"
