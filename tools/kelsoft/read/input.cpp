#include "input.h"

#include <cerrno>
#include <cstring>

#include "calls.h"

namespace lines {

Input::Got Input::fail(Got got, const std::string &what) {
  error_ = std::string(name_) + ":" + std::to_string(number_) + ": " + what;
  return got;
}

Input::Got Input::next() {
  line_.clear();
  errno = 0;
  ++number_;  // the line being read
  int c;
  while ((c = getc_unlocked(in_)) != EOF && c != '\n') {
    if (line_.size() == calls::kMaxSize)
      return fail(kFailed, "a line is at most " + std::to_string(calls::kMaxSize) + " bytes");
    line_ += static_cast<char>(c);
  }
  if (std::ferror(in_) != 0) return fail(kFailed, std::string("cannot read: ") + std::strerror(errno));
  if (c == EOF && line_.empty()) {
    --number_;
    return kEnd;
  }
  if (line_.ends_with('\r')) line_.pop_back();
  if (line_.find('\0') != std::string::npos) return fail(kBadLine, "a line cannot hold a NUL byte");
  return kLine;
}

bool is_blank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

}  // namespace lines
