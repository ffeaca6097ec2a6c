// format FUNCTION VALUE [FORMAT] [--size N]: the text formatting functions.
// With --size the buffer has N bytes and the answer says whether the text
// was cut; without it the buffer is large enough for any text.
#include <cstring>
#include <string>
#include <vector>

#include "kelsoft.h"
#include "kelsoft.hpp"
#include "values.h"

namespace tool {

std::optional<std::size_t> g_format_size;

namespace {

// Runs write(buffer, size) with the --size buffer and with one large enough
// for the whole text.
template <typename Write>
int print_text(Write write) {
  std::vector<char> whole(256);
  for (write(whole.data(), whole.size()); std::strlen(whole.data()) + 1 == whole.size();
       write(whole.data(), whole.size()))
    whole.assign(2 * whole.size(), '\0');
  if (!g_format_size) {
    put("result", "\"" + std::string(whole.data()) + "\"", "result", json_string(whole.data()));
    return emit();
  }
  std::vector<char> buffer(*g_format_size + 1);  // never empty, so data() is a buffer
  write(buffer.data(), *g_format_size);
  const std::string text(buffer.data(), strnlen(buffer.data(), *g_format_size));
  const bool cut = text != whole.data();
  put("result", "\"" + text + "\"", "result", json_string(text));
  put("cut",
      cut ? "yes, the whole text \"" + std::string(whole.data()) + "\" needs " +
                std::to_string(std::strlen(whole.data()) + 1) + " bytes"
          : "no",
      "cut", cut ? "true" : "false");
  if (cut) put_json("whole", json_string(whole.data()));
  return emit();
}

template <typename T>
int call(void (*f)(const T *, char *, std::size_t), Args args) {
  T value;
  if (!read_all(args, value)) return kUsage;
  return print_text([&](char *buffer, std::size_t size) { f(&value, buffer, size); });
}

int call(void (*f)(const double *, char *, std::size_t, const char *), Args args) {
  double value;
  if (args.size() == 3) return usage_error("expected a value and a format; give a buffer size as --size %s", args[2]);
  if (args.size() != 2) return usage_error("expected a value and a format");
  if (!read_all(args.first(1), value)) return kUsage;
  if (!kel::is_double_format(args[1]))
    return usage_error("the format must hold one conversion of a double, such as %%.3e");
  return print_text([&](char *buffer, std::size_t size) { f(&value, buffer, size, args[1]); });
}

constexpr Function kTable[] = {
    KEL_TOOL_ENTRY(Double2Ascii),
    KEL_TOOL_ENTRY(Float2String),
    KEL_TOOL_ENTRY(Double2String),
    KEL_TOOL_ENTRY(Double2String2),
};

}  // namespace

const std::span<const Function> kFormatFunctions = kTable;

}  // namespace tool
