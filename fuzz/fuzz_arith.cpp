// Checked arithmetic: the stored result is the plain operation's, and the
// hook hears exactly the reports the operands call for.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>

#include "fuzz_support.h"
#include "kelsoft.h"

namespace {

int reports = 0;
void count(const char *, int32_t, const char *) { ++reports; }

template <typename T>
using Op = void (*)(T *, const T *, const T *);

template <typename T>
void check(FuzzedDataProvider &in, const Op<T> (&ops)[4], int32_t (*cmp)(const T *, const T *)) {
  const T a = in.ConsumeFloatingPoint<T>();
  const T b = in.ConsumeFloatingPoint<T>();
  const int op = in.ConsumeIntegralInRange(0, 4);
  if (op == 4) {
    kel_fuzz::require(cmp(&a, &b) == (a > b ? 1 : a < b ? 2 : 0), "comparison code");
    kel_fuzz::require(reports == 0, "a comparison never reports");
    return;
  }
  const T expected[] = {a + b, a - b, a * b, a / b};
  T r = 0;
  ops[op](&r, &a, &b);
  const int illegal = op == 3 && (b == 0 || std::isnan(b));
  const int faults = std::isnan(r) || std::isinf(r);
  kel_fuzz::require(kel_fuzz::same_bits(r, expected[op]) || (std::isnan(r) && std::isnan(expected[op])),
                    "stored result");
  kel_fuzz::require(reports == illegal + faults, "one report per fault");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzedDataProvider in(data, size);
  KEL_FloatAssertReg(count);
  reports = 0;
  if (in.ConsumeBool()) {
    check<double>(in, {KEL_Dadd, KEL_Dsub, KEL_Dmut, KEL_Ddiv}, KEL_Dcmp);
  } else {
    check<float>(in, {KEL_Sadd, KEL_Ssub, KEL_Smut, KEL_Sdiv}, KEL_Scmp);
  }
  return 0;
}
