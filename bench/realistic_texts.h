// Texts shaped like the numbers of real data files, made from any source of
// uniform integers (`r(n)` in [0, n)), with integer arithmetic only, so that
// one seed gives the same texts on every machine.
//
// Real files (measurements, prices, coordinates, printed doubles) hold every
// length of significand: about two thirds have 1 to 9 significant digits, a
// third 10 or more, one in eleven 18 to 21 (doubles printed in full), and
// about 9 % are in exponent form. The weights below are per thousand texts.
// Of the texts without exponent a quarter are integers; the others put the
// point after 0 to 6 of the digits (after none: `0.`, sometimes with leading
// zeros), with at least one fraction digit; a fifth are negative.
#ifndef KEL_BENCH_REALISTIC_TEXTS_H
#define KEL_BENCH_REALISTIC_TEXTS_H

#include <string>

namespace kel_bench {

// Significant digits 1 to 21: weights per thousand (sum 1000; 10+: 333; 18+: 91).
constexpr unsigned kDigitWeights[21] = {90, 100, 100, 90, 80, 70, 60, 45, 32, 30, 28,
                                        27, 27,  28,  32, 35, 35, 20, 22, 24, 25};
constexpr unsigned kExponentPerThousand = 90;

template <typename R>
void realistic_text(std::string &t, R &&r) {
  unsigned pick = r(1000), digits = 1;
  for (unsigned w : kDigitWeights) {
    if (pick < w) break;
    pick -= w;
    ++digits;
  }
  if (r(5) == 0) t += '-';
  std::string s;
  for (unsigned i = 0; i < digits; ++i) s += static_cast<char>('0' + (i == 0 ? 1 + r(9) : r(10)));
  if (r(1000) < kExponentPerThousand) {  // 6.02214076e+23, 1.5e-05, 3E8
    if (digits > 1) s.insert(1, 1, '.');
    t += s;
    t += r(4) == 0 ? 'E' : 'e';
    const unsigned sign = r(3), exponent = r(40);
    t += sign == 0 ? "-" : (sign == 1 ? "+" : "");
    if (exponent < 10 && r(2) == 0) t += '0';
    t += std::to_string(exponent);
    return;
  }
  if (r(4) == 0 && digits <= 19) {  // an integer
    t += s;
    return;
  }
  const unsigned integer = r(digits < 7 ? digits : 7);
  if (integer == 0) {
    t += "0.";
    if (r(3) == 0) t.append(1 + r(3), '0');
    t += s;
  } else {
    t += s.substr(0, integer);
    t += '.';
    t += s.substr(integer);
  }
}

}  // namespace kel_bench

#endif
