// Conversions between double and 64-bit integers.
#include <type_traits>

#include "kelsoft.h"
#include "truncate.h"

namespace {

// Both halves are exact in a double, so the one addition is the only
// rounding; no reliance on how the C runtime converts 64-bit integers.
template <typename Int64>
double to_double(Int64 v) {
  using High = std::conditional_t<std::is_signed_v<Int64>, int32_t, uint32_t>;
  const double high = static_cast<High>(v >> 32);
  const double low = static_cast<uint32_t>(v);
  return high * 0x1p32 + low;
}

}  // namespace

extern "C" {

void KEL_Double2Int64(const double *src, int64_t *dst) { *dst = static_cast<int64_t>(kel::truncate64(src)); }
void KEL_Double2Uint64(const double *src, uint64_t *dst) { *dst = kel::truncate64(src); }
void KEL_Int642Double(const int64_t *src, double *dst) { *dst = to_double(*src); }
void KEL_Uint642Double(const uint64_t *src, double *dst) { *dst = to_double(*src); }

}  // extern "C"
