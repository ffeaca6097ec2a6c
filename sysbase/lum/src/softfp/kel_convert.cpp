// Conversions among 16- and 32-bit integers, float and double.
#include <bit>
#include <cstring>

#include "kelsoft.h"
#include "truncate.h"

namespace {

// Both 16-bit conversions keep the low half of the 32-bit truncation;
// nothing saturates at 16 bits.
uint16_t low16(double x) { return static_cast<uint16_t>(kel::truncate32(x)); }

// At and above 2^31 the float is shifted down by 2^31 (exactly, below 2^32)
// and shifted back in modulo 2^32: 2^32 and above come out all ones.
uint32_t float_to_uint32(float x) {
  if ((std::bit_cast<uint32_t>(x) & 0x7FFFFFFFu) < std::bit_cast<uint32_t>(0x1p31f)) [[likely]]
    return static_cast<uint32_t>(static_cast<int32_t>(x));  // |x| < 2^31
  if (x >= 0x1p31f) return static_cast<uint32_t>(kel::truncate32(x - 0x1p31f)) + 0x80000000u;
  return 0x80000000u;  // NaN, x <= -2^31
}

// Rounded once: every 32-bit integer is exact in a double.
template <typename Int>
float to_float(Int v) {
  return static_cast<float>(static_cast<double>(v));
}

// Works on the bits: loading a signalling NaN as a float may quiet it, and
// x86's widening instruction always does.
double widen(uint32_t bits) {
  if ((bits & 0x7FFFFFFFu) > 0x7F800000u) {
    const uint64_t sign = static_cast<uint64_t>(bits >> 31) << 63;
    const uint64_t fraction = static_cast<uint64_t>(bits & 0x7FFFFFu) << 29;
    return std::bit_cast<double>(sign | 0x7FF0000000000000u | fraction);
  }
  return static_cast<double>(std::bit_cast<float>(bits));
}

}  // namespace

extern "C" {

void KEL_Double2Ushort(const double *src, uint16_t *dst) {
  if (src == nullptr || dst == nullptr) return;
  *dst = low16(*src);
}

void KEL_Double2Short(const double *src, int16_t *dst) { *dst = static_cast<int16_t>(low16(*src)); }

void KEL_Double2Int32(const double *src, int32_t *dst) {
  if (src == nullptr || dst == nullptr) return;
  *dst = kel::truncate32(src);
}

void KEL_Float2Int32(const float *src, int32_t *dst) { *dst = kel::truncate32(*src); }

void KEL_Float2Uint32(const float *src, uint32_t *dst) {
  if (src == nullptr || dst == nullptr) return;
  *dst = float_to_uint32(*src);
}

void KEL_Double2Uint32(const double *src, uint32_t *dst) { *dst = static_cast<uint32_t>(kel::truncate64(*src)); }

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

void KEL_Float2Double(const float *src, double *dst) {
  uint32_t bits;
  std::memcpy(&bits, src, sizeof bits);
  *dst = widen(bits);
}

}  // extern "C"
