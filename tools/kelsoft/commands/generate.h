// Generated calls (generate.cpp).
#ifndef KELSOFT_TOOL_GENERATE_H
#define KELSOFT_TOOL_GENERATE_H

#include <cstdint>
#include <cstdio>

#include "hard_texts.h"

namespace generate {

void calls_from(uint64_t first, uint64_t count, std::FILE *out);
void texts_from(uint64_t first, uint64_t count, std::FILE *out);

}  // namespace generate

#endif
