// Float-to-integer truncations with fixed results for NaN and out-of-range
// values: the processor's own instructions disagree there (x86 gives the
// "integer indefinite", PowerPC saturates) and the language leaves it undefined.
#ifndef KEL_TRUNCATE_H
#define KEL_TRUNCATE_H

#include <cstdint>

namespace kel {

// Toward zero; NaN and x <= -2^31 give INT32_MIN, x >= 2^31 gives INT32_MAX.
// A float takes part with its exact value, widened.
int32_t truncate32(double x);

// Toward zero modulo 2^64; NaN gives 0x8000000080000000, x >= 2^64 all ones,
// x <= -2^64 the value 1.
uint64_t truncate64(double x);

}  // namespace kel

#endif
