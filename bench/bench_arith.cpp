// Checked arithmetic against the same operation out of line, unchecked.
#include <limits>

#include "bench_support.h"
#include "plain_ops.h"

namespace {

using kel_bench::add;
using kel_bench::add_checked;
using kel_bench::Hook;

double dr, da = 1.5, db = 2.25, dbig = std::numeric_limits<double>::max(), dzero = 0.0;
float fr, fa = 1.5f, fb = 2.25f, fbig = std::numeric_limits<float>::max(), fzero = 0.0f;
int32_t cmp;

void register_all() {
  add_checked(
      "Dadd", [] { plain::dadd(&dr, &da, &db); }, [] { KEL_Dadd(&dr, &da, &db); });
  add_checked(
      "Dsub", [] { plain::dsub(&dr, &da, &db); }, [] { KEL_Dsub(&dr, &da, &db); });
  add_checked(
      "Dmut", [] { plain::dmut(&dr, &da, &db); }, [] { KEL_Dmut(&dr, &da, &db); });
  add_checked(
      "Ddiv", [] { plain::ddiv(&dr, &da, &db); }, [] { KEL_Ddiv(&dr, &da, &db); });
  add_checked(
      "Dcmp", [] { cmp = plain::dcmp(&da, &db); }, [] { cmp = KEL_Dcmp(&da, &db); });
  add_checked(
      "Sadd", [] { plain::sadd(&fr, &fa, &fb); }, [] { KEL_Sadd(&fr, &fa, &fb); });
  add_checked(
      "Ssub", [] { plain::ssub(&fr, &fa, &fb); }, [] { KEL_Ssub(&fr, &fa, &fb); });
  add_checked(
      "Smut", [] { plain::smut(&fr, &fa, &fb); }, [] { KEL_Smut(&fr, &fa, &fb); });
  add_checked(
      "Sdiv", [] { plain::sdiv(&fr, &fa, &fb); }, [] { KEL_Sdiv(&fr, &fa, &fb); });
  add_checked(
      "Scmp", [] { cmp = plain::scmp(&fa, &fb); }, [] { cmp = KEL_Scmp(&fa, &fb); });

  // What a report costs: one (overflow) or two (zero divisor) hook calls.
  add("Dadd/faulting", Hook::registered, [] { KEL_Dadd(&dr, &dbig, &dbig); });
  add("Ddiv/faulting", Hook::registered, [] { KEL_Ddiv(&dr, &da, &dzero); });
  add("Sadd/faulting", Hook::registered, [] { KEL_Sadd(&fr, &fbig, &fbig); });
  add("Sdiv/faulting", Hook::registered, [] { KEL_Sdiv(&fr, &fa, &fzero); });
}

const bool registered = (register_all(), true);

}  // namespace
