// Values to and from byte buffers: native byte order, any alignment. The
// bytes never pass through a floating-point register, so signalling NaNs,
// payloads and -0.0 arrive as they left.
#include <cstring>

#include "kelsoft.h"

namespace {

template <size_t N>
void copy_bytes(const void *src, void *dst) {
  if (src == nullptr || dst == nullptr) return;
  std::memcpy(dst, src, N);
}

}  // namespace

extern "C" {

void KEL_Buff2Float(const void *buffer, float *dst) { copy_bytes<sizeof(float)>(buffer, dst); }
void KEL_Buff2Double(const void *buffer, double *dst) { copy_bytes<sizeof(double)>(buffer, dst); }
void KEL_Float2Buff(const float *src, void *buffer) { copy_bytes<sizeof(float)>(src, buffer); }
void KEL_Double2Buff(const double *src, void *buffer) { copy_bytes<sizeof(double)>(src, buffer); }

}  // extern "C"
