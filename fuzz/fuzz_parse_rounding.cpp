// The parser's rounding steps against its chain on any text: where round64
// or round128 decides, the chain gives the same bits.
#include "fuzz_support.h"
#include "round64.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const auto text = kel_fuzz::heap_text(std::string(reinterpret_cast<const char *>(data), size));
  const auto *start = reinterpret_cast<const unsigned char *>(text.get());
  bool negative;
  const kel::Number n = kel::scan_number(kel::skip_blanks_and_sign(start, negative), start);
  const double chain = static_cast<double>(kel::chain_value(n));
  for (const double rounded : {kel::round64(n), kel::round64_cut(n), kel::round128(n)})
    kel_fuzz::require(rounded != rounded || kel_fuzz::same_bits(rounded, chain), "the rounding gives the chain's bits");
  return 0;
}
