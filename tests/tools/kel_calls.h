// Calls a function by name on operands written in hex and writes its results
// (and the fault reports it made) in hex: one line a call,
//   NAME OPERAND... [null] -> RESULT... [! REPORT]...   [# comment]
// Numbers are their bits in hex (8 digits for float and 32-bit integers, 4
// for 16-bit, 16 for double and 64-bit), texts are quoted with every byte
// outside printable ASCII, the blank, '"' and '\' written as \xHH. An operand
// "null" passes a null address; a trailing "null" passes a null result.
// Results start filled with 0xA5 bytes, so "nothing stored" shows.
#ifndef KEL_TESTS_KEL_CALLS_H
#define KEL_TESTS_KEL_CALLS_H

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kel_calls {

// A number's bits, or a text's bytes; null for a null address.
struct Value {
  uint64_t bits = 0;
  std::string text;
  bool null = false;
};

// Operand kinds: f float, d double, w 32-bit, h 16-bit, q 64-bit integer,
// t text. Some kinds only steer the generator: c a character code, z a small
// buffer size (both 32-bit), p parser text, n unsigned text, s case text,
// m format (all texts).
struct Function {
  const char *name;
  const char *operands;
  void (*call)(const Value *in, std::string &out);
};

// The exported functions the generator calls; find() also knows the probes
// of null addresses, buffers and the double-double.
std::span<const Function> functions();
const Function *find(std::string_view name);

// The double-double probes give the target's long double instead.
extern bool native_extended;

std::string quoted(std::string_view text);
void append(std::string &out, char kind, const Value &v);

// "NAME OPERAND... -> RESULT... [! REPORT]..."; registers the report hook.
std::string run(const Function &f, const Value *in, bool null_result = false);
// Runs the call a line names and returns the line this build gives for it.
bool rerun(std::string_view line, std::string &actual);

}  // namespace kel_calls

#endif
