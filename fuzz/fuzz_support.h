// Shared by the fuzz targets: exact-size heap copies, so that AddressSanitizer
// catches a read or write one byte too far, and a check that stops the run.
#ifndef KEL_FUZZ_SUPPORT_H
#define KEL_FUZZ_SUPPORT_H

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace kel_fuzz {

// Aborts, so that libFuzzer keeps the input that broke the property.
inline void require(bool holds, const char *property) {
  if (holds) return;
  std::fprintf(stderr, "property violated: %s\n", property);
  std::abort();
}

// The text and its terminator, and not one byte more.
inline std::unique_ptr<char[]> heap_text(const std::string &text) {
  std::unique_ptr<char[]> copy(new char[text.size() + 1]);
  std::memcpy(copy.get(), text.c_str(), text.size() + 1);
  return copy;
}

template <typename T>
bool same_bits(T a, T b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace kel_fuzz

#endif
