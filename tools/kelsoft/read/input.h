// Lines of input, read by one rule for every reader (run, calc -, parse -):
// a line ends at a line feed or at the end of the input, and a carriage
// return before its end is dropped. A line holding a NUL byte cannot be read
// (a text cannot hold one: write it as \x00 in a quoted text). A read error,
// or a line longer than calls::kMaxSize bytes, ends the input as an error:
// nothing is taken for its end.
#ifndef KELSOFT_TOOL_INPUT_H
#define KELSOFT_TOOL_INPUT_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace lines {

class Input {
 public:
  enum Got { kLine, kBadLine, kEnd, kFailed };
  Input(std::FILE *in, const char *name) : in_(in), name_(name) {}
  // The next line in line(); kBadLine or kFailed with error() set.
  Got next();
  std::string_view line() const { return line_; }
  uint64_t number() const { return number_; }
  // "NAME:LINE: what went wrong".
  const std::string &error() const { return error_; }

 private:
  Got fail(Got got, const std::string &what);
  std::FILE *in_;
  const char *name_;
  uint64_t number_ = 0;
  std::string line_, error_;
};

// Only blanks and tabs: such a line answers nothing.
bool is_blank(std::string_view line);

}  // namespace lines

#endif
