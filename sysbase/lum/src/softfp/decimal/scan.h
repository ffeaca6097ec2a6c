// The parser's first step: the text read once into a Number.
//
// Decides where the number ends and whether it is one at all (a malformed
// exponent fails the parse); hands on where the significant digits stand,
// how many there are before and after the point, the exponent's magnitude
// and sign, and the value of up to 19 digits, which round64.h needs to
// round the common texts without reading them again. The later steps,
// round64.h, round128.cpp and chain.cpp, read only the Number.
#ifndef KEL_DECIMAL_SCAN_H
#define KEL_DECIMAL_SCAN_H

#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "double_double.h"

namespace kel {

// c - '0', above 9 for what is not a digit.
inline unsigned digit_value(unsigned char c) { return static_cast<unsigned>(c) - '0'; }
inline bool is_digit_value(unsigned v) { return v < 10; }
inline bool is_digit(unsigned char c) { return is_digit_value(digit_value(c)); }

// The most significant digits an unsigned 64-bit integer holds.
inline constexpr int kHeldDigits = 19;

// What the pass over the text found. A malformed exponent leaves no digits
// and ends where the whole text began.
struct Number {
  const unsigned char *integer;   // the first significant integer digit
  const unsigned char *fraction;  // the first digit after the point
  const unsigned char *end;
  // Counts as long as the text may be: an int would wrap on a 64-bit machine.
  long integer_digits;  // significant ones
  long fraction_digits;
  long significant;             // digits, integer and fraction, from the first not zero
  uint32_t exponent_magnitude;  // the exponent's digits, modulo 2^32 as the chain reads them
  bool exponent_negative;       // the chain multiplies by powers of a tenth, not of ten
  // Where there are at most kHeldDigits of them: the integer digits' value,
  // all significant digits' value, and the sum of the latter after each
  // fraction digit plus head * 10^fraction_digits (for their weights,
  // docs/parser.md). Modulo 2^64 elsewhere.
  uint64_t head, digits, prefixes;
};

// Eight digits known to be there, at once: pairs, then fours, then all.
inline uint64_t eight_digits(const unsigned char *p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
  v -= 0x3030303030303030u;  // the first digit in the low byte
  v = (v * 10) + (v >> 8);   // pairs in bytes 0, 2, 4, 6
  v = (((v & 0x000000FF000000FFu) * (100 + (uint64_t{1000000} << 32))) +
       (((v >> 16) & 0x000000FF000000FFu) * (1 + (uint64_t{10000} << 32)))) >>
      32;
  return v;
}

// The value of count digits from p: the steps after the scan read known
// digits with it.
inline uint64_t leading_digits(const unsigned char *p, long count) {
  uint64_t d = 0;
  for (; count >= 8; count -= 8, p += 8) d = d * 100000000 + eight_digits(p);
  for (; count != 0; --count, ++p) d = d * 10 + digit_value(*p);
  return d;
}

// The front of a number: blanks (spaces only), then one sign.
inline const unsigned char *skip_blanks_and_sign(const unsigned char *p, bool &negative) {
  while (*p == ' ') ++p;
  negative = *p == '-';
  return *p == '-' || *p == '+' ? p + 1 : p;
}

// Wide reads of the text: a word of digits at once, from an address that is
// a multiple of the word's size. Such a word never reaches into the next
// page (the text's end is unknown, but a terminated text that reaches a byte
// reaches its page), and a memory checker takes an aligned word that is
// partly past the end as it takes the bytes that are used. Under a sanitizer
// the bytes beyond the terminator would be reported, so there the scan reads
// byte by byte.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kWideReads = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
inline constexpr bool kWideReads = false;
#else
inline constexpr bool kWideReads = true;
#endif
#else
inline constexpr bool kWideReads = true;
#endif

// A machine word's worth of characters as load_word gives them: the first in
// the lowest byte on every machine.
using Word = std::conditional_t<sizeof(void *) == 8, uint64_t, uint32_t>;
inline constexpr int kWordBytes = sizeof(Word);
inline constexpr Word kEveryByte = static_cast<Word>(0x0101010101010101u);

inline bool word_aligned(const unsigned char *p) { return (reinterpret_cast<uintptr_t>(p) & (kWordBytes - 1)) == 0; }

inline Word load_word(const unsigned char *p) {
  Word w;
  std::memcpy(&w, p, sizeof w);
  if constexpr (std::endian::native == std::endian::big) {
    if constexpr (kWordBytes == 8) return __builtin_bswap64(w);
    return __builtin_bswap32(w);
  }
  return w;
}

// Every byte of w one of '0' to '9': the high nibble 3, and adding 6 to the
// low one carries nothing into it.
inline bool all_digits(Word w) {
  const Word high = kEveryByte * 0xF0;
  return ((w & high) | (((w + kEveryByte * 6) & high) >> 4)) == kEveryByte * 0x33;
}

// The value of a word of digits, the first digit the most significant:
// pairs, then fours, then eights, one multiplication each.
inline uint32_t word_value(Word w) {
  w &= kEveryByte * 0x0F;
  w = ((w * (10 * 256 + 1)) >> 8) & static_cast<Word>(0x00FF00FF00FF00FFu);
  w = ((w * (100 * 65536 + 1)) >> 16) & static_cast<Word>(0x0000FFFF0000FFFFu);
  if constexpr (kWordBytes == 8) return static_cast<uint32_t>((w * (10000 * (uint64_t{1} << 32) + 1)) >> 32);
  return static_cast<uint32_t>(w);
}

// 10^kWordBytes.
inline constexpr uint32_t kWordScale = kWordBytes == 8 ? 100000000 : 10000;

// A run of digits from first, d = d * 10 + digit for each: returns its length,
// v the value of the character after it. The first eight byte by byte and
// unrolled, so that the short runs pay one test a digit and no count; a
// longer run goes on to an aligned address, then a word at a time.
[[gnu::always_inline]] inline long digit_run(const unsigned char *const first, uint64_t &d, unsigned &v) {
#pragma GCC unroll 8
  for (int i = 0; i < 8; ++i) {
    v = digit_value(first[i]);
    if (!is_digit_value(v)) [[unlikely]]
      return i;
    d = d * 10 + v;
  }
  const unsigned char *p = first + 8;
  if constexpr (kWideReads) {
    for (; !word_aligned(p); ++p) {
      if (!is_digit_value(v = digit_value(*p))) return p - first;
      d = d * 10 + v;
    }
    for (;; p += kWordBytes) {
      const Word w = load_word(p);
      if (!all_digits(w)) break;
      d = d * kWordScale + word_value(w);
    }
  }
  for (; is_digit_value(v = digit_value(*p)); ++p) d = d * 10 + v;
  return p - first;
}

[[gnu::always_inline]] inline Number scan_number(const unsigned char *p, const unsigned char *text) {
  Number n;
  while (*p == '0') ++p;
  n.integer = p;
  uint64_t d = 0;
  unsigned v;  // the last character read, as a digit's value: the tests after the loops reuse it
  n.integer_digits = digit_run(p, d, v);
  p += n.integer_digits;
  n.significant = n.integer_digits;
  n.head = d;
  const bool point = v == digit_value('.');
  p += point ? 1 : 0;
  n.fraction = p;
  uint64_t h = d;  // so that h ends as the sum of prefixes plus head * 10^fraction_digits
  if (point) {
    if (n.integer_digits == 0)
      while (*p == '0') ++p;
    const unsigned char *const first = p;
    for (; is_digit_value(v = digit_value(*p)); ++p) {
      d = d * 10 + v;
      h = h * 10 + d;
    }
    n.significant += p - first;
  }
  n.fraction_digits = p - n.fraction;
  n.digits = d;
  n.prefixes = h;
  n.exponent_magnitude = 0;
  n.exponent_negative = false;
  if ((v | 0x20) == digit_value('e')) {  // 'e' or 'E'
    const unsigned char *q = p + 1;
    n.exponent_negative = *q == '-';
    if (*q == '-' || *q == '+') {
      ++q;
    } else if (!is_digit(*q)) {  // no exponent after all: the parse fails
      n = Number{text, text, text, 0, 0, 0, 0, false, 0, 0, 0};
      return n;
    }
    uint32_t count = 0;  // wraps modulo 2^32 by design
    for (; is_digit(*q); ++q) count = count * 10 + digit_value(*q);
    n.exponent_magnitude = count;
    p = q;
  }
  n.end = p;
  return n;
}

// The target's operations, digit by digit (chain.cpp): every text.
Extended chain_value(const Number &n);

// The chain's result from the exact value rounded once in 128 bits
// (round128.cpp): where round64.h is too close to a midpoint to decide. NaN
// where it cannot decide either.
double round128(const Number &n);

}  // namespace kel

#endif
