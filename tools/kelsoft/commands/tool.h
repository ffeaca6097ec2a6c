// The kelsoft command: shared declarations of its subcommands.
#ifndef KELSOFT_TOOL_H
#define KELSOFT_TOOL_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calls.h"

namespace tool {

// Exit status: a checked call that differs is 1 (run, verify), a command line
// the program cannot run 2, output it could not write 3.
constexpr int kDiffers = 1, kUsage = 2, kWriteError = 3;
// The exit status, once standard output is flushed: kWriteError if it fails.
int finish(int status);

using Args = std::span<char *const>;

// The subcommands that call the library (call.cpp, run.cpp): calc, convert
// and format call one function of their family (calc: every family but
// convert and format), named in any case, with or without KEL_ or LUM_.
int call_function(std::string_view command, Args args);
std::string_view command_of(const calls::Function &f);
int parse_texts(Args texts);
// format --target-text [--float] VALUE...: the text kel::target_text gives.
int target_texts(Args args);
int run_lines(Args args);
int verify(Args args);
int generate_calls(Args args);

// How answers are printed: "key: value" lines (the default), one line per
// answer (operands from stdin), or one JSON object per line (--json).
enum class Style { kLines, kOneLine, kJson };
extern Style g_style;
// The buffer size that format --size gives, if any.
extern std::optional<std::size_t> g_format_size;

// The answer being built, printed by emit(): in the text styles each report
// and result (and note) as "key: text"; in JSON one object a line,
//   {"function": NAME, "operands": [TEXT...], "reports": [NAME...],
//    "results": [{"name", "value", "text", "bits", "stored"}...], "error": null}
// (value: a JSON number, a string for a text, null when not a finite number
// or not stored; bits: "0x..." or null for a text), every field always there.
void answer_function(std::string_view name);
void answer_operand(std::string_view text);
void answer_report(const char *file, int32_t line, const char *name);
void answer_result(std::string_view key, std::string text, std::string value, std::string bits, bool stored = true);
void answer_note(std::string_view key, std::string text);  // text styles only
// Prints the answer built so far in g_style and starts the next; returns 0.
int emit();
std::string json_string(std::string_view s);

// A message about a command line it cannot run: on stderr with a pointer to
// --help; with --json, the answer's object with "error" set, on stdout; while
// answering lines of stdin, as that line's answer (the exit status is kUsage
// at the end). Returns kUsage.
int usage_error(const char *format, ...) __attribute__((format(printf, 1, 2)));
extern bool g_failed;

// The distance, in any case, that picks suggestions.
std::size_t distance(std::string_view a, std::string_view b);
// Whether a name at that distance from the given one is worth suggesting.
bool close_enough(std::size_t distance, std::string_view given);

// kelsoft help FUNCTION: the contract from kelsoft.h.
int print_contract(std::string_view name);

}  // namespace tool

#endif
