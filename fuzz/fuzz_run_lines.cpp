// kelsoft run's lines: any bytes, read as the command reads a file. Nothing
// crashes, leaks or is undefined, and each line's answer (or why it cannot
// be run) is the same alone as after the lines before it.
#include <cstdio>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "input.h"
#include "lines.h"

namespace {

// The line's answer, or why it cannot be run.
std::string answer(std::string_view line, lines::Parsed &p, calls::Answer &a) {
  std::string out, error;
  return lines::answer(line, p, a, out, error) ? "ran: " + out : "not run: " + error;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string_view input(reinterpret_cast<const char *>(data), size);
  // The whole input as a file: its reader, comments, checked lines.
  if (std::FILE *in = fmemopen(const_cast<char *>(input.data()), input.size(), "r")) {
    std::FILE *out = std::fopen("/dev/null", "w");
    lines::run(in, "fuzz", out, {});
    std::fclose(out);
    std::fclose(in);
  }
  lines::Parsed kept;
  calls::Answer kept_answer;
  for (std::size_t at = 0; at < input.size();) {
    const std::size_t end = std::min(input.find('\n', at), input.size());
    const std::string_view line = input.substr(at, end - at);
    at = end + 1;
    if (lines::is_blank(line)) continue;
    lines::Parsed p;
    calls::Answer a;
    const std::string after = answer(line, kept, kept_answer);
    kel_fuzz::require(after == answer(line, p, a), "a line answers alone as in sequence");
  }
  return 0;
}
