// A sample of the float patterns; long_float_sweep.cpp checks all of them.
#include "float_sweep.h"

namespace {

TEST(FloatSweep, StridedSampleAndBoundaries) {
  // 4099 is odd, so the sample walks through every low-bit pattern.
  EXPECT_EQ(kel_test::sweep(0, 0xFFFFFFFF, 4099), 0u);
  const uint32_t boundaries[] = {
      0x00000000, 0x00800000,  // zero, subnormals, smallest normal
      0x3F800000,              // 1
      0x47000000, 0x47800000,  // 2^15, 2^16
      0x4F000000, 0x4F800000,  // 2^31, 2^32
      0x7F800000, 0x7FC00000,  // infinity, signalling and quiet NaNs
  };
  constexpr uint64_t kAround = 512;
  for (const uint32_t b : boundaries) {
    for (const uint64_t centre : {uint64_t{b}, uint64_t{b} | 0x80000000}) {
      const uint64_t first = centre > kAround ? centre - kAround : 0;
      EXPECT_EQ(kel_test::sweep(first, std::min<uint64_t>(centre + kAround, 0xFFFFFFFF), 1), 0u) << std::hex << centre;
    }
  }
  EXPECT_EQ(kel_test::sweep(0x7FFFFFFF - kAround, 0x7FFFFFFF, 1), 0u);
  EXPECT_EQ(kel_test::sweep(0xFFFFFFFF - kAround, 0xFFFFFFFF, 1), 0u);
}

}  // namespace
