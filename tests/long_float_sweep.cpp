#include "float_sweep.h"

namespace {

TEST(FloatSweepLong, EveryPattern) { EXPECT_EQ(kel_test::sweep(0, 0xFFFFFFFF, 1), 0u); }

}  // namespace
