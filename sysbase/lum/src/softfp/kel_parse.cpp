// Decimal text to double, accumulated in extended precision and rounded once.
#include "kelsoft.h"
#include "parse_paths.h"

namespace {

double parse(const unsigned char *text, const unsigned char **end) {
  const unsigned char *p = text;
  while (*p == ' ') ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;

  double value;
  if (kel::parse_one_rounding(p, end, &value)) return negative ? -value : value;
  kel::Extended acc = kel::parse_chain(p, text, end);
  if (negative) acc = -acc;
  return static_cast<double>(acc);
}

}  // namespace

extern "C" double KEL_SoftStr2Float(const char *text, char **end) {
  if (text == nullptr) {
    LUM_syslog("FUNC(%s) return %d , Line(%d).\n", "KEL_SoftStr2Float", 0, 101);
    return 0.0;
  }
  const unsigned char *stop = nullptr;
  const double value = parse(reinterpret_cast<const unsigned char *>(text), &stop);
  if (end != nullptr) *end = const_cast<char *>(reinterpret_cast<const char *>(stop));
  return value;
}

extern "C" void KEL_Deva(double *result, const char *text) {
  if (result == nullptr || text == nullptr) return;
  *result = KEL_SoftStr2Float(text, nullptr);
}

extern "C" void KEL_Seva(float *result, const char *text) {
  if (result == nullptr || text == nullptr) return;
  *result = static_cast<float>(KEL_SoftStr2Float(text, nullptr));
}
