// calc OPERATION OPERANDS...: the checked arithmetic, comparison and
// elementary functions. Each report the hook receives joins the answer, in
// order, before the result.
#include <string>

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
  const char *m = c >= 0 && c <= 2 ? meaning[c] : "null address";
  put("result", std::to_string(c) + " (" + m + ")", "result", std::to_string(c));
  put_json("meaning", json_string(m));
  return emit();
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

constexpr Function kTable[] = {
    KEL_TOOL_ENTRY(Dadd),   KEL_TOOL_ENTRY(Dsub),   KEL_TOOL_ENTRY(Dmut),           KEL_TOOL_ENTRY(Ddiv),
    KEL_TOOL_ENTRY(Dcmp),   KEL_TOOL_ENTRY(Sadd),   KEL_TOOL_ENTRY(Ssub),           KEL_TOOL_ENTRY(Smut),
    KEL_TOOL_ENTRY(Sdiv),   KEL_TOOL_ENTRY(Scmp),   KEL_TOOL_ENTRY(SLog),           KEL_TOOL_ENTRY(DLog),
    KEL_TOOL_ENTRY(SLog10), KEL_TOOL_ENTRY(DLog10), KEL_TOOL_ENTRY(DSqrtf),         KEL_TOOL_ENTRY(DSqrt),
    KEL_TOOL_ENTRY(Dceil),  KEL_TOOL_ENTRY(DExp),   KEL_TOOL_ENTRY(AddPowForKavri), KEL_TOOL_ENTRY(IntMut),
};

}  // namespace

const std::span<const Function> kCalcFunctions = kTable;

void put_report(const char *file, int32_t line, const char *name) {
  put("report", std::string(file) + ":" + std::to_string(line) + " " + name, "reports", json_string(name));
}

}  // namespace tool
