#include "values.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
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
  const std::string_view s = text;
  if (has_hex_prefix(s)) {
    if (read_bits(s, out)) return true;
    usage_error("cannot read operand '%s': 0x takes 1 to %zu hex digits here", text, 2 * sizeof(T));
    return false;
  }
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out, 10);
  if (ec == std::errc() && end == s.data() + s.size()) return true;
  if (ec == std::errc::result_out_of_range)
    usage_error("operand '%s' is out of range: %s to %s", text, std::to_string(std::numeric_limits<T>::min()).c_str(),
                std::to_string(std::numeric_limits<T>::max()).c_str());
  else
    usage_error("cannot read operand '%s'", text);
  return false;
}

// Decimal text must be read by the library's parser to its end.
bool parses_whole(const char *text) {
  char *end = nullptr;
  KEL_SoftStr2Float(text, &end);
  return *text != '\0' && end != nullptr && *end == '\0';
}

template <typename T>
std::string shortest(T v) {
  if (std::isinf(v)) return v > 0 ? "+inf" : "-inf";
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, end);
}

// The target's patterns: the default NaN has the quiet bit set; a signalling
// NaN has it clear and the next bit set.
constexpr Special kSpecialTable[] = {
    {"nan", 0x7FF8000000000000, 0x7FC00000},  {"-nan", 0xFFF8000000000000, 0xFFC00000},
    {"inf", 0x7FF0000000000000, 0x7F800000},  {"-inf", 0xFFF0000000000000, 0xFF800000},
    {"snan", 0x7FF4000000000000, 0x7FA00000}, {"-snan", 0xFFF4000000000000, 0xFFA00000},
};

template <typename T, typename Bits>
bool read_float(const char *text, T &out, Bits Special::*bits, void (*eva)(T *, const char *)) {
  std::string_view s = text;
  if (s.starts_with('+')) s.remove_prefix(1);
  for (const Special &special : kSpecialTable) {
    if (same_name(s, special.name)) {
      out = std::bit_cast<T>(special.*bits);
      return true;
    }
  }
  if (has_hex_prefix(text)) {
    if (read_bits(text, out)) return true;
    usage_error("cannot read operand '%s': 0x takes 1 to %zu hex digits here", text, 2 * sizeof(T));
    return false;
  }
  if (!parses_whole(text)) {
    usage_error("cannot read operand '%s'", text);
    return false;
  }
  eva(&out, text);
  return true;
}

std::string hex(uint64_t bits, std::size_t size) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%0*llX", static_cast<int>(2 * size), static_cast<unsigned long long>(bits));
  return buf;
}

}  // namespace

const std::span<const Special> kSpecials = kSpecialTable;

bool read(const char *text, double &out) { return read_float(text, out, &Special::double_bits, KEL_Deva); }
bool read(const char *text, float &out) { return read_float(text, out, &Special::float_bits, KEL_Seva); }

bool read(const char *text, int16_t &out) { return read_integer(text, out); }
bool read(const char *text, uint16_t &out) { return read_integer(text, out); }
bool read(const char *text, int32_t &out) { return read_integer(text, out); }
bool read(const char *text, uint32_t &out) { return read_integer(text, out); }
bool read(const char *text, int64_t &out) { return read_integer(text, out); }
bool read(const char *text, uint64_t &out) { return read_integer(text, out); }

template <std::size_t N>
static bool read_bytes(const char *text, Bytes<N> &out) {
  const std::string_view s = text;
  bool ok = has_hex_prefix(s) && s.size() == 2 + 2 * N;
  for (std::size_t i = 0; ok && i < N; ++i) ok = whole(s.substr(2 + 2 * i, 2), out.b[i], 16);
  if (!ok) usage_error("cannot read operand '%s': a buffer is 0x and %zu hex digits", text, 2 * N);
  return ok;
}
bool read(const char *text, Bytes<4> &out) { return read_bytes(text, out); }
bool read(const char *text, Bytes<8> &out) { return read_bytes(text, out); }

std::string decimal(double v) { return shortest(v); }
std::string decimal(float v) { return shortest(v); }
std::string show(double v) { return decimal(v) + " " + hex(std::bit_cast<uint64_t>(v), sizeof v); }
std::string show(float v) { return decimal(v) + " " + hex(std::bit_cast<uint32_t>(v), sizeof v); }

void put_value(std::string_view key, std::string shown) {
  const std::size_t space = shown.rfind(' ');
  if (space == std::string::npos || shown.compare(space + 1, 2, "0x") != 0) return put(key, std::move(shown));
  put(key, shown, key, json_string(std::string_view(shown).substr(0, space)));
  put_json(std::string(key) + "_bits", json_string(std::string_view(shown).substr(space + 1)));
}

std::string show(int64_t v, std::size_t size) {
  const uint64_t mask = size == 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * size)) - 1;
  return std::to_string(v) + " " + hex(static_cast<uint64_t>(v) & mask, size);
}
std::string show(uint64_t v, std::size_t size) { return std::to_string(v) + " " + hex(v, size); }

}  // namespace tool
