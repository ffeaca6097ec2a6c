// The checked elementary functions against the C library's functions called
// from a plain function of this program (built with -fno-builtin, as the
// library's unit is).
#include <cmath>

#include "count_main.h"
#include "kelsoft.h"

namespace {

using count::Entry;
using count::keep;
using count::loop;

double dx[16] = {0.5, 1.5, 123456.75, 4e9, 2.1e-9, 3, 7.9, 65535.5, 1e-3, 1e6, 42.42, 3.9e19, 123, 99.99, 1.1, 0.25};
float fx[16] = {0.5f,  1.5f, 123456.75f, 4e9f,    2.1e-9f, 3,      7.9f, 65535.5f,
                1e-3f, 1e6f, 42.42f,     3.9e19f, 123,     99.99f, 1.1f, 0.25f};
double ex[16] = {-0.5, 1.5, -12.75, 4, 2.1e-9, 3, -7.9, 6.5, 1e-3, -10, 42.42, 0.9, -1.23, 9.99, 1.1, -0.25};
double pb[16] = {0.5, 1.5, 1.75, 4, 2.1, 3, 7.9, 6.5, 1e-3, 1e-1, 1.42, 0.9, 1.23, 9.99, 1.1, 0.25};
uint32_t num[16] = {1, 7, 123456, 4000000000u, 2100000000, 3, 7, 65535, 1, 1000000, 42, 3900000000u, 123, 99, 1, 17};
uint32_t den[16] = {3, 2, 10, 7, 1000, 9, 11, 13, 1, 17, 19, 23, 29, 31, 37, 41};
double dr;
float fr;

template <typename T, T (*Fn)(T)>
[[gnu::noinline, gnu::noipa]] void plain(T *r, const T *x) {
  *r = Fn(*x);
}
[[gnu::noinline, gnu::noipa]] void plain_pow(const double *b, const double *e, double *r) { *r = pow(*b, *e); }
[[gnu::noinline, gnu::noipa]] void plain_div(uint32_t n, uint32_t d, double *r) {
  *r = static_cast<double>(n) / static_cast<double>(d);
}

#define RESULT_FIRST(name, T, x, r, fn)                                                                     \
  Entry {                                                                                                   \
#name, loop < [](unsigned k) { name(&r, &x[k]); }>, loop < [](unsigned k) { plain<T, fn>(&r, &x[k]); }> \
  }
#define SOURCE_FIRST(name, fn)                                                                                       \
  Entry {                                                                                                            \
#name, loop < [](unsigned k) { name(&ex[k], &dr); }>, loop < [](unsigned k) { plain<double, fn>(&dr, &ex[k]); }> \
  }

const Entry kEntries[] = {
    RESULT_FIRST(KEL_SLog, float, fx, fr, logf),
    RESULT_FIRST(KEL_DLog, double, dx, dr, log),
    RESULT_FIRST(KEL_SLog10, float, fx, fr, log10f),
    RESULT_FIRST(KEL_DLog10, double, dx, dr, log10),
    RESULT_FIRST(KEL_DSqrtf, float, fx, fr, sqrtf),
    RESULT_FIRST(KEL_DSqrt, double, dx, dr, sqrt),
    SOURCE_FIRST(KEL_Dceil, ceil),
    SOURCE_FIRST(KEL_DExp, exp),
    {"KEL_AddPowForKavri", loop<[](unsigned k) { KEL_AddPowForKavri(&pb[k], &ex[k], &dr); }>,
     loop<[](unsigned k) { plain_pow(&pb[k], &ex[k], &dr); }>},
    {"KEL_IntMut", loop<[](unsigned k) { KEL_IntMut(num[k], den[k], &dr); }>,
     loop<[](unsigned k) { plain_div(num[k], den[k], &dr); }>},
};

}  // namespace

int main(int argc, char **argv) {
  return count::run(argc, argv, kEntries, loop<[](unsigned k) { keep(&dx[k], &dr); }>);
}
