// kelsoft: runs the library's functions from the command line and prints
// their results with their bits, as the target computes them.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "calls.h"
#include "kelsoft.h"
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
  calc FUNCTION OPERANDS...     any other function that computes (arithmetic,
                                comparison, elementary, parser, case and
                                fault helpers); prints each fault report as
                                the hook receives it, then each result, or
                                "not stored" for one the call left alone
  format FUNCTION VALUE [FORMAT] [--size N]
                                a formatting function; FORMAT (for
                                Double2String2 only) holds one conversion of
                                a double, such as %.3e, its width and
                                precision at most 65536; with --size (0 to
                                65536) the buffer has N bytes and the
                                answer says whether the text was cut (a
                                preview of the whole text is shown) or the
                                C library failed the call
  format --target-text [--float] VALUE...
                                the shortest text that the library's parser
                                reads back to the bits of each double (or
                                float) VALUE, as results are shown
  run [--answer] [FILE|-]       calls, one a line, as the test vectors hold
                                them: NAME OPERANDS [-> RESULTS [! REPORTS]];
                                a line with results is checked (each that
                                differs is printed, then "N passed, M
                                failed"), one without is printed with them
                                (--answer: every line), each before the
                                next line is read; "null" passes a null
                                address; exit status 1 when a line differs,
                                2 when one cannot be run
  verify                        runs the vectors installed with the command
                                (../share/kelsoft/vectors from its folder)
                                and prints per family how many give the
                                target's bits on this host
  generate [--texts] FIRST COUNT
                                generated calls FIRST.. of every function
                                that computes (--texts: the hard parser
                                texts), without results, for run to answer
  help FUNCTION                 the contract of any function of kelsoft.h
  --help                        this text
  --version                     the release of the command and its library

Options:
  --json                        one JSON object per answer, one a line, on
                                standard output (for parse, calc, convert,
                                format and no command): {"function",
                                "operands": [...], "reports": [...],
                                "results": [{"name", "value", "text",
                                "bits", "stored"}...], "error"}, every field
                                always present; value is a number (null when
                                not finite or not stored) or a string (a
                                text, a byte buffer), bits "0x..." or null;
                                a command line or input line that cannot be
                                run is an object with "error" set; bytes
                                outside UTF-8 are written as \u00XX
  -                             in place of the operands (or the texts of
                                parse): read them from standard input, one
                                line each (blank-separated), one answer per
                                line, each before the next line is read

Lines (run, and - for operands): a line ends at a line feed, a carriage
return before it is dropped, and a blank line answers nothing. A line that
holds a NUL byte cannot be run (in run, write \x00 in a quoted text); a
line longer than 65536 bytes, or a read error, ends the input: status 2.

Values: a float or double is decimal text, read by the library's own parser
(KEL_SoftStr2Float, to the last character; 1e999 is infinity), a special
value by name (any case), or its bits as 0x and hex digits. Integers are
decimal (out of range is an error that gives the range) or 0x bits.
Blanks around a number are ignored. Byte buffers are 0x and two hex digits
per byte, in the target's order (big-endian: what the PowerPC build stores,
on every host). Results print as the shortest decimal text that the
library's own parser reads back to the same bits (not always the correctly
rounded one: 0x3F847AE147AE147B, the double nearest 0.01, reads back only
from 0.009999999999999999), then the bits; where no text of up to 25
significant digits reads back, "no decimal text reads back to these bits on
the target". Function names may carry the KEL_ prefix or not, in any case.

Exit status: 0 done, 1 a checked call differs from its expected results
(run, verify), 2 the command line (or a line of standard input) could not
be run, 3 the output could not be written, a closed pipe included (a
message on standard error).
)";

void list(const char *title, std::string_view command) {
  std::printf("\n%s:", title);
  int column = 80;
  for (const calls::Function &f : calls::exported()) {
    if (f.call == nullptr || command_of(f) != command) continue;
    const std::string_view name = calls::bare(f.name);
    if (column + name.size() + 1 > 78) column = std::printf("\n ");
    column += std::printf(" %.*s", static_cast<int>(name.size()), name.data());
  }
  std::printf("\n");
}

int help() {
  std::fputs(kUsageText, stdout);
  std::printf("\nSpecial values (the target's patterns):\n");
  for (const Special &s : kSpecials)
    std::printf("  %-6s double 0x%016llX, float 0x%08X\n", s.name, static_cast<unsigned long long>(s.double_bits),
                static_cast<unsigned>(s.float_bits));
  list("convert functions", "convert");
  list("calc functions", "calc");
  list("format functions", "format");
  return 0;
}

int version() {
  std::printf("kelsoft %d.%d.%d\n", KELSOFT_VERSION_MAJOR, KELSOFT_VERSION_MINOR, KELSOFT_VERSION_PATCH);
  return 0;
}

// The command's FUNCTION OPERANDS..., without --size N (g_format_size).
int call_with_size(std::string_view command, Args args) {
  std::vector<char *> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (std::strcmp(args[i], "--size") != 0) {
      rest.push_back(args[i]);
      continue;
    }
    char *end = nullptr;
    const unsigned long n = i + 1 < args.size() ? std::strtoul(args[i + 1], &end, 10) : 0;
    if (end == nullptr || end == args[i + 1] || *end != '\0' || n > calls::kMaxSize || args[i + 1][0] == '-')
      return usage_error("--size takes a buffer size from 0 to %zu", calls::kMaxSize);
    g_format_size = n;
    ++i;
  }
  return call_function(command, rest);
}

int calc(Args args) { return call_with_size("calc", args); }
int convert(Args args) { return call_with_size("convert", args); }
int format(Args args) {
  if (!args.empty() && std::strcmp(args[0], "--target-text") == 0) return target_texts(args.subspan(1));
  return call_with_size("format", args);
}

// The library's typical request.
int demo() {
  if (g_style != Style::kJson) std::printf("KEL_Ddiv(1.0, 0.0) with a fault hook registered:\n");
  char *const args[] = {const_cast<char *>("Ddiv"), const_cast<char *>("1.0"), const_cast<char *>("0.0")};
  return calc(args);
}

struct Command {
  std::string_view name;
  int (*run)(Args args);
};
constexpr Command kCommands[] = {
    {"parse", parse_texts}, {"run", run_lines}, {"verify", verify}, {"generate", generate_calls},
    {"convert", convert},   {"calc", calc},     {"format", format},
};

int run_command(Args args) {
  if (args.empty()) return demo();
  const std::string_view command = args[0];
  const bool answers = command == "parse" || command == "calc" || command == "convert" || command == "format";
  if (g_style == Style::kJson && !answers)
    return usage_error("--json answers parse, calc, convert and format, not %s", args[0]);
  if (command == "--help" || command == "-h" || (command == "help" && args.size() == 1)) return help();
  if (command == "help") return args.size() == 2 ? print_contract(args[1]) : usage_error("help takes one name");
  if (command == "--version") return version();
  for (const auto &c : kCommands) {
    if (c.name != command) continue;
    const int status = c.run(args.subspan(1));
    return g_failed ? kUsage : status;
  }
  return usage_error("unknown command '%s'", args[0]);
}

}  // namespace
}  // namespace tool

int main(int argc, char **argv) {
  // A closed pipe is a write error like any other (status 3), not a signal.
  std::signal(SIGPIPE, SIG_IGN);
  std::vector<char *> kept;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--json") == 0)
      tool::g_style = tool::Style::kJson;
    else
      kept.push_back(argv[i]);
  }
  return tool::finish(tool::run_command(kept));
}
