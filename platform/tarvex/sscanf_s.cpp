// A scanner of our own: the C library's "%u" wraps on 64-bit hosts and
// saturates on the 32-bit target, and callers must see one answer everywhere.
#include <climits>
#include <cstdarg>
#include <cstdint>

#include "tarvex.h"

namespace {

bool is_space(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

const unsigned char *skip_space(const unsigned char *p) {
  while (is_space(*p)) ++p;
  return p;
}

// strtoul's rule on a 32-bit unsigned long: saturate on overflow, negate
// modulo 2^32 after a '-'. Returns null when no digit follows the sign.
const unsigned char *scan_unsigned(const unsigned char *p, unsigned *out) {
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  if (!is_digit(*p)) return nullptr;
  uint64_t value = 0;
  bool overflow = false;
  for (; is_digit(*p); ++p) {
    value = value * 10 + static_cast<uint64_t>(*p - '0');
    if (value > UINT_MAX) {
      overflow = true;
      value = UINT_MAX;
    }
  }
  if (overflow) {
    *out = UINT_MAX;
  } else {
    const auto magnitude = static_cast<unsigned>(value);
    *out = negative ? 0u - magnitude : magnitude;
  }
  return p;
}

int scan(const unsigned char *in, const unsigned char *fmt, va_list args) {
  int stored = 0;
  while (*fmt != '\0') {
    if (is_space(*fmt)) {
      in = skip_space(in);
      fmt = skip_space(fmt);
      continue;
    }
    if (fmt[0] == '%' && fmt[1] == 'u') {
      in = skip_space(in);
      if (*in == '\0') return stored == 0 ? -1 : stored;
      unsigned value = 0;
      in = scan_unsigned(in, &value);
      if (in == nullptr) return stored;
      *va_arg(args, unsigned *) = value;
      ++stored;
      fmt += 2;
      continue;
    }
    if (fmt[0] == '%' && fmt[1] == '%') {
      in = skip_space(in);  // "%%" is a conversion: it skips white space like "%u"
      ++fmt;
    } else if (fmt[0] == '%') {
      return stored;  // a conversion we do not offer
    }
    if (*in == '\0') return stored == 0 ? -1 : stored;
    if (*in != *fmt) return stored;
    ++in;
    ++fmt;
  }
  return stored;
}

}  // namespace

extern "C" int sscanf_s(const char *buffer, const char *format, ...) {
  if (buffer == nullptr || format == nullptr) return -1;
  va_list args;
  va_start(args, format);
  const int stored =
      scan(reinterpret_cast<const unsigned char *>(buffer), reinterpret_cast<const unsigned char *>(format), args);
  va_end(args);
  return stored;
}
