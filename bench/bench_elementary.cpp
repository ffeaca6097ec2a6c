// Checked elementary functions against the C library's, called out of line.
#include "bench_support.h"
#include "plain_ops.h"

namespace {

using kel_bench::add;
using kel_bench::add_checked;
using kel_bench::Hook;

float fr, fx = 2.5f, fneg = -1.0f;
double dr, dx = 2.5, dy = 0.75, dneg = -1.0;
uint32_t num = 7, den = 2;

void register_all() {
  add_checked(
      "SLog", [] { plain::slog(&fr, &fx); }, [] { KEL_SLog(&fr, &fx); });
  add_checked(
      "DLog", [] { plain::dlog(&dr, &dx); }, [] { KEL_DLog(&dr, &dx); });
  add_checked(
      "SLog10", [] { plain::slog10(&fr, &fx); }, [] { KEL_SLog10(&fr, &fx); });
  add_checked(
      "DLog10", [] { plain::dlog10(&dr, &dx); }, [] { KEL_DLog10(&dr, &dx); });
  add_checked(
      "DSqrtf", [] { plain::ssqrt(&fr, &fx); }, [] { KEL_DSqrtf(&fr, &fx); });
  add_checked(
      "DSqrt", [] { plain::dsqrt(&dr, &dx); }, [] { KEL_DSqrt(&dr, &dx); });
  add_checked(
      "Dceil", [] { plain::dceil(&dx, &dr); }, [] { KEL_Dceil(&dx, &dr); });
  add_checked(
      "DExp", [] { plain::dexp(&dx, &dr); }, [] { KEL_DExp(&dx, &dr); });
  add_checked(
      "AddPowForKavri", [] { plain::dpow(&dx, &dy, &dr); }, [] { KEL_AddPowForKavri(&dx, &dy, &dr); });
  add_checked(
      "IntMut", [] { plain::intdiv(num, den, &dr); }, [] { KEL_IntMut(num, den, &dr); });

  // A bad argument: a domain report, then the NaN result's.
  add("DLog/faulting", Hook::registered, [] { KEL_DLog(&dr, &dneg); });
  add("DSqrtf/faulting", Hook::registered, [] { KEL_DSqrtf(&fr, &fneg); });
}

const bool registered = (register_all(), true);

}  // namespace
