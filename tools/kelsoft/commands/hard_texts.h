// A deterministic source of texts that are hard for the decimal parser: long
// digit strings, many fraction digits, exponents at and beyond the ends of the
// double range, counts that wrap, malformed exponents, blanks, signs and bytes
// above 127. Text i depends on i alone, on every platform.
#ifndef KELSOFT_TOOL_HARD_TEXTS_H
#define KELSOFT_TOOL_HARD_TEXTS_H

#include <cstdint>
#include <string>

namespace kel_texts {

std::string hard_text(uint64_t index);

}  // namespace kel_texts

#endif
