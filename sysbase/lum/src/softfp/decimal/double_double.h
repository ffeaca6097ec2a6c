// The parser's extended precision: the accumulator its chain (chain.cpp)
// and the chain's tables are computed in.
//
// The PowerPC target's long double is a double-double (hi, lo) whose + and *
// are computed by the compiler runtime. Where long double is something else,
// DoubleDouble repeats that runtime's algorithms operation for operation, so
// the parser gives the target's bits on every host.
#ifndef KEL_DECIMAL_DOUBLE_DOUBLE_H
#define KEL_DECIMAL_DOUBLE_DOUBLE_H

#include <bit>
#include <cmath>

#include "../target_nan.h"

namespace kel {

struct DoublePair {
  double hi, lo;
};

class DoubleDouble {
 public:
  constexpr DoubleDouble(double value = 0.0) : hi_(value), lo_(0.0) {}
  constexpr DoubleDouble(DoublePair p) : hi_(p.hi), lo_(p.lo) {}

  // Already rounded to nearest: the value's double is its high part.
  constexpr explicit operator double() const { return hi_; }
  constexpr DoublePair pair() const { return {hi_, lo_}; }
  constexpr DoubleDouble operator-() const { return DoublePair{-hi_, -lo_}; }

  friend DoubleDouble operator+(DoubleDouble x, DoubleDouble y) { return add(x.hi_, x.lo_, y.hi_, y.lo_); }
  friend DoubleDouble operator*(DoubleDouble x, DoubleDouble y) { return mul(x.hi_, x.lo_, y.hi_, y.lo_); }

  // The same bits as *this * DoubleDouble(10), without a call to fma: 10a is
  // 8a + 2a, both exact, so the error of t is their exact two-sum error, and
  // a * 0 + b * 10 needs no fusing.
  DoubleDouble times_ten() const {
    const double a = hi_;
    const double t = a * 10;
    if (t == 0 || !finite(t)) return made(t, a, 10.0);
    const double eight = a * 8, two = a * 2;  // finite, since t is
    const double back = t - eight;
    const double error = (eight - (t - back)) + (two - back);
    const double tau = (a * 0.0 + lo_ * 10) + error;
    const double u = t + tau;
    if (!finite(u)) return u;
    return DoublePair{u, (t - u) + tau};
  }

 private:
  static bool finite(double v) { return std::isfinite(v); }

  // Not symmetric: the left operand is (a, aa).
  static DoubleDouble add(double a, double aa, double c, double cc) {
    double z = a + c;
    if (!finite(z)) return add_overflowed(a, aa, c, cc, z);
    const double q = a - z;
    const double zz = (((q + c) + (a - (q + z))) + aa) + cc;
    if (zz == 0) return z;
    const double hi = z + zz;
    if (!finite(hi)) return hi;
    return DoublePair{hi, (z - hi) + zz};
  }

  // The high parts overflowed: the low parts may still bring the sum back.
  // Low parts are finite, so only the high parts' sum can be NaN.
  static DoubleDouble add_overflowed(double a, double aa, double c, double cc, double z) {
    if (std::isnan(z)) return target_nan({a, c});
    z = ((cc + aa) + c) + a;
    if (!finite(z)) return z;
    const double zz = aa + cc;
    const double lo = std::fabs(a) > std::fabs(c) ? ((a - z) + c) + zz : ((c - z) + a) + zz;
    return DoublePair{z, lo};
  }

  // The target's runtime is built with contraction: a * d + b * c is one fma.
  static DoubleDouble mul(double a, double b, double c, double d) {
    const double t = a * c;
    if (t == 0 || !finite(t)) return made(t, a, c);
    const double error = std::fma(a, c, -t);  // exact: what t lost
    const double cross = std::fma(a, d, b * c);
    const double tau = cross + error;
    const double u = t + tau;
    if (!finite(u)) return u;
    return DoublePair{u, (t - u) + tau};
  }

  double hi_, lo_;
};

#if __LDBL_MANT_DIG__ == 106
using Extended = long double;
inline Extended from_pair(DoublePair p) { return std::bit_cast<long double>(p); }
inline Extended times_ten(Extended x) { return x * 10.0L; }
inline DoublePair to_pair(Extended x) { return std::bit_cast<DoublePair>(x); }
#else
using Extended = DoubleDouble;
constexpr Extended from_pair(DoublePair p) { return p; }
inline Extended times_ten(Extended x) { return x.times_ten(); }
constexpr DoublePair to_pair(Extended x) { return x.pair(); }
#endif

}  // namespace kel

#endif
