// Calls as lines, the format of the vectors (tests/vectors/*.vec):
//   NAME OPERAND... [null] [-> RESULT... [! REPORT]...]   [# comment]
// Numbers are their bits in hex (4 digits for 16-bit integers, 8 for float
// and 32-bit ones, 16 for double and 64-bit ones); an operand may also be
// written as on the command line (1.5, -inf, 0x3FF8, 42: values.h) when it
// does not have exactly that many hex digits. Texts are quoted, with every
// byte outside printable ASCII, the blank, '"' and '\' written as \xHH (an
// operand without blanks may go unquoted). "null" passes a null address (for
// an operand passed by address only); a trailing "null" a null result. A
// result the call did not store shows the bytes of the first fill (calls.h);
// a buffer shows the bytes written. Lines are read as input.h says.
#ifndef KELSOFT_TOOL_LINES_H
#define KELSOFT_TOOL_LINES_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "calls.h"
#include "texts.h"

namespace lines {

// The counts of a file's checked lines.
struct Tally {
  uint64_t passed = 0, failed = 0, answered = 0;
  uint64_t unreadable = 0;  // lines that cannot be run
  std::string error;        // why the input ended before its end
  // Passed within the C library's last bit, by function.
  std::vector<std::pair<std::string, uint64_t>> last_bit;
  uint64_t accepted() const;
};

struct Options {
  bool answer_all = false;  // answer every line, whatever results it holds
  bool flush_each = false;  // write each answer before reading the next line
};

// Runs every line of in (input.h): answers the lines without results on
// out, checks the others and prints each that differs, and each line that
// cannot be run. name: the file, for messages. It stops at a write error.
Tally run(std::FILE *in, const char *name, std::FILE *out, const Options &options);

// One line: the call it names, answered; false with a message when it
// cannot be read. Checked lines compare results against expected.
struct Parsed {
  const calls::Function *function = nullptr;
  calls::Value in[4];
  bool null_result = false;
  bool has_results = false;
  std::string_view results;  // what follows "->", without the comment
};
bool parse(std::string_view line, Parsed &p, std::string &error);
// "NAME OPERAND... -> RESULT... [! REPORT]..." for an answered call.
void format(const Parsed &p, const calls::Answer &a, std::string &out);
// One line without its comment, parsed, called and formatted into out; each
// line is answered from itself alone (p and a keep only their storage).
bool answer(std::string_view call, Parsed &p, calls::Answer &a, std::string &out, std::string &error);
// " OPERAND" as a line writes it.
void append_operand(std::string &out, char kind, const calls::Value &v);

}  // namespace lines

#endif
