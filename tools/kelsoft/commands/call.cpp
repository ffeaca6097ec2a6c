// calc, convert, format and parse: calls from the command line through the
// call table, answered with each result's decimal text and bits.
#include <cstring>
#include <string>
#include <vector>

#include "calls.h"
#include "input.h"
#include "tool.h"
#include "values.h"

namespace tool {

std::optional<std::size_t> g_format_size;

namespace {

// The largest buffer format gives a call, and so the longest text it shows.
constexpr std::size_t kWholeSize = calls::kMaxSize;

// The written bytes up to the terminator.
std::string written_text(const calls::Result &r) {
  return r.text.substr(0, std::min(r.text.find('\0'), r.text.size()));
}

std::string quote(const std::string &text) { return '"' + text + '"'; }

void put_result(std::string_view key, const calls::Result &r) {
  static const char *const kMeaning[] = {"equal or unordered", "greater", "less"};
  if (r.filled && !r.stored) return answer_result(key, "not stored", "null", "null", false);
  if (r.null) return answer_result(key, "null", "null", "null");
  const std::string h = hex(r), bits = json_string(h);
  switch (r.kind) {
    case 'a':
    case 't':
      return answer_result(key, quote(r.text), json_string(r.text), "null");
    case 'b':
      return answer_result(key, quote(written_text(r)), json_string(written_text(r)), "null");
    case 'x':
    case 'X':
      return answer_result(key, h + " (the bytes in the target's order, big-endian)", bits, bits);
    case 'C': {
      const auto c = static_cast<int32_t>(r.bits);
      return answer_result(key, std::to_string(c) + " (" + (c >= 0 && c <= 2 ? kMeaning[c] : "null address") + ")",
                           std::to_string(c), bits);
    }
    default: {
      const std::string d = decimal(r);
      const bool finite = d != kNoText && d.find_first_of("in") == std::string::npos;  // not inf or nan
      return answer_result(key, d + " " + h, finite ? d : "null", bits);
    }
  }
}

void put_answer(const calls::Function &f, const calls::Answer &a) {
  for (std::size_t i = 0; i < a.report_count; ++i)
    answer_report(a.reports[i].file, a.reports[i].line, a.reports[i].name);
  std::string_view names = f.names != nullptr ? f.names : "result";
  for (std::size_t i = 0; i < a.call.count; ++i) {
    const std::size_t blank = std::min(names.find(' '), names.size());
    put_result(names.substr(0, blank), a.call.out[i]);
    names.remove_prefix(std::min(blank + 1, names.size()));
  }
}

bool read_operands(const calls::Function &f, Args args, calls::Value *in) {
  std::string kinds = f.operands;
  std::erase(kinds, 'z');  // a buffer's size comes from --size
  if (args.size() != kinds.size()) {
    usage_error("expected %zu operand(s), got %zu", kinds.size(), args.size());
    return false;
  }
  std::string error;
  for (std::size_t i = 0, k = 0; f.operands[i] != '\0'; ++i) {
    if (f.operands[i] == 'z') continue;
    if (!read_operand(f.operands[i], args[k++], in[i], error)) {
      usage_error("%s", error.c_str());
      return false;
    }
  }
  return true;
}

// A text too long to show whole: its start (the answer says how long it is).
std::string preview(const std::string &text) {
  constexpr std::size_t kShown = 60;
  return text.size() <= kShown ? quote(text) : quote(text.substr(0, kShown)) + "...";
}

// A call that writes text into a buffer of --size bytes (or kWholeSize):
// what it stored, whether the C library failed the call, and whether the
// text was cut, with a preview of the whole text (as much of it as
// kWholeSize bytes hold).
int sized(const calls::Function &f, calls::Value *in) {
  const std::size_t size_operand = std::strchr(f.operands, 'z') - f.operands;
  calls::Answer a;
  a.exact = false;
  in[size_operand].bits = g_format_size.value_or(kWholeSize);
  calls::answer(f, in, false, a);
  put_answer(f, a);
  const std::string text = written_text(a.call.out[0]);
  if (a.error != 0) {
    answer_result("failed",
                  std::string("yes, the C library failed the call: ") + strerrorname_np(a.error) + " (" +
                      std::strerror(a.error) + ")",
                  json_string(strerrorname_np(a.error)), "null");
    return emit();
  }
  if (!g_format_size) return emit();
  bool cut = text.size() + 1 >= *g_format_size && *g_format_size < kWholeSize;
  std::string whole = text;
  if (cut) {
    calls::Answer w;
    w.exact = false;
    in[size_operand].bits = kWholeSize;
    calls::answer(f, in, false, w);
    whole = written_text(w.call.out[0]);
    cut = whole != text;
  }
  const bool longer = whole.size() + 1 >= kWholeSize;
  const std::string needs = longer ? "more than " + std::to_string(kWholeSize) : std::to_string(whole.size() + 1);
  answer_result("cut", cut ? "yes, the whole text " + preview(whole) + " needs " + needs + " bytes" : "no",
                cut ? "true" : "false", "null");
  return emit();
}

int call(const calls::Function &f, Args args) {
  answer_function(f.name);
  for (const char *o : args) answer_operand(o);
  if (std::string_view(f.name) == "KEL_Double2String2" && args.size() == 3)
    return usage_error("expected a value and a format; give a buffer size as --size %s", args[2]);
  calls::Value in[4];
  if (!read_operands(f, args, in)) return kUsage;
  if (const char *unsafe = calls::unsafe_format(f, in)) return usage_error("%s", unsafe);
  if (const char *wide = calls::oversized_format(f, in)) return usage_error("%s", wide);
  if (std::strchr(f.operands, 'z') != nullptr) return sized(f, in);
  calls::Answer a;
  a.exact = false;
  calls::answer(f, in, false, a);
  put_answer(f, a);
  return emit();
}

// Runs one(operands) for each line of standard input (input.h), one answer
// a line, each written before the next line is read; a blank line answers
// nothing.
template <typename One>
int each_line(bool split, One one) {
  if (g_style == Style::kLines) g_style = Style::kOneLine;
  lines::Input input(stdin, "-");
  for (;;) {
    if (std::fflush(stdout) != 0) return kWriteError;
    const lines::Input::Got got = input.next();
    if (got == lines::Input::kEnd) return 0;
    if (got != lines::Input::kLine) {
      usage_error("%s", input.error().c_str());
      if (got == lines::Input::kFailed) return kUsage;
      continue;
    }
    const std::string_view line = input.line();
    if (lines::is_blank(line)) continue;
    std::vector<std::string> words;
    if (!split) words.emplace_back(line);
    for (std::size_t at = 0; split && (at = line.find_first_not_of(" \t", at)) != std::string::npos;) {
      const std::size_t stop = std::min(line.find_first_of(" \t", at), line.size());
      words.emplace_back(line.substr(at, stop - at));
      at = stop;
    }
    std::vector<char *> operands;
    operands.reserve(words.size());
    for (std::string &w : words) operands.push_back(w.data());
    one(Args(operands));
  }
}

bool from_stdin(Args args) { return args.size() == 1 && std::strcmp(args[0], "-") == 0; }

// The message for a name the command has no function for: the command that
// has it, or the nearest name of its own.
int unknown_function(std::string_view command, const char *given) {
  const calls::Function *nearest = nullptr;
  std::size_t best = ~std::size_t{0};
  for (const calls::Function &f : calls::exported()) {
    if (f.call == nullptr || command_of(f) != command) continue;
    const std::size_t d = std::min(distance(f.name, given), distance(calls::bare(f.name), given));
    if (d < best) best = d, nearest = &f;
  }
  if (nearest == nullptr || !close_enough(best, given)) return usage_error("unknown function '%s'", given);
  const std::string_view name = calls::bare(nearest->name);
  return usage_error("unknown function '%s'; did you mean %.*s?", given, static_cast<int>(name.size()), name.data());
}

int parse_one(Args texts) {
  if (texts.empty()) return usage_error("parse needs at least one text");
  const calls::Function &parse = *calls::find("KEL_SoftStr2Float"), &narrow = *calls::find("KEL_Seva");
  for (const char *text : texts) {
    calls::Value in[1];
    in[0].text = text;
    calls::Answer d, f;
    calls::answer(parse, in, false, d);
    calls::answer(narrow, in, false, f);
    answer_function("parse");
    answer_operand(text);
    answer_note("text", quote(in[0].text));
    put_result("double", d.call.out[0]);
    put_result("float", f.call.out[0]);
    const std::string consumed = std::to_string(d.call.out[1].bits);
    answer_result("end", consumed + " of " + std::to_string(in[0].text.size()), consumed, "null");
    emit();
  }
  return 0;
}

}  // namespace

std::string_view command_of(const calls::Function &f) {
  const std::string_view family = f.family;
  return family == "convert" || family == "format" ? family : "calc";
}

int call_function(std::string_view command, Args args) {
  if (args.empty()) return usage_error("missing function name");
  const calls::Function *f = calls::find(args[0]);
  if (f != nullptr && f->call == nullptr)
    return usage_error("%s cannot be called from the command: %s", f->name, f->not_callable);
  if (f == nullptr || std::string_view(f->family) == "probe") return unknown_function(command, args[0]);
  const std::string_view other = command_of(*f);
  if (other != command) {
    const std::string_view name = calls::bare(f->name);
    return usage_error("unknown function '%s'; %.*s is a %.*s function", args[0], static_cast<int>(name.size()),
                       name.data(), static_cast<int>(other.size()), other.data());
  }
  const Args operands = args.subspan(1);
  if (from_stdin(operands)) return each_line(true, [f](Args o) { return call(*f, o); });
  return call(*f, operands);
}

int target_texts(Args args) {
  const bool single = !args.empty() && std::strcmp(args[0], "--float") == 0;
  const Args values = args.subspan(single ? 1 : 0);
  const auto one = [single](Args texts) {
    if (texts.empty()) return usage_error("--target-text needs at least one value");
    for (const char *text : texts) {
      answer_function("target-text");
      answer_operand(text);
      calls::Value in;
      std::string error;
      if (!read_operand(single ? 'f' : 'd', text, in, error)) return usage_error("%s", error.c_str());
      calls::Result r;
      r.kind = single ? 'f' : 'd';
      r.bits = in.bits;
      put_result(r.kind == 'f' ? "float" : "double", r);
      emit();
    }
    return 0;
  };
  if (from_stdin(values)) return each_line(true, one);
  return one(values);
}

int parse_texts(Args args) {
  if (from_stdin(args)) return each_line(false, parse_one);
  return parse_one(args);
}

}  // namespace tool
