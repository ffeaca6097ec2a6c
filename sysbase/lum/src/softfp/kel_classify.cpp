#include "fault_check.h"

extern "C" int32_t KEL_FPCLASSIFY_Check(const float *value) {
  if (value == nullptr) return 1;
  return kel::is_fault(*value) ? 1 : 0;
}
