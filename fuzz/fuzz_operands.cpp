// The command's operands, as calc, convert, format and parse read them:
// "[--json] FUNCTION|parse [--size N]" on the first line, then lines of
// operands. Each line is answered as a command line of its own and, all
// together, from standard input (-): nothing crashes, leaks or is
// undefined, and the answers are the same both ways.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "calls.h"
#include "fuzz_support.h"
#include "input.h"
#include "tool.h"

namespace {

std::vector<std::string> words(std::string_view line) {
  std::vector<std::string> out;
  for (std::size_t at = 0; (at = line.find_first_not_of(" \t", at)) != std::string_view::npos;) {
    const std::size_t stop = std::min(line.find_first_of(" \t", at), line.size());
    out.emplace_back(line.substr(at, stop - at));
    at = stop;
  }
  return out;
}

// What one subcommand writes on standard output, reading input from standard input.
template <typename Run>
std::string output(const std::string &input, Run run) {
  char *text = nullptr;
  std::size_t size = 0;
  std::FILE *const saved_out = stdout, *const saved_in = stdin;
  stdout = open_memstream(&text, &size);
  stdin = input.empty() ? std::fopen("/dev/null", "r") : fmemopen(const_cast<char *>(input.data()), input.size(), "r");
  tool::g_failed = false;
  run();
  std::fclose(stdin);
  std::fclose(stdout);
  stdout = saved_out;
  stdin = saved_in;
  std::string out(text, size);
  std::free(text);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::string input(reinterpret_cast<const char *>(data), size);
  if (input.find('\0') != std::string::npos) return -1;  // a line that cannot be read: no answer to compare
  const std::size_t first_end = std::min(input.find('\n'), input.size());
  std::vector<std::string> head = words(std::string_view(input).substr(0, first_end));
  const std::string lines = input.substr(std::min(first_end + 1, input.size()));
  const bool json = !head.empty() && head[0] == "--json";
  if (json) head.erase(head.begin());
  if (head.empty()) return -1;
  tool::g_format_size.reset();
  if (head.size() == 3 && head[1] == "--size") {
    const unsigned long n = std::strtoul(head[2].c_str(), nullptr, 10);
    if (n <= calls::kMaxSize) tool::g_format_size = n;
  }
  const bool parse = head[0] == "parse";
  const calls::Function *f = calls::find(head[0]);
  // A name the command refuses is refused once, before any line is read.
  if (!parse && (f == nullptr || f->call == nullptr || std::string_view(f->family) == "probe")) return -1;
  const std::string_view command = parse ? "parse" : tool::command_of(*f);
  // Both ways answer one line each, in the same style.
  const auto run = [&](std::vector<std::string> args) {
    tool::g_style = json ? tool::Style::kJson : tool::Style::kOneLine;
    std::vector<char *> argv;
    if (!parse) argv.push_back(head[0].data());
    for (std::string &a : args) argv.push_back(a.data());
    if (parse) return tool::parse_texts(argv);
    return tool::call_function(command, argv);
  };
  std::string alone;
  for (std::size_t at = 0; at < lines.size();) {
    const std::size_t end = std::min(lines.find('\n', at), lines.size());
    std::string line = lines.substr(at, end - at);
    at = end + 1;
    if (line.ends_with('\r')) line.pop_back();
    if (lines::is_blank(line)) continue;
    if (parse ? line == "-" : words(line) == std::vector<std::string>{"-"}) return -1;  // alone, it reads stdin
    alone += output("", [&] { run(parse ? std::vector<std::string>{line} : words(line)); });
  }
  const std::string together = output(lines, [&] { run({"-"}); });
  kel_fuzz::require(alone == together, "each line answers alone as in sequence");
  return 0;
}
