/* The library's typical request: register a hook, divide 1.0 by 0.0, and look
 * at the reports and the stored quotient. Plain C99. */
#include <stdio.h>

#include "kelsoft.h"

static void print_report(const char *file, int32_t line, const char *name) {
  printf("report: %s:%d %s\n", file, (int)line, name);
}

int main(void) {
  const double one = 1.0;
  const double zero = 0.0;
  double r = 0.0;
  KEL_FloatAssertReg(print_report);
  KEL_Ddiv(&r, &one, &zero);
  printf("result: %f\n", r);
  return 0;
}
