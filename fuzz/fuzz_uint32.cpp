// LUM_StrToUint32 on any text: it reads nothing past the terminator, answers
// 0 or 22, stores 0 on failure, and succeeds exactly when a decimal digit
// follows the leading white space and an optional sign. Short plain numbers
// keep their value.
#include <cstdint>

#include "fuzz_support.h"
#include "kelsoft.h"

namespace {

bool is_space(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

// The digits of a number that starts the text, or null when none does.
const unsigned char *digits_after_prefix(const unsigned char *p, bool *negative) {
  while (is_space(*p)) ++p;
  *negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  return is_digit(*p) ? p : nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string input(reinterpret_cast<const char *>(data), size);
  const auto text = kel_fuzz::heap_text(input);
  uint32_t value = 12345;
  const int32_t status = LUM_StrToUint32(text.get(), &value);
  kel_fuzz::require(status == 0 || status == 22, "status is 0 or 22");
  if (status == 22) kel_fuzz::require(value == 0, "a failed parse stores 0");

  bool negative = false;
  const auto *digits = digits_after_prefix(reinterpret_cast<const unsigned char *>(text.get()), &negative);
  kel_fuzz::require((status == 0) == (digits != nullptr), "success exactly when a number starts the text");
  if (digits != nullptr && !negative) {
    uint32_t expected = 0;
    int count = 0;
    for (const auto *p = digits; is_digit(*p) && count < 10; ++p, ++count) expected = expected * 10 + (*p - '0');
    if (count < 10) kel_fuzz::require(value == expected, "a number of up to nine digits keeps its value");
  }
  return 0;
}
