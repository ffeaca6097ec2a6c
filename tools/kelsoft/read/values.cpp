#include "values.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "kelsoft.hpp"

namespace tool {
namespace {

// The target's patterns: the default NaN has the quiet bit set; a signalling
// NaN has it clear and the next bit set.
constexpr Special kSpecialTable[] = {
    {"nan", 0x7FF8000000000000, 0x7FC00000},  {"-nan", 0xFFF8000000000000, 0xFFC00000},
    {"inf", 0x7FF0000000000000, 0x7F800000},  {"-inf", 0xFFF0000000000000, 0xFF800000},
    {"snan", 0x7FF4000000000000, 0x7FA00000}, {"-snan", 0xFFF4000000000000, 0xFFA00000},
};

bool has_hex_prefix(std::string_view s) { return s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'); }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool read_float(char kind, std::string_view s, uint64_t &bits) {
  const std::string_view name = s.starts_with('+') ? s.substr(1) : s;
  for (const Special &special : kSpecialTable) {
    if (calls::same_name(name, special.name)) {
      bits = kind == 'd' ? special.double_bits : special.float_bits;
      return true;
    }
  }
  // Decimal text is read by the library's parser, to its end.
  const std::string text(s);
  char *end = nullptr;
  KEL_SoftStr2Float(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size()) return false;
  if (kind == 'd') {
    double v;
    KEL_Deva(&v, text.c_str());
    bits = std::bit_cast<uint64_t>(v);
  } else {
    float v;
    KEL_Seva(&v, text.c_str());
    bits = std::bit_cast<uint32_t>(v);
  }
  return true;
}

struct Range {
  int64_t low;
  uint64_t high;
};

Range range(char kind) {
  const int bits = 4 * calls::digits(kind);
  if (!calls::is_signed(kind)) return {0, ~uint64_t{0} >> (64 - bits)};
  return {-static_cast<int64_t>((uint64_t{1} << (bits - 1)) - 1) - 1, (uint64_t{1} << (bits - 1)) - 1};
}

// A decimal integer of any size and sign against the kind's range.
bool read_integer(char kind, std::string_view s, uint64_t &bits, std::string &error) {
  const bool negative = s.starts_with('-');
  const std::string_view d = negative || s.starts_with('+') ? s.substr(1) : s;
  uint64_t magnitude = 0;
  const auto [end, ec] = std::from_chars(d.data(), d.data() + d.size(), magnitude, 10);
  if (d.empty() || end != d.data() + d.size() || (ec != std::errc() && ec != std::errc::result_out_of_range)) {
    error = "cannot read operand '" + std::string(s) + "'";
    return false;
  }
  const Range r = range(kind);
  const uint64_t low_magnitude = 0 - static_cast<uint64_t>(r.low);
  if (ec == std::errc::result_out_of_range || (negative ? magnitude > low_magnitude : magnitude > r.high)) {
    error =
        "operand '" + std::string(s) + "' is out of range: " + std::to_string(r.low) + " to " + std::to_string(r.high);
    return false;
  }
  bits = (negative ? 0 - magnitude : magnitude) & (~uint64_t{0} >> (64 - 4 * calls::digits(kind)));
  return true;
}

}  // namespace

const std::span<const Special> kSpecials = kSpecialTable;
const char *const kNoText = "no decimal text reads back to these bits on the target";

bool read_bits(std::string_view d, int most, bool exact, uint64_t &bits) {
  if (d.empty() || d.size() > static_cast<std::size_t>(most) || (exact && d.size() != static_cast<std::size_t>(most)))
    return false;
  const auto [end, ec] = std::from_chars(d.data(), d.data() + d.size(), bits, 16);
  return ec == std::errc() && end == d.data() + d.size();
}

bool read_operand(char kind, std::string_view text, calls::Value &out, std::string &error) {
  out.null = false;
  if (calls::is_text(kind)) {
    out.text.assign(text);
    return true;
  }
  const std::string_view s = trimmed(text);
  const int digits = calls::digits(kind);
  const bool buffer = kind == 'x' || kind == 'X';
  if (has_hex_prefix(s)) {
    if (read_bits(s.substr(2), digits, buffer, out.bits)) return true;
    error = "cannot read operand '" + std::string(text) + "': " + (buffer ? "a buffer is 0x and " : "0x takes 1 to ") +
            std::to_string(digits) + " hex digits" + (buffer ? "" : " here");
    return false;
  }
  if (kind == 'd' || kind == 'f') {
    if (read_float(kind, s, out.bits)) return true;
    error = "cannot read operand '" + std::string(text) + "'";
    return false;
  }
  if (buffer) {
    error = "cannot read operand '" + std::string(text) + "': a buffer is 0x and " + std::to_string(digits) +
            " hex digits, its bytes in the target's order";
    return false;
  }
  return read_integer(kind, s, out.bits, error);
}

std::string decimal(const calls::Result &r) {
  if (r.kind == 'd' || r.kind == 'f') {
    const double v =
        r.kind == 'd' ? std::bit_cast<double>(r.bits) : std::bit_cast<float>(static_cast<uint32_t>(r.bits));
    if (std::isinf(v)) return v > 0 ? "+inf" : "-inf";
    if (std::isnan(v)) return std::signbit(v) ? "-nan" : "nan";
    const std::optional<std::string> text =
        r.kind == 'd' ? kel::target_text(v) : kel::target_text(static_cast<float>(v));
    return text ? *text : kNoText;
  }
  const int bits = 4 * calls::digits(r.kind);
  if (!calls::is_signed(r.kind)) return std::to_string(r.bits);
  const uint64_t sign = uint64_t{1} << (bits - 1);
  return std::to_string(static_cast<int64_t>((r.bits ^ sign) - sign));
}

std::string hex(const calls::Result &r) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "0x%0*llX", calls::digits(r.kind), static_cast<unsigned long long>(r.bits));
  return buf;
}

}  // namespace tool
