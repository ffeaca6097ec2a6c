// kelsoft generate [--texts] FIRST COUNT: calls of every exported function
// that computes, operands drawn from edges, specials and random bits, one
// line a call without results, for `kelsoft run` to answer. Call i depends
// on i alone, on every platform, so a target's answers can be checked
// anywhere (scripts/calls-diff.sh). --texts: the hard parser texts in order.
#include "generate.h"

#include <array>
#include <bit>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

#include "calls.h"
#include "lines.h"
#include "rng.h"

namespace generate {
namespace {

using kel_rng::Rng;

template <typename T, size_t N>
T pick(Rng &rng, const std::array<T, N> &pool) {
  return pool[rng.below(N)];
}

// Specials and the edges of every conversion, random bits, small integers and
// halves, ordinary magnitudes.
constexpr std::array<uint64_t, 32> kDoubles = {
    0x0000000000000000, 0x8000000000000000, 0x7FF0000000000000, 0xFFF0000000000000, 0x7FF8000000000000,
    0xFFF8000000000000, 0x7FF8000000000123, 0x7FF0000000000001, 0x7FF4000000000000, 0xFFF0000000000005,
    0x7FEFFFFFFFFFFFFF, 0xFFEFFFFFFFFFFFFF, 0x0010000000000000, 0x0000000000000001, 0x3FF0000000000000,
    0xBFF0000000000000, 0x3FE0000000000000, 0xBFE0000000000000, 0x4024000000000000, 0x41E0000000000000,
    0x41DFFFFFFFC00000, 0xC1E0000000000000, 0xC1E0000000200000, 0x41F0000000000000, 0x41EFFFFFFFE00000,
    0x43E0000000000000, 0xC3E0000000000000, 0x43F0000000000000, 0x40EFFFF000000000, 0x40F0000000000000,
    0xC0E0001000000000, 0x01A56E1FC2F8F359};
constexpr std::array<uint32_t, 24> kFloats = {0x00000000, 0x80000000, 0x7F800000, 0xFF800000, 0x7FC00000, 0xFFC00000,
                                              0x7FC00123, 0x7F800001, 0x7FA00000, 0xFF800005, 0x7F7FFFFF, 0xFF7FFFFF,
                                              0x00800000, 0x00000001, 0x3F800000, 0xBF800000, 0x3F000000, 0xBF000000,
                                              0x4F000000, 0xCF000000, 0x4F800000, 0x4F7FFFFF, 0x477FFF00, 0x41200000};
constexpr std::array<uint64_t, 10> kWords = {0,  1, 0xFFFFFFFFFFFFFFFF, 0x7FFFFFFF,        0x80000000, 0xFFFFFFFF,
                                             10, 3, 0x7FFFFFFFFFFFFFFF, 0x8000000000000000};

uint64_t small_integer(Rng &rng, uint64_t bits) {
  const uint64_t magnitude = rng.below(uint64_t{1} << rng.below(bits));
  return rng.below(uint64_t{2}) != 0 ? magnitude : ~magnitude + 1;
}

template <typename T>
uint64_t number(Rng &rng) {
  using Bits = std::conditional_t<sizeof(T) == 8, uint64_t, uint32_t>;
  constexpr int kMantissa = sizeof(T) == 8 ? 52 : 23, kBias = sizeof(T) == 8 ? 1023 : 127;
  switch (rng.below(uint64_t{5})) {
    case 0:
      if constexpr (sizeof(T) == 8) return pick(rng, kDoubles);
      return pick(rng, kFloats);
    case 1:
      return static_cast<Bits>(rng.next());
    case 2: {
      const auto n = static_cast<int64_t>(small_integer(rng, 40));
      return std::bit_cast<Bits>(static_cast<T>(static_cast<T>(n) + static_cast<T>(rng.below(uint64_t{4})) / 4));
    }
    default: {
      const uint64_t exponent = static_cast<uint64_t>(kBias - 40) + rng.below(uint64_t{80});
      const uint64_t sign = rng.below(uint64_t{4}) == 0 ? 1 : 0;
      return static_cast<Bits>((sign << (sizeof(T) * 8 - 1)) | (exponent << kMantissa) |
                               (rng.next() & ((uint64_t{1} << kMantissa) - 1)));
    }
  }
}

uint64_t integer(Rng &rng, uint64_t mask) {
  switch (rng.below(uint64_t{3})) {
    case 0:
      return pick(rng, kWords) & mask;
    case 1:
      return rng.next() & mask;
    default:
      return small_integer(rng, 20) & mask;
  }
}

std::string text(Rng &rng, const char *alphabet, uint64_t most) {
  std::string out;
  const uint64_t length = rng.below(most + 1), size = std::strlen(alphabet);
  for (uint64_t i = 0; i < length; ++i) out += alphabet[rng.below(size)];
  return out;
}

constexpr std::array kFormats = {"%f", "%.3f", "%e", "%.17g", "%g", "%10.2f", "%-8.1e", "%a", "%+.0f", "x=%.1f;"};

// The kinds of calls.h; the signed and unsigned ones draw alike.
calls::Value operand(Rng &rng, char kind) {
  switch (kind) {
    case 'd':
      return {number<double>(rng), {}};
    case 'f':
      return {number<float>(rng), {}};
    case 'w':
    case 'W':
    case 'x':
      return {integer(rng, 0xFFFFFFFF), {}};
    case 'h':
    case 'H':
      return {integer(rng, 0xFFFF), {}};
    case 'q':
    case 'Q':
    case 'X':
      return {integer(rng, ~uint64_t{0}), {}};
    case 'c':
      return {rng.below(uint64_t{4}) == 0 ? integer(rng, 0xFFFFFFFF) : (rng.below(uint64_t{300}) - 20) & 0xFFFFFFFF,
              {}};
    case 'z':
    case 'k':
      return {rng.below(uint64_t{41}), {}};
    case 'p': {
      const uint64_t i = rng.below(uint64_t{8}) == 0 ? rng.below(uint64_t{100}) : rng.below(uint64_t{1} << 40);
      return {0, kel_texts::hard_text(i)};
    }
    case 'n':
      return {0, text(rng, " +-0123456789999x", 14)};
    case 's':
      return {0, text(rng, "aZz@[`{09 AbYy\x80\xc4\xe4\xff", 30)};
    default:
      return {0, pick(rng, kFormats)};
  }
}

}  // namespace

void calls_from(uint64_t first, uint64_t count, std::FILE *out) {
  const auto all = calls::generated();
  std::string line;
  for (uint64_t i = first; i < first + count && std::ferror(out) == 0; ++i) {
    Rng rng(i * 0x9E3779B97F4A7C15u + 0x2545F4914F6CDD1Du);
    const calls::Function &f = all[i % all.size()];
    line = f.name;
    for (size_t k = 0; f.operands[k] != '\0'; ++k)
      lines::append_operand(line, f.operands[k], operand(rng, f.operands[k]));
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), out);
  }
}

void texts_from(uint64_t first, uint64_t count, std::FILE *out) {
  for (uint64_t i = first; i < first + count && std::ferror(out) == 0; ++i)
    std::fprintf(out, "HardText %016" PRIx64 "\n", i);
}

}  // namespace generate
