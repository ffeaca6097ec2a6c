// The pieces the adapters of calls.cpp and probes.cpp are made of.
#ifndef KELSOFT_TOOL_ADAPTERS_H
#define KELSOFT_TOOL_ADAPTERS_H

#include <bit>
#include <cstring>
#include <type_traits>

#include "calls.h"

namespace calls {

template <typename T>
using Word = std::conditional_t<sizeof(T) == 8, uint64_t, std::conditional_t<sizeof(T) == 4, uint32_t, uint16_t>>;

template <typename T>
T as(const Value &v) {
  return std::bit_cast<T>(static_cast<Word<T>>(v.bits));
}

template <typename T>
constexpr char kind_of() {
  if constexpr (std::is_same_v<T, float>) return 'f';
  if constexpr (std::is_same_v<T, double>) return 'd';
  constexpr bool s = std::is_signed_v<T>;
  if constexpr (sizeof(T) == 8) return s ? 'Q' : 'q';
  if constexpr (sizeof(T) == 4) return s ? 'W' : 'w';
  return s ? 'H' : 'h';
}

template <typename T>
void Call::number(T v) {
  add(kind_of<T>()).bits = std::bit_cast<Word<T>>(v);
}

template <typename T>
void Call::object(const T &v) {
  Result &r = add(kind_of<T>());
  r.bits = std::bit_cast<Word<T>>(v);
  r.filled = true;
}

// An operand in a slot of its own, and its address (null for "null").
template <typename T>
struct In {
  T value;
  const T *p;
  explicit In(const Value &v) : value(as<T>(v)), p(v.null ? nullptr : &value) {}
};

inline const char *text(const Value &v) { return v.null ? nullptr : v.text.c_str(); }

// A result object, filled with this call's fill.
template <typename T>
struct Out {
  T value;
  bool null;
  explicit Out(const Call &c) : null(c.null_result) { std::memset(&value, c.fill, sizeof value); }
  T *p() { return null ? nullptr : &value; }
};

// A buffer the callee writes into.
struct Buffer {
  char bytes[64];
  explicit Buffer(const Call &c) { std::memset(bytes, c.fill, sizeof bytes); }
};

}  // namespace calls

#endif
