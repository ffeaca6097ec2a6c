// The kelsoft command: shared declarations of its subcommands.
#ifndef KELSOFT_TOOL_H
#define KELSOFT_TOOL_H

#include <cstdint>
#include <span>
#include <string_view>

namespace tool {

// Exit status of a command line the program cannot run.
constexpr int kUsage = 2;

using Args = std::span<char *const>;

// One library function a subcommand can call: its name without the KEL_
// prefix, and the adapter that reads its operands, calls it and prints.
struct Function {
  std::string_view name;
  int (*run)(Args operands);
};

// The entry for KEL_<name>: the file that builds a table defines call(f, args)
// for each function type it holds.
// clang-format off
#define KEL_TOOL_ENTRY(name) Function{#name, [](Args args) { return call(KEL_##name, args); }}
// clang-format on

extern const std::span<const Function> kConvertFunctions;
extern const std::span<const Function> kCalcFunctions;
extern const std::span<const Function> kFormatFunctions;

// FUNCTION OPERANDS...: looks FUNCTION up in table (with or without KEL_) and runs it.
int run_function(std::span<const Function> table, Args args);
int parse_texts(Args texts);

// Prints "kelsoft: <message>" and a pointer to --help on stderr; returns kUsage.
int usage_error(const char *format, ...) __attribute__((format(printf, 1, 2)));

// The fault hook of calc: prints each report as it arrives.
void print_report(const char *file, int32_t line, const char *name);

}  // namespace tool

#endif
