// Answers: printed as lines, as one line each, or as JSON objects.
#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tool.h"

namespace tool {

Style g_style = Style::kLines;
bool g_failed = false;

namespace {

enum class Item { kReport, kResult, kNote };
struct Line {
  Item item;
  std::string key, text, value, bits;
  bool stored;
};

struct Answer {
  std::string function = "null";
  std::vector<std::string> operands;
  std::vector<Line> lines;
};
Answer current;

// A sequence of UTF-8 starting at s[i]: its length, or 0 when it is not one.
std::size_t utf8_length(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b = byte(i);
  const std::size_t n = b >= 0xF5 ? 0 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  const unsigned second = byte(i + 1);
  if ((b == 0xE0 && second < 0xA0) || (b == 0xED && second >= 0xA0) || (b == 0xF0 && second < 0x90) ||
      (b == 0xF4 && second >= 0x90))
    return 0;  // overlong, a surrogate, or beyond U+10FFFF
  return n;
}

std::string json_array(const std::vector<std::string> &items) {
  std::string out = "[";
  for (std::size_t i = 0; i < items.size(); ++i) (out += i > 0 ? ", " : "") += items[i];
  return out + "]";
}

void print_json(const std::string &error) {
  std::vector<std::string> operands, reports, results;
  for (const std::string &o : current.operands) operands.push_back(json_string(o));
  for (const Line &l : current.lines) {
    if (l.item == Item::kReport) reports.push_back(json_string(l.value));
    if (l.item != Item::kResult) continue;
    results.push_back("{\"name\": " + json_string(l.key) + ", \"value\": " + l.value +
                      ", \"text\": " + json_string(l.text) + ", \"bits\": " + l.bits +
                      ", \"stored\": " + (l.stored ? "true" : "false") + "}");
  }
  std::printf("{\"function\": %s, \"operands\": %s, \"reports\": %s, \"results\": %s, \"error\": %s}\n",
              current.function.c_str(), json_array(operands).c_str(), json_array(reports).c_str(),
              json_array(results).c_str(), error.empty() ? "null" : json_string(error).c_str());
}

}  // namespace

std::string json_string(std::string_view s) {
  std::string out = "\"";
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else if (const std::size_t n = c >= 0x80 ? utf8_length(s, i) : 0; n > 0) {
      out.append(s, i, n);
      i += n - 1;
    } else {
      char buf[8];  // a control character, DEL, or a byte outside UTF-8: its value as a code point
      std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
      out += buf;
    }
  }
  return out + "\"";
}

void answer_function(std::string_view name) { current.function = json_string(name); }
void answer_operand(std::string_view text) { current.operands.emplace_back(text); }

void answer_report(const char *file, int32_t line, const char *name) {
  current.lines.push_back(
      {Item::kReport, "report", std::string(file) + ":" + std::to_string(line) + " " + name, name, "", true});
}

void answer_result(std::string_view key, std::string text, std::string value, std::string bits, bool stored) {
  current.lines.push_back(
      {Item::kResult, std::string(key), std::move(text), std::move(value), std::move(bits), stored});
}

void answer_note(std::string_view key, std::string text) {
  current.lines.push_back({Item::kNote, std::string(key), std::move(text), "", "", true});
}

int emit() {
  if (g_style == Style::kJson) {
    print_json("");
  } else {
    const char *separator = "";
    for (const Line &l : current.lines) {
      if (g_style == Style::kLines) {
        std::printf("%-7s %s\n", (l.key + ":").c_str(), l.text.c_str());
      } else {
        std::printf("%s%s: %s", separator, l.key.c_str(), l.text.c_str());
        separator = "; ";
      }
    }
    if (g_style == Style::kOneLine) std::printf("\n");
  }
  current = {};
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
    std::fprintf(stderr, "kelsoft: %s\n(kelsoft --help lists the commands and functions)\n", message);
  } else if (g_style == Style::kJson) {
    current.lines.clear();
    print_json(message);
  } else {
    std::printf("error: %s\n", message);
  }
  current = {};
  return kUsage;
}

int finish(int status) {
  if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return status;
  std::fprintf(stderr, "kelsoft: cannot write the output: %s\n", std::strerror(errno));
  return kWriteError;
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

bool close_enough(std::size_t distance, std::string_view given) {
  return distance <= 2 && 2 * distance <= given.size();
}

}  // namespace tool
