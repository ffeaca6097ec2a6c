#include "texts.h"

namespace lines {
namespace {

constexpr char kDigits[] = "0123456789abcdef";

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > ' ' && byte < 127 && c != '"' && c != '\\')
      out += c;
    else
      out += {'\\', 'x', kDigits[byte >> 4], kDigits[byte & 15]};
  }
  return out + "\"";
}

bool unquote(std::string_view token, std::string &text) {
  if (token.size() < 2 || token.front() != '"' || token.back() != '"') return false;
  text.clear();
  for (std::size_t i = 1; i + 1 < token.size(); ++i) {
    if (token[i] != '\\') {
      text += token[i];
      continue;
    }
    if (i + 4 >= token.size() || token[i + 1] != 'x') return false;
    const int high = hex_digit(token[i + 2]), low = hex_digit(token[i + 3]);
    if (high < 0 || low < 0) return false;
    text += static_cast<char>(high * 16 + low);
    i += 3;
  }
  return true;
}

}  // namespace lines
