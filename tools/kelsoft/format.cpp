// format FUNCTION VALUE [FORMAT]: the text formatting functions.
#include <cstdio>
#include <cstring>

#include "kelsoft.h"
#include "values.h"

namespace tool {
namespace {

constexpr std::size_t kBufferSize = 512;

int print_text(const char *text) {
  std::printf("result: \"%s\"\n", text);
  return 0;
}

template <typename T>
int call(void (*f)(const T *, char *, std::size_t), Args args) {
  T value;
  if (!read_all(args, value)) return kUsage;
  char buffer[kBufferSize] = {};
  f(&value, buffer, sizeof buffer);
  return print_text(buffer);
}

// The format reaches the C formatter with one double: it must hold exactly one
// conversion of a double (flags, width and precision allowed, no '*').
bool one_double_conversion(const char *format) {
  int conversions = 0;
  for (const char *p = format; *p != '\0'; ++p) {
    if (*p != '%') continue;
    if (*++p == '%') continue;
    p += std::strspn(p, "-+ #0");
    p += std::strspn(p, "0123456789");
    if (*p == '.') p += 1 + std::strspn(p + 1, "0123456789");
    if (*p == '\0' || std::strchr("aAeEfFgG", *p) == nullptr) return false;
    ++conversions;
  }
  return conversions == 1;
}

int call(void (*f)(const double *, char *, std::size_t, const char *), Args args) {
  double value;
  if (args.size() != 2) return usage_error("expected a value and a format");
  if (!read_all(args.first(1), value)) return kUsage;
  if (!one_double_conversion(args[1]))
    return usage_error("the format must hold one conversion of a double, such as %%.3e");
  char buffer[kBufferSize] = {};
  f(&value, buffer, sizeof buffer, args[1]);
  return print_text(buffer);
}

constexpr Function kTable[] = {
    KEL_TOOL_ENTRY(Double2Ascii),
    KEL_TOOL_ENTRY(Float2String),
    KEL_TOOL_ENTRY(Double2String),
    KEL_TOOL_ENTRY(Double2String2),
};

}  // namespace

const std::span<const Function> kFormatFunctions = kTable;

}  // namespace tool
