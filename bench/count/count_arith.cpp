// Checked arithmetic and comparison against the same operation in a plain
// function of this program.
#include "count_main.h"
#include "kelsoft.h"

namespace {

using count::Entry;
using count::keep;
using count::loop;

double da[16] = {1.5, -3.25, 1e10, 7e-5, 123.456, -0.001, 2.5e-300, 9e300, 42, -42, 0.1, 1e-10, 65536, -7.75, 3e8, 1};
double db[16] = {2.25, 8, -3e-3, 1e5, -0.5, 77.7, 3.5e-10, 1e-3, 6, 0.3, -1e20, 5, 1e-3, 12.5, -2, 3};
float fa[16] = {1.5f, -3.25f, 1e10f, 7e-5f,  123.456f, -0.001f, 2.5e-30f, 9e30f,
                42,   -42,    0.1f,  1e-10f, 65536,    -7.75f,  3e8f,     1};
float fb[16] = {2.25f, 8, -3e-3f, 1e5f, -0.5f, 77.7f, 3.5e-10f, 1e-6f, 6, 0.3f, -1e6f, 5, 1e-3f, 12.5f, -2, 3};
double dr;
float fr;
int32_t ir;

template <typename T>
[[gnu::noinline, gnu::noipa]] void add(T *r, const T *a, const T *b) {
  *r = *a + *b;
}
template <typename T>
[[gnu::noinline, gnu::noipa]] void sub(T *r, const T *a, const T *b) {
  *r = *a - *b;
}
template <typename T>
[[gnu::noinline, gnu::noipa]] void mul(T *r, const T *a, const T *b) {
  *r = *a * *b;
}
template <typename T>
[[gnu::noinline, gnu::noipa]] void div(T *r, const T *a, const T *b) {
  *r = *a / *b;
}
template <typename T>
[[gnu::noinline, gnu::noipa]] int32_t cmp(const T *a, const T *b) {
  return *a > *b ? 1 : *a < *b ? 2 : 0;
}

#define DOUBLE(name, plain)                                                                                            \
  Entry {                                                                                                              \
#name,                                                                                                             \
        loop < [](unsigned k) { name(&dr, &da[k], &db[k]); }>,                                                         \
                                                           loop <                                                      \
                                                               [](unsigned k) { plain<double>(&dr, &da[k], &db[k]); }> \
  }
#define FLOAT(name, plain)                                                                                            \
  Entry {                                                                                                             \
#name,                                                                                                            \
        loop < [](unsigned k) { name(&fr, &fa[k], &fb[k]); }>,                                                        \
                                                           loop <                                                     \
                                                               [](unsigned k) { plain<float>(&fr, &fa[k], &fb[k]); }> \
  }

const Entry kEntries[] = {
    DOUBLE(KEL_Dadd, add),
    DOUBLE(KEL_Dsub, sub),
    DOUBLE(KEL_Dmut, mul),
    DOUBLE(KEL_Ddiv, div),
    {"KEL_Dcmp", loop<[](unsigned k) { ir = KEL_Dcmp(&da[k], &db[k]); }>,
     loop<[](unsigned k) { ir = cmp<double>(&da[k], &db[k]); }>},
    FLOAT(KEL_Sadd, add),
    FLOAT(KEL_Ssub, sub),
    FLOAT(KEL_Smut, mul),
    FLOAT(KEL_Sdiv, div),
    {"KEL_Scmp", loop<[](unsigned k) { ir = KEL_Scmp(&fa[k], &fb[k]); }>,
     loop<[](unsigned k) { ir = cmp<float>(&fa[k], &fb[k]); }>},
};

}  // namespace

int main(int argc, char **argv) {
  return count::run(argc, argv, kEntries, loop<[](unsigned k) { keep(&dr, &da[k], &db[k]); }>);
}
