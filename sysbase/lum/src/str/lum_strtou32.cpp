#include <cerrno>

#include "kelsoft.h"
#include "tarvex.h"

// The C library's "%u" differs between 64- and 32-bit platforms above
// UINT32_MAX; libtarvex's scanner gives one answer on all of them.
extern "C" int32_t LUM_StrToUint32(const char *text, uint32_t *result) {
  if (text == nullptr || result == nullptr) return EINVAL;
  uint32_t value = 0;
  if (sscanf_s(text, "%u", &value) > 0) {
    *result = value;
    return 0;
  }
  *result = 0;
  return EINVAL;
}
