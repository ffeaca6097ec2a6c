#include "lines.h"

#include <algorithm>
#include <array>
#include <cinttypes>
#include <cstdlib>
#include <cstring>

#include "input.h"
#include "texts.h"
#include "values.h"

namespace lines {
namespace {

std::string_view next_token(std::string_view &line) {
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  const std::size_t end = std::min(line.find_first_of(" \t"), line.size());
  const std::string_view token = line.substr(0, end);
  line.remove_prefix(end);
  return token;
}

// Exactly the kind's number of hex digits: the bits.
bool read_bits(std::string_view token, char kind, uint64_t &bits) {
  return tool::read_bits(token, calls::digits(kind), true, bits);
}

// Operand i of f; every field set from the token alone.
bool read(const calls::Function &f, std::size_t i, std::string_view token, calls::Value &v, std::string &error) {
  const char kind = f.operands[i];
  v.bits = 0;
  v.text.clear();
  v.null = token == "null";
  if (v.null) {
    if (calls::takes_address(f, i)) return true;
    error = "null stands for an address; operand " + std::to_string(i + 1) + " of " + f.name + " is a value";
    return false;
  }
  if (calls::is_text(kind)) {
    if (token.starts_with('"') ? !unquote(token, v.text) : (v.text.assign(token), false)) {
      error = "cannot read the text " + std::string(token);
      return false;
    }
    return true;
  }
  if (!read_bits(token, kind, v.bits) && !tool::read_operand(kind, token, v, error)) return false;
  if (kind == 'z' && v.bits > calls::kMaxSize) {
    error = "buffer sizes go up to " + std::to_string(calls::kMaxSize);
    return false;
  }
  return true;
}

void append_hex(std::string &out, uint64_t bits, int digits) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += ' ';
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kDigits[(bits >> shift) & 15];
}

void append_result(std::string &out, const calls::Result &r) {
  if (r.null) {
    out += " null";
  } else if (r.kind == 'a') {
    out += ' ';
    out += r.text;
  } else if (calls::is_text(r.kind)) {
    out += ' ';
    out += quoted(r.text);
  } else {
    append_hex(out, r.bits, calls::digits(r.kind));
  }
}

// Both texts hold the same blank-separated words.
bool same_words(std::string_view a, std::string_view b) {
  for (;;) {
    const std::string_view x = next_token(a), y = next_token(b);
    if (x != y) return false;
    if (x.empty()) return true;
  }
}

// The C library's last bit: one result of one unit in the last place, all
// else the same, from a function whose result is the C library's.
const char *last_bit_of(const calls::Function &f, std::string_view expected, std::string_view actual) {
  static constexpr std::array kLibraryLastBit = {
    "KEL_DLog10",
    "KEL_SLog10",
#if defined(__i386__)
    "KEL_DExp",
    "KEL_AddPowForKavri",
#endif
  };
  if (std::none_of(kLibraryLastBit.begin(), kLibraryLastBit.end(),
                   [&](const char *name) { return std::strcmp(name, f.name) == 0; }))
    return nullptr;
  const std::string_view x = next_token(expected), y = next_token(actual);
  uint64_t a = 0, b = 0;
  const char kind = f.results[0];
  if (!read_bits(x, kind, a) || !read_bits(y, kind, b) || !same_words(expected, actual)) return nullptr;
  return a - b == 1 || b - a == 1 ? f.name : nullptr;
}

void count_last_bit(Tally &t, const char *name) {
  for (auto &[n, count] : t.last_bit)
    if (n == name) return void(++count);
  t.last_bit.emplace_back(name, 1);
}

// The line with its comment put back, at column 60 where there is room.
void print_with_comment(std::FILE *out, std::string &line, std::string_view comment) {
  if (!comment.empty()) {
    line.append(line.size() < 60 ? 60 - line.size() : 1, ' ');
    line += comment;
  }
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), out);
}

}  // namespace

uint64_t Tally::accepted() const {
  uint64_t n = 0;
  for (const auto &entry : last_bit) n += entry.second;
  return n;
}

void append_operand(std::string &out, char kind, const calls::Value &v) {
  if (v.null)
    out += " null";
  else if (calls::is_text(kind))
    out += ' ' + quoted(v.text);
  else
    append_hex(out, v.bits, calls::digits(kind));
}

bool parse(std::string_view line, Parsed &p, std::string &error) {
  const std::string_view name = next_token(line);
  p.function = calls::find(name);
  if (p.function == nullptr) {
    error = "unknown function '" + std::string(name) + "'";
    return false;
  }
  if (p.function->call == nullptr) {
    error = std::string(p.function->name) + " cannot be called here: " + p.function->not_callable;
    return false;
  }
  const char *kinds = p.function->operands;
  for (std::size_t i = 0; kinds[i] != '\0'; ++i) {
    const std::string_view token = next_token(line);
    if (token.empty() || token == "->") {
      error = std::string(p.function->name) + " takes " + std::to_string(std::strlen(kinds)) + " operand(s)";
      return false;
    }
    if (!read(*p.function, i, token, p.in[i], error)) return false;
  }
  if (const char *unsafe = calls::unsafe_format(*p.function, p.in)) {
    error = std::string(p.function->name) + ": " + unsafe;
    return false;
  }
  if (const char *wide = calls::oversized_format(*p.function, p.in)) {
    error = std::string(p.function->name) + ": " + wide;
    return false;
  }
  std::string_view next = next_token(line);
  p.null_result = next == "null";
  if (p.null_result) next = next_token(line);
  p.has_results = next == "->";
  if (!p.has_results && !next.empty()) {
    error = "'" + std::string(next) + "' after the operands of " + p.function->name;
    return false;
  }
  p.results = line;
  return true;
}

void format(const Parsed &p, const calls::Answer &a, std::string &out) {
  out = p.function->name;
  for (std::size_t i = 0; p.function->operands[i] != '\0'; ++i) append_operand(out, p.function->operands[i], p.in[i]);
  out += p.null_result ? " null ->" : " ->";
  for (std::size_t i = 0; i < a.call.count; ++i) append_result(out, a.call.out[i]);
  for (std::size_t i = 0; i < a.report_count; ++i) {
    out += " ! ";
    out += a.reports[i].name;
  }
}

bool answer(std::string_view call, Parsed &p, calls::Answer &a, std::string &out, std::string &error) {
  if (!parse(call, p, error)) return false;
  calls::answer(*p.function, p.in, p.null_result, a);
  format(p, a, out);
  return true;
}

Tally run(std::FILE *in, const char *name, std::FILE *out, const Options &options) {
  Tally t;
  Parsed p;
  calls::Answer answered;
  std::string actual, error;
  Input input(in, name);
  uint64_t shown = 0;
  for (;;) {
    // A co-process sees each answer before it writes the next line.
    if (options.flush_each) std::fflush(out);
    if (std::ferror(out) != 0) break;
    const Input::Got got = input.next();
    if (got == Input::kEnd) break;
    if (got == Input::kFailed) {
      t.error = input.error();
      break;
    }
    if (got == Input::kBadLine) {
      ++t.unreadable;
      std::fprintf(out, "%s\n", input.error().c_str());
      continue;
    }
    const std::string_view text = input.line();
    const std::size_t hash = text.starts_with('#') ? 0 : text.find(" #");
    const std::string_view comment = hash == std::string_view::npos ? "" : text.substr(hash > 0 ? hash + 1 : 0);
    std::string_view call = text.substr(0, std::min(hash, text.size()));
    while (!call.empty() && (call.back() == ' ' || call.back() == '\t')) call.remove_suffix(1);
    if (is_blank(call)) {
      if (options.answer_all) std::fprintf(out, "%.*s\n", static_cast<int>(text.size()), text.data());
      continue;
    }
    if (!answer(call, p, answered, actual, error)) {
      ++t.unreadable;
      std::fprintf(out, "%s:%" PRIu64 ": cannot run: %s: %.*s\n", name, input.number(), error.c_str(),
                   static_cast<int>(call.size()), call.data());
      continue;
    }
    if (!p.has_results || options.answer_all) {
      ++t.answered;
      print_with_comment(out, actual, comment);
      continue;
    }
    const std::string_view results = std::string_view(actual).substr(actual.find(" ->") + 3);
    if (same_words(results, p.results)) {
      ++t.passed;
      continue;
    }
    const char *library = last_bit_of(*p.function, p.results, results);
    if (library != nullptr) {
      ++t.passed;
      count_last_bit(t, library);
    } else {
      ++t.failed;
    }
    if (++shown <= 50)
      std::fprintf(out, "%s:%" PRIu64 ": %s\n  this build: %s\n  expected:   %.*s\n", name, input.number(),
                   library != nullptr ? "accepted, the C library's last bit:" : "DIFFERS:", actual.c_str(),
                   static_cast<int>(call.size()), call.data());
  }
  return t;
}

}  // namespace lines
