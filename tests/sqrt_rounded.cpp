// The library's own square root against the C library's, bit for bit (both
// are correctly rounded): the ends of its ranges, exact squares, arguments
// next to the square of a midpoint between two doubles, where rounding is
// hardest, and random bit patterns; floats through the double root.
//   sqrt_rounded COUNT   COUNT operands of each kind
#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <type_traits>

#include "rng.h"
#include "sqrt_rounded.h"

namespace {

int failures = 0;

template <typename T>
void check(T x) {
  using Word = std::conditional_t<sizeof(T) == 8, uint64_t, uint32_t>;
  const T ours = static_cast<T>(kel::sqrt_rounded(x)), libm = std::sqrt(x);
  if (std::bit_cast<Word>(ours) == std::bit_cast<Word>(libm) || (ours != ours && libm != libm) || ++failures > 10) return;
  std::printf("sqrt(%a): %a, the C library %a\n", static_cast<double>(x), static_cast<double>(ours),
              static_cast<double>(libm));
}

}  // namespace

int main(int argc, char **argv) {
  const long count = argc > 1 ? std::atol(argv[1]) : 1000000;
  for (const double x : std::initializer_list<double>{0.0, -0.0, 0x1p-1074, 0x1p-1022, 0x1.fffffffffffffp-601, 0x1p-600, 1.0, 2.0, 4.0,
                         0x1.fffffffffffffp1023, -1.0, INFINITY, -INFINITY, NAN})
    for (const double y : {std::nextafter(x, -INFINITY), x, std::nextafter(x, INFINITY)}) check(y);
  kel_rng::Rng rng(25);
  for (long i = 0; i < count; ++i) {
    check(std::bit_cast<double>(rng.next()));
    check(std::bit_cast<float>(static_cast<uint32_t>(rng.next())));
    // A random root c: its square rounded, the exact square of its first
    // 26 bits, and the arguments around the square of the midpoint above c.
    const double c = std::bit_cast<double>((rng.next() >> 2) + 0x1000000000000000u);
    const double head = std::bit_cast<double>(std::bit_cast<uint64_t>(c) & ~uint64_t{0x7FFFFFF});
    check(c * c);
    check(head * head);
    double x = std::fma(c, c, c * (std::nextafter(c, INFINITY) - c));
    x = std::nextafter(std::nextafter(x, 0), 0);
    for (int k = 0; k < 5; ++k, x = std::nextafter(x, INFINITY)) check(x);
  }
  std::printf("sqrt_rounded: %ld operands of each kind, %d differ from the C library\n", count, failures);
  return failures != 0;
}
