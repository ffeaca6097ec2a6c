// Formatting through the bounded formatter, against snprintf called directly.
#include "bench_support.h"
#include "plain_ops.h"

namespace {

using kel_bench::add;
using kel_bench::Hook;

double d = 1234.5678;
float f = 0.1f;
char buffer[64];

void register_all() {
  add("Double2Ascii/plain", Hook::none, [] { plain::double2ascii(&d, buffer, sizeof buffer); });
  add("Double2Ascii/checked", Hook::none, [] { KEL_Double2Ascii(&d, buffer, sizeof buffer); });
  add("Double2Ascii/cut", Hook::none, [] { KEL_Double2Ascii(&d, buffer, 4); });
  add("Float2String", Hook::none, [] { KEL_Float2String(&f, buffer, sizeof buffer); });
  add("Double2String", Hook::none, [] { KEL_Double2String(&d, buffer, sizeof buffer); });
  add("Double2String2/%.3e", Hook::none, [] { KEL_Double2String2(&d, buffer, sizeof buffer, "%.3e"); });
}

const bool registered = (register_all(), true);

}  // namespace
