// The decimal parser on any text: it reads nothing past the terminator, its
// end lies within the text, the assigning variants store its value, and a
// number that parsed stops where nothing can continue it: the text cut at the
// end parses to the same bits.
#include <cmath>

#include "fuzz_support.h"
#include "kelsoft.h"

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

void no_report(const char *, int32_t, const char *) { kel_fuzz::require(false, "the parser never reports"); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  KEL_FloatAssertReg(no_report);
  const std::string input(reinterpret_cast<const char *>(data), size);
  const auto text = kel_fuzz::heap_text(input);
  const char *start = text.get();
  const size_t length = std::strlen(start);

  char *end = nullptr;
  const double value = KEL_SoftStr2Float(start, &end);
  kel_fuzz::require(end >= start && end <= start + length, "end within the text");

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
  return 0;
}
