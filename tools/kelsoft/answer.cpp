// Answers: printed as lines, as one line each, or as JSON objects.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "tool.h"

namespace tool {

Style g_style = Style::kLines;
bool g_failed = false;

namespace {
std::vector<Field> fields;
}

std::string json_string(std::string_view s) {
  std::string out = "\"";
  for (const char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
      out += buf;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

void put(std::string_view key, std::string text, std::string_view json_key, std::string json) {
  if (json.empty()) json = json_string(text);
  fields.push_back(
      {std::string(key), std::move(text), std::string(json_key.empty() ? key : json_key), std::move(json)});
}
void put_json(std::string_view json_key, std::string json) { put({}, {}, json_key, std::move(json)); }

namespace {
void print_json() {
  std::string out = "{";
  std::vector<bool> done(fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (done[i]) continue;
    std::vector<std::size_t> same;
    for (std::size_t j = i; j < fields.size(); ++j)
      if (fields[j].json_key == fields[i].json_key) same.push_back(j);
    if (out.size() > 1) out += ", ";
    out += json_string(fields[i].json_key) + ": ";
    const bool array = same.size() > 1 || fields[i].json_key == "reports" || fields[i].json_key == "operands";
    if (array) out += "[";
    for (std::size_t k = 0; k < same.size(); ++k) {
      out += (k > 0 ? ", " : "") + fields[same[k]].json;
      done[same[k]] = true;
    }
    if (array) out += "]";
  }
  std::printf("%s}\n", out.c_str());
}
}  // namespace

int emit() {
  if (g_style == Style::kJson) {
    print_json();
  } else {
    const char *separator = "";
    for (const Field &f : fields) {
      if (f.key.empty()) continue;
      if (g_style == Style::kLines) {
        std::printf("%-7s %s\n", (f.key + ":").c_str(), f.text.c_str());
      } else {
        std::printf("%s%s: %s", separator, f.key.c_str(), f.text.c_str());
        separator = "; ";
      }
    }
    if (g_style == Style::kOneLine) std::printf("\n");
  }
  fields.clear();
  return 0;
}

int usage_error(const char *format, ...) {
  char message[512];
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  g_failed = true;
  if (g_style == Style::kLines) {
    fields.clear();
    std::fprintf(stderr, "kelsoft: %s\n(kelsoft --help lists the commands and functions)\n", message);
  } else {
    std::vector<Field> context;
    context.swap(fields);
    for (Field &f : context)
      if (f.key.empty()) fields.push_back(std::move(f));  // keep function and operands
    put("error", message);
    emit();
  }
  return kUsage;
}

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
  return true;
}

std::size_t distance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t up = row[j];
      const bool same = (a[i - 1] | 0x20) == (b[j - 1] | 0x20);
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = up;
    }
  }
  return row[b.size()];
}

}  // namespace tool
