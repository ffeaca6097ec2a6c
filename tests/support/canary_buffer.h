// A character buffer prefilled with a canary byte, to see exactly which bytes a
// call wrote.
#ifndef KEL_TESTS_CANARY_BUFFER_H
#define KEL_TESTS_CANARY_BUFFER_H

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

namespace kel_test {

struct CanaryBuffer {
  static constexpr unsigned char kCanary = 0xA5;
  char bytes[64];

  CanaryBuffer() { std::memset(bytes, kCanary, sizeof bytes); }

  // The buffer starts with text and its terminator and every later byte is
  // untouched; a null text means that nothing at all was written.
  testing::AssertionResult holds(const char *text) const {
    const size_t used = text == nullptr ? 0 : std::strlen(text) + 1;
    if (text != nullptr && std::memcmp(bytes, text, used) != 0)
      return testing::AssertionFailure() << "buffer holds \"" << bytes << "\", expected \"" << text << '"';
    for (size_t i = used; i < sizeof bytes; ++i) {
      if (static_cast<unsigned char>(bytes[i]) != kCanary)
        return testing::AssertionFailure() << "byte " << i << " was written";
    }
    return testing::AssertionSuccess();
  }
};

}  // namespace kel_test

#endif
