// The parser's one rounding against its chain on any text: where the one
// rounding decides, the chain gives the same bits and stops at the same place.
#include "fuzz_support.h"
#include "parse_paths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const auto text = kel_fuzz::heap_text(std::string(reinterpret_cast<const char *>(data), size));
  const auto *start = reinterpret_cast<const unsigned char *>(text.get());
  const unsigned char *p = start, *fast_end = nullptr, *chain_end = nullptr;
  while (*p == ' ') ++p;
  p += *p == '-' || *p == '+';
  const kel::Parsed one = kel::parse_one_rounding(p);
  if (one.end == nullptr) return 0;
  const double fast = one.value;
  fast_end = one.end;
  const double chain = static_cast<double>(kel::parse_chain(p, start, &chain_end));
  kel_fuzz::require(kel_fuzz::same_bits(fast, chain), "the one rounding gives the chain's bits");
  kel_fuzz::require(fast_end == chain_end, "the one rounding stops where the chain stops");
  return 0;
}
