// ASCII case without a locale: only 'A'..'Z' and 'a'..'z' change; every other
// byte, 0x80..0xFF included, is its own case.
#include "kelsoft.h"

namespace {

constexpr uint32_t kCaseDistance = 'a' - 'A';

// Bytes below first wrap round to large values, so one unsigned comparison
// tests both ends of the alphabet.
int32_t in_alphabet(int32_t c, uint8_t first) {
  const auto offset = static_cast<uint8_t>(static_cast<uint32_t>(c) - first);
  return offset < 26 ? 1 : 0;
}

// Unsigned arithmetic: a replaced test may accept any int.
int32_t shifted_byte(int32_t c, uint32_t delta) { return static_cast<uint8_t>(static_cast<uint32_t>(c) + delta); }

}  // namespace

extern "C" int32_t LUM_CharIsLower(int32_t c) { return in_alphabet(c, 'a'); }

extern "C" int32_t LUM_CharIsUpper(int32_t c) { return in_alphabet(c, 'A'); }

// The mappings ask the exported tests, so that a process's own definition of
// a test changes the mapping as well.
extern "C" int32_t LUM_CharToUpper(int32_t c) {
  return LUM_CharIsLower(c) != 0 ? shifted_byte(c, 0u - kCaseDistance) : c;
}

extern "C" int32_t LUM_CharToLower(int32_t c) { return LUM_CharIsUpper(c) != 0 ? shifted_byte(c, kCaseDistance) : c; }
