// The parser's two ways to the value of the digits after blanks and sign.
// Both stop at the same character; where the one rounding decides, it gives
// the chain's bits (docs/parser.md), and the parser uses the chain elsewhere.
#ifndef KEL_PARSE_PATHS_H
#define KEL_PARSE_PATHS_H

#include "double_double.h"

namespace kel {

// The target's operations, digit by digit: every text. text is where the
// whole text began, the end of a malformed exponent.
Extended parse_chain(const unsigned char *p, const unsigned char *text, const unsigned char **end);

struct Parsed {
  const unsigned char *end;  // null: not decided
  double value;
};

// The exact value of what the chain adds and multiplies, rounded once. Not
// decided where that may not be the chain's result.
Parsed parse_one_rounding(const unsigned char *p);

inline bool is_digit(unsigned char c) { return static_cast<unsigned>(c - '0') < 10; }

}  // namespace kel

#endif
