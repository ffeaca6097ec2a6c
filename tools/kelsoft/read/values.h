// Operands as people write them and results as people read them. A float or
// double is decimal text, read by the library's own parser (so the bits are
// the target's on every host), a special value by name (nan, -nan, inf,
// -inf, snan, -snan: the target's patterns), or its bits as 0x and hex
// digits. Integers are decimal or 0x bits; a byte buffer is 0x and two hex
// digits a byte, in the target's (big-endian) order.
#ifndef KELSOFT_TOOL_VALUES_H
#define KELSOFT_TOOL_VALUES_H

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "calls.h"

namespace tool {

// The special values by name, with their bits: the --help list.
struct Special {
  const char *name;
  uint64_t double_bits;
  uint32_t float_bits;
};
extern const std::span<const Special> kSpecials;

// Bits as 1 to `most` hex digits (exactly `most` when exact), without 0x.
bool read_bits(std::string_view digits, int most, bool exact, uint64_t &bits);

// Reads text as an operand of the kind (calls.h); false with a message.
bool read_operand(char kind, std::string_view text, calls::Value &out, std::string &error);

// A number result: the integer, or for a float or double the shortest decimal
// text that the library's parser reads back to the same bits (kel::target_text)
// or else kNoText, then its bits as 0x and hex digits.
extern const char *const kNoText;
std::string decimal(const calls::Result &r);
std::string hex(const calls::Result &r);

}  // namespace tool

#endif
