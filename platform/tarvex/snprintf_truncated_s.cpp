#include <cstdarg>
#include <cstdio>

#include "tarvex.h"

extern "C" int snprintf_truncated_s(char *dest, size_t destsz, const char *format, ...) {
  if (dest == nullptr || format == nullptr || destsz == 0) return -1;
  va_list args;
  va_start(args, format);
  const int full = std::vsnprintf(dest, destsz, format, args);
  va_end(args);
  if (full < 0) {
    dest[0] = '\0';
    return -1;
  }
  // vsnprintf has already cut and terminated; report what is really there.
  const size_t written = static_cast<size_t>(full) < destsz ? static_cast<size_t>(full) : destsz - 1;
  return static_cast<int>(written);
}
