// The library calls its own exported functions through their exported names,
// so that a process's definition replaces them. This executable defines each
// of them: the definition notes its call and hands it to the library's own
// (the next definition), and every row of the table says which of them one
// call must reach, with what.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "kelsoft.h"
#include "tarvex.h"

namespace {

std::string seen;

void note(const char *name, const std::string &what) { seen += std::string(name) + "(" + what + ") "; }

template <typename F>
F *next(const char *name) {
  return reinterpret_cast<F *>(dlsym(RTLD_NEXT, name));
}

template <typename R>
R forward(const char *name, int32_t arg) {
  note(name, std::to_string(arg));
  return next<R(int32_t)>(name)(arg);
}

std::string formatted(const char *format, va_list args) {
  char text[256];
  std::vsnprintf(text, sizeof text, format, args);
  return text;
}

}  // namespace

extern "C" {

void KEL_SoftfpAssert(int32_t code) { forward<void>("KEL_SoftfpAssert", code); }
const char *KEL_GetTypeChar(int32_t code) { return forward<const char *>("KEL_GetTypeChar", code); }
int32_t LUM_CharIsLower(int32_t c) { return forward<int32_t>("LUM_CharIsLower", c); }
int32_t LUM_CharIsUpper(int32_t c) { return forward<int32_t>("LUM_CharIsUpper", c); }
int32_t LUM_CharToUpper(int32_t c) { return forward<int32_t>("LUM_CharToUpper", c); }
int32_t LUM_CharToLower(int32_t c) { return forward<int32_t>("LUM_CharToLower", c); }

double KEL_SoftStr2Float(const char *text, char **end) {
  note("KEL_SoftStr2Float", std::string(text) + (end == nullptr ? ", null" : ", end"));
  return next<double(const char *, char **)>("KEL_SoftStr2Float")(text, end);
}

// The log line and the formatter are variadic: noted, not handed on.
void LUM_syslog(const char *format, ...) {
  va_list args;
  va_start(args, format);
  note("LUM_syslog", formatted(format, args));
  va_end(args);
}

int snprintf_truncated_s(char *, size_t size, const char *format, ...) {
  va_list args;
  va_start(args, format);
  char value[32];
  std::snprintf(value, sizeof value, "%a", va_arg(args, double));
  va_end(args);
  note("snprintf_truncated_s", std::to_string(size) + ", " + format + ", " + value);
  return -1;
}

void __vsyslog_chk(int priority, int flag, const char *format, va_list args) {
  note("__vsyslog_chk", std::to_string(priority) + ", " + std::to_string(flag) + ", " + formatted(format, args));
}

}  // extern "C"

namespace {

void quiet(const char *, int32_t, const char *) {}

const double zero = 0, one = 1, minus = -1, big = 1000, inf = 1 / zero, nan = zero / zero, tenth = -0.1;
const float fzero = 0, fminus = -4, fbig = 3e38f, ftenth = 0.1f;
double r;
float f;
char buf[8];

// A report: the assert, and the assert asking for its name.
#define REPORT(code) "KEL_SoftfpAssert(" #code ") KEL_GetTypeChar(" #code ") "

const struct {
  void (*call)();
  const char *reached;
} kTable[] = {
    {[] { KEL_Ddiv(&r, &one, &zero); }, REPORT(-1) REPORT(1)},
    {[] { KEL_Dsub(&r, &inf, &inf); }, REPORT(0)},
    {[] { KEL_Sdiv(&f, &fzero, &fzero); }, REPORT(-1) REPORT(0)},
    {[] { KEL_Sadd(&f, &fbig, &fbig); }, REPORT(1)},
    {[] { KEL_DLog(&r, &zero); }, REPORT(-1) REPORT(1)},
    {[] { KEL_DSqrtf(&f, &fminus); }, REPORT(-1) REPORT(0)},
    {[] { KEL_Dceil(&nan, &r); }, REPORT(0)},
    {[] { KEL_DExp(&big, &r); }, REPORT(1)},
    {[] { KEL_AddPowForKavri(&zero, &minus, &r); }, REPORT(1)},
    {[] { KEL_IntMut(1, 0, &r); }, REPORT(-1)},
    {[] { KEL_Deva(&r, "2.5"); }, "KEL_SoftStr2Float(2.5, null) "},
    {[] { KEL_Seva(&f, "2.5"); }, "KEL_SoftStr2Float(2.5, null) "},
    {[] { KEL_Deva(&r, nullptr); }, ""},
    {[] { next<double(const char *, char **)>("KEL_SoftStr2Float")(nullptr, nullptr); },
     "LUM_syslog(FUNC(KEL_SoftStr2Float) return 0 , Line(101).\n) "},
    {[] { next<void(const char *, ...)>("LUM_syslog")("%s=%d %.1f", "x", 7, 0.25); }, "__vsyslog_chk(6, 1, x=7 0.2) "},
    {[] { LUM_StrToUpper("a!", buf, sizeof buf); },
     "LUM_CharToUpper(97) LUM_CharIsLower(97) LUM_CharToUpper(33) LUM_CharIsLower(33) "},
    {[] { LUM_StrToLower(std::strcpy(buf, "AB!"), 2); },
     "LUM_CharToLower(65) LUM_CharIsUpper(65) LUM_CharToLower(66) LUM_CharIsUpper(66) "},
    {[] { KEL_Double2Ascii(&tenth, buf, 0); }, "snprintf_truncated_s(0, %f, -0x1.999999999999ap-4) "},
    {[] { KEL_Double2String(&tenth, buf, 65536); }, "snprintf_truncated_s(65536, %.14f, -0x1.999999999999ap-4) "},
    {[] { KEL_Float2String(&ftenth, buf, 7); }, "snprintf_truncated_s(7, %f, 0x1.99999ap-4) "},
    {[] { KEL_Double2String2(&tenth, buf, 1, "%+.3g"); }, "snprintf_truncated_s(1, %+.3g, -0x1.999999999999ap-4) "},
    {[] {
       KEL_Double2Ascii(nullptr, buf, sizeof buf);  // null addresses never reach the formatter
       KEL_Double2String(nullptr, buf, sizeof buf);
       KEL_Float2String(nullptr, buf, sizeof buf);
       KEL_Double2String2(nullptr, buf, sizeof buf, "%f");
       KEL_Double2String2(&tenth, buf, sizeof buf, nullptr);
       KEL_Double2Ascii(&tenth, nullptr, sizeof buf);
       KEL_Double2String(&tenth, nullptr, sizeof buf);
       KEL_Float2String(&ftenth, nullptr, sizeof buf);
       KEL_Double2String2(&tenth, nullptr, sizeof buf, "%f");
     },
     ""},
};

TEST(Interpose, InternalCallsReachTheProcessDefinitions) {
  KEL_FloatAssertReg(quiet);
  for (const auto &row : kTable) {
    seen.clear();
    row.call();
    EXPECT_EQ(seen, row.reached) << "row " << &row - kTable;
  }
}

}  // namespace
