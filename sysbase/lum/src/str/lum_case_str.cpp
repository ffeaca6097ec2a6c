// Case conversion of strings, one character at a time through the exported
// mappings (a process may replace them).
#include "kelsoft.h"

namespace {

unsigned char mapped(int32_t (*map)(int32_t), unsigned char c) { return static_cast<unsigned char>(map(c)); }

}  // namespace

extern "C" void LUM_StrToLower(char *str, uint32_t count) {
  if (str == nullptr) return;
  auto *p = reinterpret_cast<unsigned char *>(str);
  for (; *p != '\0' && count != 0; ++p, --count) *p = mapped(LUM_CharToLower, *p);
}

// size counts the terminator. A size of 0 leaves no room even for that, so
// nothing is written.
extern "C" void LUM_StrToUpper(const char *src, char *dst, uint32_t size) {
  if (src == nullptr || size == 0) return;
  const auto *in = reinterpret_cast<const unsigned char *>(src);
  auto *out = reinterpret_cast<unsigned char *>(dst);
  uint32_t n = 0;
  for (; in[n] != '\0' && n < size - 1; ++n) out[n] = mapped(LUM_CharToUpper, in[n]);
  out[n] = '\0';
}
