// The parser's one rounding against its chain on any text: where the one
// rounding or its 128-bit step alone decides, the chain gives the same bits.
#include "fuzz_support.h"
#include "parse_paths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const auto text = kel_fuzz::heap_text(std::string(reinterpret_cast<const char *>(data), size));
  const auto *start = reinterpret_cast<const unsigned char *>(text.get());
  bool negative;
  const kel::Number n = kel::scan_number(kel::skip_blanks_and_sign(start, negative), start);
  const double chain = static_cast<double>(kel::parse_chain(n));
  for (const double one : {kel::parse_one_rounding(n), kel::round_wide(n)})
    kel_fuzz::require(one != one || kel_fuzz::same_bits(one, chain), "the one rounding gives the chain's bits");
  return 0;
}
