// calc, convert, format and parse: calls from the command line through the
// call table, answered with each result's decimal text and bits.
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "calls.h"
#include "kelsoft.hpp"
#include "tool.h"
#include "values.h"

namespace tool {

std::optional<std::size_t> g_format_size;

namespace {

// The largest buffer format gives a call, and so the longest text it shows.
constexpr std::size_t kWholeSize = 65536;

std::string_view bare(std::string_view name) {
  return name.starts_with("KEL_") || name.starts_with("LUM_") ? name.substr(4) : name;
}

// "key: decimal bits"; in JSON key and key_bits.
void put_number(const std::string &key, const calls::Result &r) {
  const std::string d = decimal(r), h = hex(r);
  put(key, d + " " + h, key, json_string(d));
  put_json(key + "_bits", json_string(h));
}

// The written bytes up to the terminator.
std::string written_text(const calls::Result &r) {
  return r.text.substr(0, std::min(r.text.find('\0'), r.text.size()));
}

void put_result(const std::string &key, const calls::Result &r) {
  static const char *const kMeaning[] = {"equal or unordered", "greater", "less"};
  if (r.filled && !r.stored) return put(key, "not stored", key, "null");
  if (r.null) return put(key, "null", key, "null");
  switch (r.kind) {
    case 'a':
    case 't':
      return put(key, "\"" + r.text + "\"", key, json_string(r.text));
    case 'b':
      return put(key, "\"" + written_text(r) + "\"", key, json_string(written_text(r)));
    case 'x':
    case 'X':
      return put(key, hex(r) + " (the bytes in the target's order, big-endian)", key, json_string(hex(r)));
    case 'C': {
      const auto c = static_cast<int32_t>(r.bits);
      const char *m = c >= 0 && c <= 2 ? kMeaning[c] : "null address";
      put(key, std::to_string(c) + " (" + m + ")", key, std::to_string(c));
      return put_json("meaning", json_string(m));
    }
    default:
      return put_number(key, r);
  }
}

void put_answer(const calls::Function &f, const calls::Answer &a) {
  for (std::size_t i = 0; i < a.report_count; ++i) {
    const calls::Report &r = a.reports[i];
    put("report", std::string(r.file) + ":" + std::to_string(r.line) + " " + r.name, "reports", json_string(r.name));
  }
  std::string_view names = f.names != nullptr ? f.names : "result";
  for (std::size_t i = 0; i < a.call.count; ++i) {
    const std::size_t blank = std::min(names.find(' '), names.size());
    put_result(std::string(names.substr(0, blank)), a.call.out[i]);
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

// A call that writes text into a buffer: the text in a buffer of --size
// bytes, and whether it was cut from the whole text (as much of it as
// kWholeSize bytes hold).
int sized(const calls::Function &f, calls::Value *in) {
  const std::size_t size_operand = std::strchr(f.operands, 'z') - f.operands;
  calls::Answer whole, sized;
  in[size_operand].bits = kWholeSize;
  calls::answer(f, in, false, whole);
  const std::string all = written_text(whole.call.out[0]);
  if (!g_format_size) {
    put_answer(f, whole);
    return emit();
  }
  in[size_operand].bits = *g_format_size;
  calls::answer(f, in, false, sized);
  put_answer(f, sized);
  const bool cut = written_text(sized.call.out[0]) != all;
  const bool longer = all.size() + 1 >= kWholeSize;
  put("cut",
      cut ? "yes, the whole text \"" + all + (longer ? "\"... needs more than " : "\" needs ") +
                std::to_string(longer ? kWholeSize : all.size() + 1) + " bytes"
          : "no",
      "cut", cut ? "true" : "false");
  if (cut) put_json("whole", json_string(all));
  return emit();
}

int call(const calls::Function &f, Args args) {
  put_json("function", json_string(f.name));
  for (const char *o : args) put_json("operands", json_string(o));
  if (std::string_view(f.name) == "KEL_Double2String2") {
    if (args.size() == 3) return usage_error("expected a value and a format; give a buffer size as --size %s", args[2]);
    if (args.size() == 2 && !kel::is_double_format(args[1]))
      return usage_error("the format must hold one conversion of a double, such as %%.3e");
  }
  calls::Value in[4];
  if (!read_operands(f, args, in)) return kUsage;
  if (std::strchr(f.operands, 'z') != nullptr) return sized(f, in);
  calls::Answer a;
  calls::answer(f, in, false, a);
  put_answer(f, a);
  return emit();
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

// The message for a name the command has no function for: the command that
// has it, or the nearest name of its own.
int unknown_function(std::string_view command, const char *given) {
  const calls::Function *nearest = nullptr;
  std::size_t best = ~std::size_t{0};
  for (const calls::Function &f : calls::exported()) {
    if (f.call == nullptr || command_of(f) != command) continue;
    const std::size_t d = std::min(distance(f.name, given), distance(bare(f.name), given));
    if (d < best) best = d, nearest = &f;
  }
  if (nearest == nullptr || best > 3) return usage_error("unknown function '%s'", given);
  const std::string_view name = bare(nearest->name);
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
    put("text", "\"" + in[0].text + "\"", "text", json_string(text));
    put_result("double", d.call.out[0]);
    put_result("float", f.call.out[0]);
    const std::string consumed = std::to_string(d.call.out[1].bits), length = std::to_string(in[0].text.size());
    put("end", consumed + " of " += length, "end", consumed);
    put_json("length", length);
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
    const std::string_view name = bare(f->name);
    return usage_error("unknown function '%s'; %.*s is a %.*s function", args[0], static_cast<int>(name.size()),
                       name.data(), static_cast<int>(other.size()), other.data());
  }
  const Args operands = args.subspan(1);
  if (from_stdin(operands)) return each_line(true, [f](Args o) { return call(*f, o); });
  return call(*f, operands);
}

int parse_texts(Args args) {
  if (from_stdin(args)) return each_line(false, parse_one);
  return parse_one(args);
}

}  // namespace tool
