// LUM_StrToUpper and LUM_StrToLower on any text, with exact-size heap buffers:
// nothing is read past the terminator nor written past the size or count,
// and exactly the ASCII letters in reach change case.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "fuzz_support.h"
#include "kelsoft.h"

namespace {

unsigned char upper(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }
unsigned char lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

void check_upper(const std::string &source, uint32_t size) {
  const auto src = kel_fuzz::heap_text(source);
  const size_t length = std::strlen(src.get());
  const std::unique_ptr<unsigned char[]> dst(new unsigned char[size]);
  LUM_StrToUpper(src.get(), reinterpret_cast<char *>(dst.get()), size);
  const size_t kept = std::min<size_t>(length, size - 1);
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
  const std::string text = in.ConsumeRemainingBytesAsString();
  check_upper(text, dst_size);
  check_lower(text, count);
  return 0;
}
