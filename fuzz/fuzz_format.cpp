// The formatting functions with small exact-size buffers: nothing is written
// past the size, and the buffer holds the start of what snprintf makes of the
// same value, terminated. KEL_Double2String2 gets formats built of literal
// text and one floating conversion with any flags, width and precision.
#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cstdio>

#include "fuzz_support.h"
#include "kelsoft.h"

namespace {

// Literal text without '%' (or a doubled one), one double conversion, literal text.
std::string make_format(FuzzedDataProvider &in) {
  const auto literal = [&in] {
    std::string s = in.ConsumeRandomLengthString(8);
    std::string out;
    for (char c : s) {
      if (c == '%') out += '%';
      if (c != '\0') out += c;
    }
    return out;
  };
  std::string format = literal() + '%';
  const auto flags = in.ConsumeIntegral<uint8_t>();
  for (int i = 0; i < 5; ++i) {
    if (flags & (1 << i)) format += "-+ #0"[i];
  }
  if (in.ConsumeBool()) format += std::to_string(in.ConsumeIntegralInRange(0, 99));
  if (in.ConsumeBool()) format += '.' + std::to_string(in.ConsumeIntegralInRange(0, 60));
  format += "fFeEgGaA"[in.ConsumeIntegralInRange(0, 7)];
  return format + literal();
}

void check(const std::unique_ptr<char[]> &buffer, size_t size, const char *format, double value) {
  if (size == 0) return;  // any write at all would have hit the redzone
  char full[512];
  const int n = std::snprintf(full, sizeof full, format, value);
  kel_fuzz::require(n >= 0 && static_cast<size_t>(n) < sizeof full, "reference fits");
  const size_t kept = std::min(static_cast<size_t>(n), size - 1);
  kel_fuzz::require(std::memcmp(buffer.get(), full, kept) == 0 && buffer[kept] == '\0',
                    "the buffer holds the start of the text, terminated");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzedDataProvider in(data, size);
  const size_t buffer_size = in.ConsumeIntegralInRange<size_t>(0, 48);
  const auto which = in.ConsumeIntegralInRange(0, 3);
  const std::string format = make_format(in);
  const auto bits = in.ConsumeIntegral<uint64_t>();
  const auto d = std::bit_cast<double>(bits);
  const auto f = std::bit_cast<float>(static_cast<uint32_t>(bits));

  // Each function, and what snprintf makes of the same value.
  const std::unique_ptr<char[]> buffer(new char[buffer_size]);
  const struct {
    const char *reference;
    double value;
  } made[] = {{"%f", d}, {"%f", f}, {"%.14f", d}, {format.c_str(), d}};
  if (which == 0) KEL_Double2Ascii(&d, buffer.get(), buffer_size);
  if (which == 1) KEL_Float2String(&f, buffer.get(), buffer_size);
  if (which == 2) KEL_Double2String(&d, buffer.get(), buffer_size);
  if (which == 3) KEL_Double2String2(&d, buffer.get(), buffer_size, format.c_str());
  check(buffer, buffer_size, made[which].reference, made[which].value);
  return 0;
}
