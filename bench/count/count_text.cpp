// Classification, case helpers, the unsigned parser and formatting, against
// plain functions of this program or the C library's own.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "count_main.h"
#include "kelsoft.h"

namespace {

using count::Entry;
using count::keep;
using count::loop;

float fv[16] = {0.5f, -1.5f, 1e30f, 1e-40f, 0, 3, -7.9f, 65535.5f, 1e-3f, -1e6f, 42.42f, 7e8f, -123, 99.99f, 1, -0.25f};
double dv[16] = {0.5, -1.5, 123456.75, -2e9, 2.1e9, 3, -7.9, 65535.5, 1e-3, -1e6, 42.42, 7e8, -123, 99.99, 1, -0.25};
int32_t chars[16] = {'a', 'Z', '0', 'q', ' ', 'm', 'M', '~', 'z', 'A', 'k', '\n', 'x', 'B', '_', 'c'};
const char *const kNumbers[16] = {"0",   "1",       "42",    "65535", "4294967295", "123456", "7",   "99",
                                  "100", "3000000", "12345", "8",     "77777",      "31",     "256", "1024"};
const char *const kTexts[16] = {"-123.4567890", "19.99", "6.02214076e23", "1.5e-7", "42",  "-0.001",
                                "3.14159",      "1e10",  "2.5",           "-7",     "0.1", "100.5",
                                "1e-3",         "8.75",  "-1.25",         "65536"};
constexpr char kSentence[] = "The quick brown fox jumps over the lazy dog 0123456789";
char buffer[64];
double dr;
float fr;
int32_t ir;
uint32_t ur;

[[gnu::noinline, gnu::noipa]] int32_t plain_check(const float *v) { return std::isfinite(*v) ? 0 : 1; }
[[gnu::noinline, gnu::noipa]] int32_t plain_is_lower(int32_t c) { return c >= 'a' && c <= 'z'; }
[[gnu::noinline, gnu::noipa]] int32_t plain_is_upper(int32_t c) { return c >= 'A' && c <= 'Z'; }
[[gnu::noinline, gnu::noipa]] int32_t plain_to_upper(int32_t c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }
[[gnu::noinline, gnu::noipa]] int32_t plain_to_lower(int32_t c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }
[[gnu::noinline, gnu::noipa]] void plain_str_upper(const char *src, char *dst, uint32_t size) {
  uint32_t i = 0;
  for (; src[i] != '\0' && i + 1 < size; ++i) dst[i] = static_cast<char>(plain_to_upper(src[i]));
  dst[i] = '\0';
}
[[gnu::noinline, gnu::noipa]] void plain_str_lower(char *str, uint32_t count) {
  for (uint32_t i = 0; i < count && str[i] != '\0'; ++i) str[i] = static_cast<char>(plain_to_lower(str[i]));
}
[[gnu::noinline, gnu::noipa]] void plain_strtou32(const char *text, uint32_t *r) {
  *r = static_cast<uint32_t>(std::strtoul(text, nullptr, 10));
}
[[gnu::noinline, gnu::noipa]] void plain_format(const double *v, char *b, size_t size, const char *format) {
  std::snprintf(b, size, format, *v);
}

#define CHAR(name, plain)                                                                                    \
  Entry {                                                                                                    \
#name, loop < [](unsigned k) { ir = name(chars[k]); }>, loop < [](unsigned k) { ir = plain(chars[k]); }> \
  }

const Entry kEntries[] = {
    {"KEL_FPCLASSIFY_Check", loop<[](unsigned k) { ir = KEL_FPCLASSIFY_Check(&fv[k]); }>,
     loop<[](unsigned k) { ir = plain_check(&fv[k]); }>},
    {"KEL_GetTypeChar", loop<[](unsigned k) { keep(KEL_GetTypeChar(static_cast<int32_t>(k % 5))); }>, nullptr},
    CHAR(LUM_CharIsLower, plain_is_lower),
    CHAR(LUM_CharIsUpper, plain_is_upper),
    CHAR(LUM_CharToUpper, plain_to_upper),
    CHAR(LUM_CharToLower, plain_to_lower),
    // Per call: a 54-character sentence, or the 63 letters of buffer.
    {"LUM_StrToUpper", loop<[](unsigned) { LUM_StrToUpper(kSentence, buffer, sizeof buffer); }>,
     loop<[](unsigned) { plain_str_upper(kSentence, buffer, sizeof buffer); }>},
    {"LUM_StrToLower", loop<[](unsigned) { LUM_StrToLower(buffer, sizeof buffer); }>,
     loop<[](unsigned) { plain_str_lower(buffer, sizeof buffer); }>},
    {"LUM_StrToUint32", loop<[](unsigned k) { ir = LUM_StrToUint32(kNumbers[k], &ur); }>,
     loop<[](unsigned k) { plain_strtou32(kNumbers[k], &ur); }>},
    {"KEL_Deva", loop<[](unsigned k) { KEL_Deva(&dr, kTexts[k]); }>,
     loop<[](unsigned k) { dr = std::strtod(kTexts[k], nullptr); }>},
    {"KEL_Seva", loop<[](unsigned k) { KEL_Seva(&fr, kTexts[k]); }>,
     loop<[](unsigned k) { fr = std::strtof(kTexts[k], nullptr); }>},
    {"KEL_Double2Ascii", loop<[](unsigned k) { KEL_Double2Ascii(&dv[k], buffer, sizeof buffer); }>,
     loop<[](unsigned k) { plain_format(&dv[k], buffer, sizeof buffer, "%f"); }>},
    {"KEL_Float2String", loop<[](unsigned k) { KEL_Float2String(&fv[k], buffer, sizeof buffer); }>, nullptr},
    {"KEL_Double2String", loop<[](unsigned k) { KEL_Double2String(&dv[k], buffer, sizeof buffer); }>,
     loop<[](unsigned k) { plain_format(&dv[k], buffer, sizeof buffer, "%.14f"); }>},
    {"KEL_Double2String2", loop<[](unsigned k) { KEL_Double2String2(&dv[k], buffer, sizeof buffer, "%.3e"); }>,
     loop<[](unsigned k) { plain_format(&dv[k], buffer, sizeof buffer, "%.3e"); }>},
};

}  // namespace

int main(int argc, char **argv) {
  for (char &c : buffer) c = 'Q';
  buffer[sizeof buffer - 1] = '\0';
  return count::run(argc, argv, kEntries, loop<[](unsigned k) { keep(&fv[k], &ir); }>);
}
