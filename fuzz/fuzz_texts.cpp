// The functions that read a text, on any text in an exact-size heap copy, so
// that AddressSanitizer stops a read past the terminator (the last two bytes
// of an input are the sizes, the rest is the text):
// - KEL_SoftStr2Float, KEL_Deva, KEL_Seva: the end lies within the text, the
//   assigning variants store the parser's value, and a number that parsed
//   stops where nothing can continue it: the text cut at the end parses to
//   the same bits;
// - LUM_StrToUint32: it answers 0 or 22, stores 0 on failure, and succeeds
//   exactly when a decimal digit follows the leading white space and an
//   optional sign; short plain numbers keep their value;
// - LUM_StrToUpper and LUM_StrToLower, with exact-size buffers: nothing is
//   written past the size or count, and exactly the ASCII letters in reach
//   change case.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "fuzz_support.h"
#include "kelsoft.h"

namespace {

bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }
bool is_space(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
unsigned char upper(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }
unsigned char lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

void no_report(const char *, int32_t, const char *) { kel_fuzz::require(false, "no text function reports"); }

void check_parse(const char *start) {
  char *end = nullptr;
  const double value = KEL_SoftStr2Float(start, &end);
  kel_fuzz::require(end >= start && end <= start + std::strlen(start), "end within the text");

  double d = 1;
  float f = 1;
  KEL_Deva(&d, start);
  KEL_Seva(&f, start);
  kel_fuzz::require(kel_fuzz::same_bits(d, value), "KEL_Deva stores the parser's value");
  const float narrowed = static_cast<float>(value);
  kel_fuzz::require(kel_fuzz::same_bits(f, narrowed) || (std::isnan(f) && std::isnan(narrowed)),
                    "KEL_Seva stores the float rounding of the parser's value");

  if (end != start) {
    kel_fuzz::require(!is_digit(*end), "a parsed number does not stop at a digit");
    const auto prefix = kel_fuzz::heap_text(std::string(start, static_cast<size_t>(end - start)));
    char *prefix_end = nullptr;
    const double again = KEL_SoftStr2Float(prefix.get(), &prefix_end);
    kel_fuzz::require(prefix_end == prefix.get() + (end - start), "the consumed text parses to its end");
    kel_fuzz::require(kel_fuzz::same_bits(again, value), "the consumed text alone gives the same value");
  }
}

void check_uint32(const char *text) {
  uint32_t value = 12345;
  const int32_t status = LUM_StrToUint32(text, &value);
  kel_fuzz::require(status == 0 || status == 22, "status is 0 or 22");
  if (status == 22) kel_fuzz::require(value == 0, "a failed parse stores 0");

  // The digits of a number that starts the text, if one does.
  const auto *p = reinterpret_cast<const unsigned char *>(text);
  while (is_space(*p)) ++p;
  const bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  kel_fuzz::require((status == 0) == is_digit(*p), "success exactly when a number starts the text");
  if (is_digit(*p) && !negative) {
    uint32_t expected = 0;
    int count = 0;
    for (; is_digit(*p) && count < 10; ++p, ++count) expected = expected * 10 + (*p - '0');
    if (count < 10) kel_fuzz::require(value == expected, "a number of up to nine digits keeps its value");
  }
}

void check_upper(const char *src, uint32_t size) {
  const std::unique_ptr<unsigned char[]> dst(new unsigned char[size]);
  LUM_StrToUpper(src, reinterpret_cast<char *>(dst.get()), size);
  const size_t kept = std::min<size_t>(std::strlen(src), size - 1);
  for (size_t i = 0; i < kept; ++i) {
    kel_fuzz::require(dst[i] == upper(static_cast<unsigned char>(src[i])), "upper-case copy");
  }
  kel_fuzz::require(dst[kept] == '\0', "terminator right after the copy");
}

void check_lower(const std::string &source, uint32_t count) {
  const auto str = kel_fuzz::heap_text(source);
  const size_t length = std::strlen(str.get());
  LUM_StrToLower(str.get(), count);
  for (size_t i = 0; i <= source.size(); ++i) {
    const auto before = static_cast<unsigned char>(i < source.size() ? source[i] : '\0');
    const bool in_reach = i < length && i < count;
    kel_fuzz::require(static_cast<unsigned char>(str[i]) == (in_reach ? lower(before) : before),
                      "lowered in reach, untouched beyond");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzedDataProvider in(data, size);
  const auto dst_size = in.ConsumeIntegralInRange<uint32_t>(1, 80);
  const auto count = in.ConsumeIntegralInRange<uint32_t>(0, 80);
  const std::string input = in.ConsumeRemainingBytesAsString();
  const auto text = kel_fuzz::heap_text(input);
  KEL_FloatAssertReg(no_report);
  check_parse(text.get());
  check_uint32(text.get());
  check_upper(text.get(), dst_size);
  check_lower(input, count);
  return 0;
}
