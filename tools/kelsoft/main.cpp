// kelsoft: runs the library's functions from the command line and prints
// their results with their bits, as the target computes them.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "kelsoft.hpp"
#include "tool.h"

namespace tool {
namespace {

constexpr const char kUsageText[] = R"(usage: kelsoft [COMMAND ARGUMENTS...]

With no command: registers a fault hook, divides 1.0 by 0.0 with KEL_Ddiv,
and prints each report the hook receives and the stored quotient.

Commands:
  parse TEXT...                 the double (KEL_SoftStr2Float) and float
                                (KEL_Seva) values of each text, with their
                                bits, and where the parse ended
  convert FUNCTION VALUE        a conversion; the result in decimal and hex
  calc FUNCTION OPERANDS...     an arithmetic, comparison or elementary
                                function; prints each fault report as the hook
                                receives it, then the stored result
  format FUNCTION VALUE [FORMAT]  a formatting function; FORMAT (for
                                Double2String2 only) holds one conversion of
                                a double, such as %.3e
  --help                        this text

Values: a float or double is decimal text, read by the library's own parser
(KEL_SoftStr2Float, to the last character; 1e999 is infinity), or its bits as
0x and hex digits (0x7FF8000000000000 is a NaN). Integers are decimal or 0x
bits. Byte buffers are 0x and two hex digits per byte, in memory order.
Results print as the shortest decimal text that reads back to the same value,
then the bits. Function names may carry the KEL_ prefix or not.

Exit status: 0 done, 2 the command line could not be run.
)";

void list(const char *title, std::span<const Function> table) {
  std::printf("\n%s:", title);
  int column = 80;
  for (const Function &f : table) {
    if (column + f.name.size() + 1 > 78) column = std::printf("\n ");
    column += std::printf(" %.*s", static_cast<int>(f.name.size()), f.name.data());
  }
  std::printf("\n");
}

int help() {
  std::fputs(kUsageText, stdout);
  list("convert functions", kConvertFunctions);
  list("calc functions", kCalcFunctions);
  list("format functions", kFormatFunctions);
  return 0;
}

int convert(Args args) { return run_function(kConvertFunctions, args); }
int format(Args args) { return run_function(kFormatFunctions, args); }
int calc(Args args) {
  kel::ScopedHook hook(print_report);
  return run_function(kCalcFunctions, args);
}

// The library's typical request.
int demo() {
  std::printf("KEL_Ddiv(1.0, 0.0) with a fault hook registered:\n");
  char *const args[] = {const_cast<char *>("Ddiv"), const_cast<char *>("1.0"), const_cast<char *>("0.0")};
  return calc(args);
}

struct Command {
  std::string_view name;
  int (*run)(Args args);
};
constexpr Command kCommands[] = {
    {"parse", parse_texts},
    {"convert", convert},
    {"calc", calc},
    {"format", format},
};

}  // namespace

int usage_error(const char *format, ...) {
  std::va_list args;
  va_start(args, format);
  std::fputs("kelsoft: ", stderr);
  std::vfprintf(stderr, format, args);
  std::fputs("\n(kelsoft --help lists the commands and functions)\n", stderr);
  va_end(args);
  return kUsage;
}

int run_function(std::span<const Function> table, Args args) {
  if (args.empty()) return usage_error("missing function name");
  std::string_view name = args[0];
  if (name.starts_with("KEL_")) name.remove_prefix(4);
  for (const Function &f : table) {
    if (f.name == name) return f.run(args.subspan(1));
  }
  return usage_error("unknown function '%s'", args[0]);
}

}  // namespace tool

int main(int argc, char **argv) {
  const tool::Args args(argv + 1, argc > 0 ? argc - 1 : 0);
  if (args.empty()) return tool::demo();
  const std::string_view command = args[0];
  if (command == "--help" || command == "-h" || command == "help") return tool::help();
  for (const auto &c : tool::kCommands)
    if (c.name == command) return c.run(args.subspan(1));
  return tool::usage_error("unknown command '%s'", args[0]);
}
