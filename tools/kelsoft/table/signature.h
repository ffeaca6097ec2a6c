// What a library function's C type says about the kinds (calls.h) a table
// entry may give its operands and results, so that the compiler holds the
// table to kelsoft.h: an entry whose kinds the header's types do not allow
// does not compile. It also says which operands go by value, where a line's
// "null" has no address to stand for.
#ifndef KELSOFT_TOOL_SIGNATURE_H
#define KELSOFT_TOOL_SIGNATURE_H

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace calls {

// One parameter or the returned value: the kinds that fit it, and where
// they come from: an operand, a result, or both (a buffer the call rewrites,
// when the line gives its text).
struct Slot {
  const char *kinds = nullptr;
  bool operand = false, result = false, by_value = false;
};

struct Signature {
  Slot returned;
  Slot params[5];
  int count = 0;
};

template <typename T>
constexpr const char *number_kinds(bool by_value) {
  using U = std::remove_cv_t<T>;
  if constexpr (std::is_same_v<U, double>)
    return "d";
  else if constexpr (std::is_same_v<U, float>)
    return "f";
  else if constexpr (std::is_same_v<U, char>)
    return "tpnsm";
  else if constexpr (std::is_void_v<U>)
    return "xX";
  else if constexpr (sizeof(U) == 8)
    return std::is_signed_v<U> ? "Q" : "qz";
  else if constexpr (sizeof(U) == 4)  // also a code, a comparison, a size or a count
    return std::is_signed_v<U> ? (by_value ? "Wc" : "WC") : (by_value ? "wzk" : "w");
  else
    return std::is_signed_v<U> ? "H" : "h";
}

template <typename P>
constexpr Slot slot_of() {
  using T = std::remove_pointer_t<P>;
  if constexpr (std::is_same_v<P, char **>)
    return {"e", false, true};  // where a parse ended
  else if constexpr (std::is_same_v<P, char *>)
    return {"b", false, true};  // a buffer to write
  else if constexpr (!std::is_pointer_v<P>)
    return {number_kinds<P>(true), true, false, true};
  else if constexpr (std::is_const_v<T>)
    return {number_kinds<T>(false), true, false};
  else
    return {number_kinds<T>(false), false, true};
}

template <typename R, typename... P>
constexpr Signature signature_of(R (*)(P...)) {
  Signature s{};
  if constexpr (!std::is_void_v<R>) s.returned = {number_kinds<std::remove_pointer_t<R>>(false), false, true};
  ((s.params[s.count++] = slot_of<P>()), ...);
  return s;
}

template <auto F>
inline constexpr Signature kSignature = signature_of(F);

constexpr bool holds(const char *kinds, char kind) {
  for (; *kinds != '\0'; ++kinds)
    if (*kinds == kind) return true;
  return false;
}

// The next kind of a line's operands or results, if it is one of kinds.
constexpr bool take(const char *&line, const char *kinds) { return *line != '\0' && holds(kinds, *line++); }

// A buffer the call rewrites may first hold the line's text.
constexpr bool rewritten_text(const Slot &p, const char *operands) {
  return p.result && !p.operand && *p.kinds == 'b' && *operands == 's';
}

// Whether the operand and result kinds fit the signature, one by one: the
// returned value is the first result, then each parameter in order takes
// the next operand or result (or both).
constexpr bool fits(const Signature &s, const char *operands, const char *results) {
  if (s.returned.kinds != nullptr && !take(results, s.returned.kinds)) return false;
  for (int i = 0; i < s.count; ++i) {
    const Slot &p = s.params[i];
    if (rewritten_text(p, operands)) ++operands;
    if ((p.operand && !take(operands, p.kinds)) || (p.result && !take(results, p.kinds))) return false;
  }
  return *operands == '\0' && *results == '\0';
}

// Whether operand i goes by value.
constexpr bool by_value(const Signature &s, const char *operands, std::size_t i) {
  std::size_t at = 0;
  for (int k = 0; k < s.count; ++k) {
    const Slot &p = s.params[k];
    if (rewritten_text(p, operands + at)) ++at;
    if (p.operand && at++ == i) return p.by_value;
  }
  return false;
}

}  // namespace calls

#endif
