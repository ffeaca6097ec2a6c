// The parser's fixed chains of extended operations, computed step by step:
// what gen_chain_tables prints as chain_tables.h.
#ifndef KEL_CHAIN_STEPS_H
#define KEL_CHAIN_STEPS_H

#include <array>

#include "double_double.h"

namespace kel_chains {

using kel::Extended;

inline constexpr int kTermDigits = 32;
inline constexpr int kPowerCount = 32;

// Read through volatile so that no compiler folds the target's operations.
inline Extended widen(double v) {
  volatile double in = v;
  return Extended(in);
}
inline Extended ten() { return widen(10.0); }
inline Extended tenth() { return widen(0x1.999999999999ap-4); }

struct Terms {
  std::array<std::array<Extended, 10>, kTermDigits> term;
  Extended scale_after;
};

inline Terms fraction_terms() {
  Terms t;
  Extended scale = widen(1.0);
  for (auto &row : t.term) {
    scale = scale * tenth();
    for (int d = 0; d < 10; ++d) row[d] = widen(d) * scale;
  }
  t.scale_after = scale;
  return t;
}

using Powers = std::array<Extended, kPowerCount>;

inline Powers powers(Extended base) {
  Powers p;
  p[0] = base;
  for (int i = 1; i < kPowerCount; ++i) p[i] = p[i - 1] * p[i - 1];
  return p;
}

}  // namespace kel_chains

#endif
