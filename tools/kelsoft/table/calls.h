// The call table: every name the library exports, what its operands and
// results are, and how to call it, with the null addresses and the filled
// result objects that show what a call stored. `kelsoft run` reads calls from
// lines (lines.cpp), the subcommands from the command line (call.cpp).
#ifndef KELSOFT_TOOL_CALLS_H
#define KELSOFT_TOOL_CALLS_H

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "signature.h"

namespace calls {

// Kinds of operands and results, one letter each:
//   d double, f float, Q q 64-bit, W w 32-bit, H h 16-bit integers (upper
//   case signed), X x 8- and 4-byte buffers (their bytes in the target's
//   order, big-endian, read as one number), c a character code and C a
//   comparison (both 32-bit signed), z a buffer size and k a count (32-bit),
//   e an offset into the operand text (32-bit, or null);
//   t a text, and texts the generator draws apart: p parser text, n
//   unsigned text, s case text, m format; results only: b the bytes a call
//   wrote into a buffer, a a word.
int digits(char kind);  // hex digits of a number's bits
bool is_text(char kind);
bool is_signed(char kind);

// The largest buffer the command gives a call, the longest text it shows,
// and the longest line it reads, in bytes.
constexpr std::size_t kMaxSize = 65536;

// Result objects start filled with one byte, then, if the first call leaves
// their bytes as they were, with the other: "not stored" is what keeps both.
constexpr unsigned char kFill = 0xA5, kOtherFill = 0x5A;

// An operand: a number's bits or a text's bytes; null for a null address.
struct Value {
  uint64_t bits = 0;
  std::string text;
  bool null = false;
};

struct Result {
  char kind = 0;
  uint64_t bits = 0;
  std::string text;
  bool null = false;    // a null address came back
  bool filled = false;  // an object the call was given, filled first
  bool stored = true;
};

// What an adapter sees and gives: the operands, the fill of this call, and
// the results in order.
struct Call {
  const Value *in = nullptr;
  bool null_result = false;  // pass a null address for the result
  unsigned char fill = kFill;
  std::size_t count = 0;
  Result out[4];

  Result &add(char kind);
  template <typename T>
  void number(T v);  // a value the function returned
  template <typename T>
  void object(const T &v);  // a result object after the call
  void text(std::string_view text);
  void word(const char *word);
  void buffer(const char *bytes, std::size_t size);
  void null();
};

// How an entry calls: its adapter and, for an adapter that calls one library
// function alone, that function's signature (checked against the entry's kinds).
struct Adapter {
  void (*call)(Call &) = nullptr;
  bool typed = false;  // a signature is known
  Signature signature{};
  bool tests_addresses = true;  // false: a null address is undefined behaviour
  bool tests_result = true;     // false: only the operands' addresses are tested
  constexpr Adapter(std::nullptr_t) {}
  constexpr Adapter(void (*adapter)(Call &)) : call(adapter) {}
  constexpr Adapter(void (*adapter)(Call &), const Signature &s) : call(adapter), typed(true), signature(s) {}
  void operator()(Call &c) const { call(c); }
  constexpr bool operator==(std::nullptr_t) const { return call == nullptr; }
};

struct Function {
  const char *name;
  const char *family;  // sysbase/lum/exports/<family>.list; "probe" for the probes
  const char *operands;
  const char *results;
  Adapter call;
  const char *names = nullptr;         // the results' names in the command's answers
  const char *not_callable = nullptr;  // why a line cannot call it
};

// The exported names; the generated calls cycle through those that compute
// (a result, called alone), which come first.
std::span<const Function> exported();
std::span<const Function> generated();
// Calls of several functions or of one in a particular way, for the vectors.
std::span<const Function> probes();
// Why "null" cannot stand for operand i (or, i past the operands, for the
// result): a value, or an address the function does not test; null if it can.
const char *why_not_null(const Function &f, std::size_t i);
// Why a call of f cannot be given this format, or null: a width or
// precision beyond kMaxSize, whose text no buffer of the command holds
// (the C library would make all of it first).
const char *oversized_format(const Function &f, const Value *in);
// Either table, by name in any case, with or without the KEL_ or LUM_ prefix.
const Function *find(std::string_view name);
bool same_name(std::string_view a, std::string_view b);  // in any case
std::string_view bare(std::string_view name);            // without KEL_ or LUM_

// Why a call of f cannot be given these operands, or null: a format whose
// conversions would read or write arguments the call does not pass.
const char *unsafe_format(const Function &f, const Value *in);

// The hook's reports during one call.
struct Report {
  const char *file;
  int32_t line;
  const char *name;
};

struct Answer {
  Call call;
  Report reports[8];
  std::size_t report_count = 0;
  int error = 0;  // errno after the call
  // Whether a buffer's written bytes must be known exactly, even after its
  // terminator (a second call); the command's answers show up to it.
  bool exact = true;
};

// Calls f (a second time with the other fill when the first leaves a result
// object as filled) and registers the command's fault hook for it.
void answer(const Function &f, const Value *in, bool null_result, Answer &a);

}  // namespace calls

#endif
