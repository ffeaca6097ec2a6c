// splitmix64: the one random generator of the generated calls and hard texts
// (and of the parser's own random tests). Seeds are the callers' own, so that
// every stream stays what it was.
#ifndef KELSOFT_TOOL_RNG_H
#define KELSOFT_TOOL_RNG_H

#include <cstdint>

namespace kel_rng {

constexpr uint64_t mix(uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

class Rng {
 public:
  explicit constexpr Rng(uint64_t state) : state_(state) {}
  uint64_t next() { return mix(state_ += 0x9E3779B97F4A7C15u); }
  // A number below n, of n's type.
  template <typename T>
  T below(T n) {
    return static_cast<T>(next() % static_cast<uint64_t>(n));
  }

 private:
  uint64_t state_;
};

}  // namespace kel_rng

#endif
