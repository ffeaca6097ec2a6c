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

// Exit status of a command line the program cannot run.
constexpr int kUsage = 2;

using Args = std::span<char *const>;

// The subcommands that call the library (call.cpp, run.cpp): calc, convert
// and format call one function of their family (calc: every family but
// convert and format), named in any case, with or without KEL_ or LUM_.
int call_function(std::string_view command, Args args);
std::string_view command_of(const calls::Function &f);
int parse_texts(Args texts);
int run_lines(Args args);
int verify(Args args);
int generate_calls(Args args);

// How answers are printed: "key: value" lines (the default), one line per
// answer (operands from stdin), or one JSON object per line (--json).
enum class Style { kLines, kOneLine, kJson };
extern Style g_style;
// The buffer size that format --size gives, if any.
extern std::optional<std::size_t> g_format_size;

// The answer being built: fields in order. A field with an empty key shows in
// JSON only; a JSON key given more than once becomes an array.
struct Field {
  std::string key, text, json_key, json;
};
void put(std::string_view key, std::string text, std::string_view json_key = {}, std::string json = {});
void put_json(std::string_view json_key, std::string json);
// Prints the answer built so far in g_style and starts the next; returns 0.
int emit();
std::string json_string(std::string_view s);

// A message about a command line it cannot run: on stderr with a pointer to
// --help, or, while answering lines of stdin, as that line's answer (the exit
// status is kUsage at the end). Returns kUsage.
int usage_error(const char *format, ...) __attribute__((format(printf, 1, 2)));
extern bool g_failed;

// Case-insensitive comparison and the distance that picks suggestions.
bool same_name(std::string_view a, std::string_view b);
std::size_t distance(std::string_view a, std::string_view b);

// kelsoft help FUNCTION: the contract from kelsoft.h.
int print_contract(std::string_view name);

}  // namespace tool

#endif
