// Operands from the command line and results for it. Floating-point operands
// are decimal text, read by the library's own parser (so the bits are the
// target's on every host), a name of a special value (nan, -nan, inf, -inf,
// snan, -snan: the target's patterns), or their bits as 0x followed by hex
// digits. Integers are decimal or 0x bits; byte buffers are 0x and two hex
// digits a byte, in memory order.
#ifndef KELSOFT_TOOL_VALUES_H
#define KELSOFT_TOOL_VALUES_H

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <type_traits>

#include "tool.h"

namespace tool {

template <std::size_t N>
struct Bytes {
  std::array<unsigned char, N> b;
};

// Each reads one operand; on failure it returns false after a usage message.
bool read(const char *text, double &out);
bool read(const char *text, float &out);
bool read(const char *text, int16_t &out);
bool read(const char *text, uint16_t &out);
bool read(const char *text, int32_t &out);
bool read(const char *text, uint32_t &out);
bool read(const char *text, int64_t &out);
bool read(const char *text, uint64_t &out);
bool read(const char *text, Bytes<4> &out);
bool read(const char *text, Bytes<8> &out);

// The special values by name, with their bits: the --help list.
struct Special {
  const char *name;
  uint64_t double_bits;
  uint32_t float_bits;
};
extern const std::span<const Special> kSpecials;

// Reads one operand per argument; prints a usage message when they do not fit.
template <typename... T>
bool read_all(Args args, T &...out) {
  if (args.size() != sizeof...(T)) {
    usage_error("expected %zu operand(s), got %zu", sizeof...(T), args.size());
    return false;
  }
  std::size_t i = 0;
  return (read(args[i++], out) && ...);
}

// Decimal (shortest text that reads back to the same value) and hex bits.
std::string decimal(double v);
std::string decimal(float v);
std::string show(double v);
std::string show(float v);
std::string show(int64_t v, std::size_t size);
std::string show(uint64_t v, std::size_t size);
template <typename T>
std::string show(T v) requires std::is_integral_v<T> {
  if constexpr (std::is_signed_v<T>)
    return show(int64_t{v}, sizeof v);
  else
    return show(uint64_t{v}, sizeof v);
}
template <std::size_t N>
std::string show(const Bytes<N> &v) {
  std::string out = "0x";
  static const char digits[] = "0123456789ABCDEF";
  for (unsigned char c : v.b) out += {digits[c >> 4], digits[c & 15]};
  return out + " (bytes in memory order)";
}

// A result object the library may or may not write. It starts as the bytes
// 0xA5..., which no result of interest holds, so that one the call left alone
// shows as "not stored".
template <typename T>
struct Result {
  T value;
  Result() { std::memset(&value, 0xA5, sizeof value); }
  bool stored() const {
    Result untouched;
    return std::memcmp(&value, &untouched.value, sizeof value) != 0;
  }
};

// Adds "key: decimal bits" (JSON: key and key_bits) to the answer.
void put_value(std::string_view key, std::string shown);

template <typename T>
int print_result(const Result<T> &r) {
  if (!r.stored()) {
    put("result", "not stored", "result", "null");
    return emit();
  }
  put_value("result", show(r.value));
  return emit();
}

// Reads the operands as Ops..., calls call(&result, &operand...) and prints
// the result of type R.
template <typename R, typename... Ops, typename Call>
int compute(Args args, Call call) {
  std::tuple<Ops...> ops;
  if (!std::apply([&](Ops &...o) { return read_all(args, o...); }, ops)) return kUsage;
  Result<R> r;
  std::apply([&](Ops &...o) { call(&r.value, &o...); }, ops);
  return print_result(r);
}

}  // namespace tool

#endif
