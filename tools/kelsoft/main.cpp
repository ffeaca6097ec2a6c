// kelsoft: runs the library's functions from the command line and prints
// their results with their bits, as the target computes them.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "kelsoft.h"
#include "kelsoft.hpp"
#include "tool.h"
#include "values.h"

namespace tool {
namespace {

constexpr const char kUsageText[] = R"(usage: kelsoft [--json] [COMMAND ARGUMENTS...]

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
  format FUNCTION VALUE [FORMAT] [--size N]
                                a formatting function; FORMAT (for
                                Double2String2 only) holds one conversion of
                                a double, such as %.3e; with --size the buffer
                                has N bytes and the answer says whether the
                                text was cut
  help FUNCTION                 the contract of any function of kelsoft.h
  --help                        this text
  --version                     the release of the command and its library

Options:
  --json                        one JSON object per answer, one per line
  -                             in place of the operands (or the texts of
                                parse): read them from standard input, one
                                line each (blank-separated), one answer per
                                line

Values: a float or double is decimal text, read by the library's own parser
(KEL_SoftStr2Float, to the last character; 1e999 is infinity), a special
value by name (any case), or its bits as 0x and hex digits. Integers are
decimal (out of range is an error that gives the range) or 0x bits. Byte
buffers are 0x and two hex digits per byte, in memory order. Results print
as the shortest decimal text that reads back to the same value, then the
bits. Function names may carry the KEL_ prefix or not, in any case.

Exit status: 0 done, 2 the command line (or a line of standard input) could
not be run.
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
  std::printf("\nSpecial values (the target's patterns):\n");
  for (const Special &s : kSpecials)
    std::printf("  %-6s double 0x%016llX, float 0x%08X\n", s.name, static_cast<unsigned long long>(s.double_bits),
                static_cast<unsigned>(s.float_bits));
  list("convert functions", kConvertFunctions);
  list("calc functions", kCalcFunctions);
  list("format functions", kFormatFunctions);
  return 0;
}

int version() {
  std::printf("kelsoft %d.%d.%d\n", KELSOFT_VERSION_MAJOR, KELSOFT_VERSION_MINOR, KELSOFT_VERSION_PATCH);
  return 0;
}

int convert(Args args) { return run_function(kConvertFunctions, args); }
int calc(Args args) {
  kel::ScopedHook hook(put_report);
  return run_function(kCalcFunctions, args);
}
int format(Args args) {
  std::vector<char *> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (std::strcmp(args[i], "--size") != 0) {
      rest.push_back(args[i]);
      continue;
    }
    char *end = nullptr;
    const unsigned long n = i + 1 < args.size() ? std::strtoul(args[i + 1], &end, 10) : 0;
    if (end == nullptr || end == args[i + 1] || *end != '\0' || n > 65536 || args[i + 1][0] == '-')
      return usage_error("--size takes a buffer size from 0 to 65536");
    g_format_size = n;
    ++i;
  }
  return run_function(kFormatFunctions, rest);
}

// Runs one(operands) for each line of standard input, one answer a line.
template <typename One>
int each_line(bool split, One one) {
  if (g_style == Style::kLines) g_style = Style::kOneLine;
  std::string line;
  while (std::getline(std::cin, line)) {
    std::vector<std::string> words;
    if (!split) words.push_back(line);
    for (std::size_t at = 0; split && (at = line.find_first_not_of(" \t\r", at)) != std::string::npos;) {
      const std::size_t stop = line.find_first_of(" \t\r", at);
      words.push_back(line.substr(at, stop - at));
      at = stop;
    }
    std::vector<char *> operands;
    operands.reserve(words.size());
    for (std::string &w : words) operands.push_back(w.data());
    one(Args(operands));
  }
  return 0;
}

bool from_stdin(Args args) { return args.size() == 1 && std::strcmp(args[0], "-") == 0; }

int parse(Args args) {
  if (from_stdin(args)) return each_line(false, parse_texts);
  return parse_texts(args);
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
    {"parse", parse},
    {"convert", convert},
    {"calc", calc},
    {"format", format},
};

struct Table {
  const char *command;
  const std::span<const Function> *functions;
};
constexpr Table kTables[] = {
    {"convert", &kConvertFunctions},
    {"calc", &kCalcFunctions},
    {"format", &kFormatFunctions},
};

// The message for a name no function of table has: the command that has it,
// or the nearest name.
int unknown_function(std::span<const Function> table, const char *given, std::string_view name) {
  const Function *nearest = nullptr;
  std::size_t best = ~std::size_t{0};
  for (const Table &t : kTables) {
    for (const Function &f : *t.functions) {
      if (same_name(f.name, name) && t.functions->data() != table.data())
        return usage_error("unknown function '%s'; %.*s is a %s function", given, static_cast<int>(f.name.size()),
                           f.name.data(), t.command);
      const std::size_t d = distance(f.name, name);
      if (t.functions->data() == table.data() && d < best) best = d, nearest = &f;
    }
  }
  if (nearest == nullptr || best > 3) return usage_error("unknown function '%s'", given);
  return usage_error("unknown function '%s'; did you mean %.*s?", given, static_cast<int>(nearest->name.size()),
                     nearest->name.data());
}

}  // namespace

int run_function(std::span<const Function> table, Args args) {
  if (args.empty()) return usage_error("missing function name");
  std::string_view name = args[0];
  if (name.size() > 4 && same_name(name.substr(0, 4), "KEL_")) name.remove_prefix(4);
  for (const Function &f : table) {
    if (!same_name(f.name, name)) continue;
    const auto run = [&f](Args operands) {
      put_json("function", json_string("KEL_" + std::string(f.name)));
      for (const char *o : operands) put_json("operands", json_string(o));
      return f.run(operands);
    };
    const Args operands = args.subspan(1);
    if (from_stdin(operands)) return each_line(true, run);
    return run(operands);
  }
  return unknown_function(table, args[0], name);
}

}  // namespace tool

int main(int argc, char **argv) {
  std::vector<char *> kept;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--json") == 0)
      tool::g_style = tool::Style::kJson;
    else
      kept.push_back(argv[i]);
  }
  const tool::Args args(kept);
  if (args.empty()) return tool::demo();
  const std::string_view command = args[0];
  if (command == "--help" || command == "-h" || (command == "help" && args.size() == 1)) return tool::help();
  if (command == "help")
    return args.size() == 2 ? tool::print_contract(args[1]) : tool::usage_error("help takes one name");
  if (command == "--version") return tool::version();
  for (const auto &c : tool::kCommands) {
    if (c.name != command) continue;
    const int status = c.run(args.subspan(1));
    return tool::g_failed ? tool::kUsage : status;
  }
  return tool::usage_error("unknown command '%s'", args[0]);
}
