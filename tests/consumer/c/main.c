/* A C99 program built against the installed library: the typical request, and
 * a function of the LUM_ unit, which reaches libtarvex. */
#include <stdio.h>
#include <string.h>

#include "kelsoft.h"

#define TEXT(x) #x
#define NUMBER(x) TEXT(x)
#define RELEASE NUMBER(KELSOFT_VERSION_MAJOR) "." NUMBER(KELSOFT_VERSION_MINOR) "." NUMBER(KELSOFT_VERSION_PATCH)
/* Built through the CMake package, the package's version. */
#ifndef PACKAGE_VERSION
#define PACKAGE_VERSION RELEASE
#endif

static int reports;
static const char *names[2];

static void record(const char *file, int32_t line, const char *name) {
  (void)file;
  (void)line;
  if (reports < 2) names[reports] = name;
  ++reports;
}

int main(void) {
  const double one = 1.0, zero = 0.0;
  double r = 0.0;
  uint32_t n = 0;
  KEL_FloatAssertReg(record);
  KEL_Ddiv(&r, &one, &zero);
  if (reports != 2 || strcmp(names[0], "PARA IN ILLEGAL") != 0 || strcmp(names[1], "FP_INFINITE") != 0 ||
      !(r > 1e308) || LUM_StrToUint32("42", &n) != 0 || n != 42 || strcmp(PACKAGE_VERSION, RELEASE) != 0) {
    printf("unexpected: %d reports, result %f, %u\n", reports, r, (unsigned)n);
    return 1;
  }
  puts("c consumer: ok " RELEASE);
  return 0;
}
