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
int faults(T value) {
  return std::isnan(value) || std::isinf(value) ? 1 : 0;
}

template <typename T>
void check(FuzzedDataProvider &in, void (*add)(T *, const T *, const T *), void (*sub)(T *, const T *, const T *),
           void (*mut)(T *, const T *, const T *), void (*div)(T *, const T *, const T *),
           int32_t (*cmp)(const T *, const T *)) {
  const T a = in.ConsumeFloatingPoint<T>();
  const T b = in.ConsumeFloatingPoint<T>();
  T r = 0;
  T expected = 0;
  int illegal = 0;
  switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0:
      add(&r, &a, &b);
      expected = a + b;
      break;
    case 1:
      sub(&r, &a, &b);
      expected = a - b;
      break;
    case 2:
      mut(&r, &a, &b);
      expected = a * b;
      break;
    case 3:
      div(&r, &a, &b);
      expected = a / b;
      illegal = b == 0 || std::isnan(b);
      break;
    default: {
      const int32_t code = cmp(&a, &b);
      kel_fuzz::require(code == (a > b ? 1 : a < b ? 2 : 0), "comparison code");
      kel_fuzz::require(reports == 0, "a comparison never reports");
      return;
    }
  }
  kel_fuzz::require(kel_fuzz::same_bits(r, expected) || (std::isnan(r) && std::isnan(expected)), "stored result");
  kel_fuzz::require(reports == illegal + faults(r), "one report per fault");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzedDataProvider in(data, size);
  KEL_FloatAssertReg(count);
  reports = 0;
  if (in.ConsumeBool()) {
    check<double>(in, KEL_Dadd, KEL_Dsub, KEL_Dmut, KEL_Ddiv, KEL_Dcmp);
  } else {
    check<float>(in, KEL_Sadd, KEL_Ssub, KEL_Smut, KEL_Sdiv, KEL_Scmp);
  }
  return 0;
}
