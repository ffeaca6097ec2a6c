// Decimal text to double, accumulated in extended precision and rounded once.
#include "kelsoft.h"
#include "parse_paths.h"

namespace {

// Out of line: only the texts the one rounding leaves come here.
[[gnu::noinline]] kel::Parsed chain(const unsigned char *p, const unsigned char *text, bool negative) {
  kel::Parsed r;
  kel::Extended acc = kel::parse_chain(p, text, &r.end);
  if (negative) acc = -acc;
  r.value = static_cast<double>(acc);
  return r;
}

kel::Parsed parse(const unsigned char *text) {
  const unsigned char *p = text;
  while (*p == ' ') ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;

  kel::Parsed r = kel::parse_one_rounding(p);
  if (r.end == nullptr) return chain(p, text, negative);
  if (negative) r.value = -r.value;
  return r;
}

}  // namespace

extern "C" double KEL_SoftStr2Float(const char *text, char **end) {
  if (text == nullptr) {
    LUM_syslog("FUNC(%s) return %d , Line(%d).\n", "KEL_SoftStr2Float", 0, 101);
    return 0.0;
  }
  const kel::Parsed r = parse(reinterpret_cast<const unsigned char *>(text));
  if (end != nullptr) *end = const_cast<char *>(reinterpret_cast<const char *>(r.end));
  return r.value;
}

extern "C" void KEL_Deva(double *result, const char *text) {
  if (result == nullptr || text == nullptr) return;
  *result = KEL_SoftStr2Float(text, nullptr);
}

extern "C" void KEL_Seva(float *result, const char *text) {
  if (result == nullptr || text == nullptr) return;
  *result = static_cast<float>(KEL_SoftStr2Float(text, nullptr));
}
