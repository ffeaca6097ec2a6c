#include "values.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "kelsoft.h"

namespace tool {
namespace {

template <std::size_t N>
using Unsigned = std::conditional_t<N == 2, uint16_t, std::conditional_t<N == 4, uint32_t, uint64_t>>;

bool has_hex_prefix(std::string_view s) { return s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'); }

// The whole of s as a number in base, or false.
template <typename T>
bool whole(std::string_view s, T &out, int base) {
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out, base);
  return ec == std::errc() && end == s.data() + s.size();
}

// 0x and at most two hex digits per byte of T: T's bits.
template <typename T>
bool read_bits(std::string_view s, T &out) {
  Unsigned<sizeof(T)> bits;
  if (!has_hex_prefix(s) || s.size() - 2 > 2 * sizeof(T) || !whole(s.substr(2), bits, 16)) return false;
  out = std::bit_cast<T>(bits);
  return true;
}

template <typename T>
bool read_integer(const char *text, T &out) {
  return has_hex_prefix(text) ? read_bits(text, out) : whole(text, out, 10);
}

// Decimal text must be read by the library's parser to its end.
bool parses_whole(const char *text) {
  char *end = nullptr;
  KEL_SoftStr2Float(text, &end);
  return *text != '\0' && end != nullptr && *end == '\0';
}

template <typename T>
std::string decimal(T v) {
  if (std::isinf(v)) return v > 0 ? "+inf" : "-inf";
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, end);
}

std::string hex(uint64_t bits, std::size_t size) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%0*llX", static_cast<int>(2 * size), static_cast<unsigned long long>(bits));
  return buf;
}

}  // namespace

bool read(const char *text, double &out) {
  if (has_hex_prefix(text)) return read_bits(text, out);
  if (!parses_whole(text)) return false;
  KEL_Deva(&out, text);
  return true;
}

bool read(const char *text, float &out) {
  if (has_hex_prefix(text)) return read_bits(text, out);
  if (!parses_whole(text)) return false;
  KEL_Seva(&out, text);
  return true;
}

bool read(const char *text, int16_t &out) { return read_integer(text, out); }
bool read(const char *text, uint16_t &out) { return read_integer(text, out); }
bool read(const char *text, int32_t &out) { return read_integer(text, out); }
bool read(const char *text, uint32_t &out) { return read_integer(text, out); }
bool read(const char *text, int64_t &out) { return read_integer(text, out); }
bool read(const char *text, uint64_t &out) { return read_integer(text, out); }

template <std::size_t N>
static bool read_bytes(std::string_view s, Bytes<N> &out) {
  if (!has_hex_prefix(s) || s.size() != 2 + 2 * N) return false;
  for (std::size_t i = 0; i < N; ++i)
    if (!whole(s.substr(2 + 2 * i, 2), out.b[i], 16)) return false;
  return true;
}
bool read(const char *text, Bytes<4> &out) { return read_bytes(text, out); }
bool read(const char *text, Bytes<8> &out) { return read_bytes(text, out); }

std::string show(double v) { return decimal(v) + " " + hex(std::bit_cast<uint64_t>(v), sizeof v); }
std::string show(float v) { return decimal(v) + " " + hex(std::bit_cast<uint32_t>(v), sizeof v); }

std::string show(int64_t v, std::size_t size) {
  const uint64_t mask = size == 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * size)) - 1;
  return std::to_string(v) + " " + hex(static_cast<uint64_t>(v) & mask, size);
}
std::string show(uint64_t v, std::size_t size) { return std::to_string(v) + " " + hex(v, size); }

}  // namespace tool
