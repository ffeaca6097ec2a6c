#include <iterator>

#include "kelsoft.h"

namespace {

// Indexed by the fpclassify number. FP_NORMAL has no name of its own.
constexpr const char *kClassNames[] = {"FP_NAN", "FP_INFINITE", "FP_ZERO", "FP_SUBNORMAL"};
constexpr const char *kIllegalName = "PARA IN ILLEGAL";

}  // namespace

extern "C" const char *KEL_GetTypeChar(int32_t code) {
  if (code < 0 || code >= static_cast<int32_t>(std::size(kClassNames))) return kIllegalName;
  return kClassNames[code];
}
