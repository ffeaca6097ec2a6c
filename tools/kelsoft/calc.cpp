// calc OPERATION OPERANDS...: the checked arithmetic, comparison and
// elementary functions. Reports are printed by the hook as they arrive.
#include <cstdio>

#include "kelsoft.h"
#include "values.h"

namespace tool {
namespace {

// One adapter per argument shape; the function's type picks it.
template <typename T>
int call(void (*f)(T *, const T *, const T *), Args args) {
  return compute<T, T, T>(args, f);
}

template <typename T>
int call(void (*f)(T *, const T *), Args args) {
  return compute<T, T>(args, f);
}

template <typename T>
int call(int32_t (*f)(const T *, const T *), Args args) {
  T left, right;
  if (!read_all(args, left, right)) return kUsage;
  static const char *const meaning[] = {"equal or unordered", "greater", "less"};
  const int32_t c = f(&left, &right);
  std::printf("result: %d (%s)\n", static_cast<int>(c), c >= 0 && c <= 2 ? meaning[c] : "null address");
  return 0;
}

int call(void (*f)(const double *, double *), Args args) {
  return compute<double, double>(args, [f](double *r, const double *x) { f(x, r); });
}

int call(void (*f)(const double *, const double *, double *), Args args) {
  return compute<double, double, double>(args, [f](double *r, const double *b, const double *e) { f(b, e, r); });
}

int call(void (*f)(uint32_t, uint32_t, double *), Args args) {
  return compute<double, uint32_t, uint32_t>(args,
                                             [f](double *r, const uint32_t *n, const uint32_t *d) { f(*n, *d, r); });
}

template <auto F>
int run(Args args) {
  return call(F, args);
}

#define KEL_CALC(name) \
  { #name, run < KEL_##name> }
constexpr Function kTable[] = {
    KEL_CALC(Dadd),  KEL_CALC(Dsub),  KEL_CALC(Dmut),   KEL_CALC(Ddiv),           KEL_CALC(Dcmp),
    KEL_CALC(Sadd),  KEL_CALC(Ssub),  KEL_CALC(Smut),   KEL_CALC(Sdiv),           KEL_CALC(Scmp),
    KEL_CALC(SLog),  KEL_CALC(DLog),  KEL_CALC(SLog10), KEL_CALC(DLog10),         KEL_CALC(DSqrtf),
    KEL_CALC(DSqrt), KEL_CALC(Dceil), KEL_CALC(DExp),   KEL_CALC(AddPowForKavri), KEL_CALC(IntMut),
};
#undef KEL_CALC

}  // namespace

const std::span<const Function> kCalcFunctions = kTable;

void print_report(const char *file, int32_t line, const char *name) {
  std::printf("report: %s:%d %s\n", file, static_cast<int>(line), name);
}

}  // namespace tool
