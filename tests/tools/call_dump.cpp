// Generated calls of every exported computational function, one line a call
// (see kel_calls.h), and the check of this build against saved calls: the
// generated ones and the vectors. The PowerPC build is the reference.
//   call_dump FIRST COUNT          print the calls FIRST..FIRST+COUNT-1 with this build's results
//   call_dump --texts FIRST COUNT  the same for the hard parser texts FIRST..FIRST+COUNT-1
//   call_dump --compare FILE...    run the calls of each FILE ('-': standard input) and compare
//   call_dump --print FILE         print FILE with this build's results
// The one accepted difference is the last bit of the C library's log10 and
// log10f (and, on 32-bit x86, whose C library computes with the x87, of exp
// and pow): each is printed, and counted apart.
#include <algorithm>
#include <array>
#include <bit>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "hard_texts.h"
#include "kel_calls.h"

namespace {

using kel_calls::Value;

class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15u + 0x2545F4914F6CDD1Du) {}
  uint64_t next() {  // splitmix64
    uint64_t z = state_ += 0x9E3779B97F4A7C15u;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }
  uint64_t below(uint64_t n) { return next() % n; }

 private:
  uint64_t state_;
};

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
constexpr std::array<uint32_t, 24> kFloats = {
    0x00000000, 0x80000000, 0x7F800000, 0xFF800000, 0x7FC00000, 0xFFC00000, 0x7FC00123, 0x7F800001,
    0x7FA00000, 0xFF800005, 0x7F7FFFFF, 0xFF7FFFFF, 0x00800000, 0x00000001, 0x3F800000, 0xBF800000,
    0x3F000000, 0xBF000000, 0x4F000000, 0xCF000000, 0x4F800000, 0x4F7FFFFF, 0x477FFF00, 0x41200000};
constexpr std::array<uint64_t, 10> kWords = {0, 1, 0xFFFFFFFFFFFFFFFF, 0x7FFFFFFF, 0x80000000,
                                             0xFFFFFFFF, 10, 3, 0x7FFFFFFFFFFFFFFF, 0x8000000000000000};

uint64_t small_integer(Rng &rng, unsigned bits) {
  const uint64_t magnitude = rng.below(uint64_t{1} << rng.below(bits));
  return rng.below(2) != 0 ? magnitude : ~magnitude + 1;
}

template <typename T>
uint64_t number(Rng &rng) {
  using Bits = std::conditional_t<sizeof(T) == 8, uint64_t, uint32_t>;
  constexpr int kMantissa = sizeof(T) == 8 ? 52 : 23, kBias = sizeof(T) == 8 ? 1023 : 127;
  switch (rng.below(5)) {
    case 0:
      if constexpr (sizeof(T) == 8) return pick(rng, kDoubles);
      return pick(rng, kFloats);
    case 1: return static_cast<Bits>(rng.next());
    case 2: {
      const auto n = static_cast<int64_t>(small_integer(rng, 40));
      return std::bit_cast<Bits>(static_cast<T>(static_cast<T>(n) + static_cast<T>(rng.below(4)) / 4));
    }
    default: {
      const uint64_t exponent = static_cast<uint64_t>(kBias - 40) + rng.below(80);
      const uint64_t sign = rng.below(4) == 0 ? 1 : 0;
      return static_cast<Bits>((sign << (sizeof(T) * 8 - 1)) | (exponent << kMantissa) |
                               (rng.next() & ((uint64_t{1} << kMantissa) - 1)));
    }
  }
}

uint64_t integer(Rng &rng, uint64_t mask) {
  switch (rng.below(3)) {
    case 0: return pick(rng, kWords) & mask;
    case 1: return rng.next() & mask;
    default: return small_integer(rng, 20) & mask;
  }
}

std::string text(Rng &rng, const char *alphabet, size_t most) {
  std::string out;
  const size_t length = rng.below(most + 1), size = std::strlen(alphabet);
  for (size_t i = 0; i < length; ++i) out += alphabet[rng.below(size)];
  return out;
}

constexpr std::array kFormats = {"%f", "%.3f", "%e", "%.17g", "%g", "%10.2f", "%-8.1e", "%a", "%+.0f", "x=%.1f;"};

Value operand(Rng &rng, char kind) {
  switch (kind) {
    case 'd': return {number<double>(rng), {}};
    case 'f': return {number<float>(rng), {}};
    case 'w': return {integer(rng, 0xFFFFFFFF), {}};
    case 'h': return {integer(rng, 0xFFFF), {}};
    case 'q': return {integer(rng, ~uint64_t{0}), {}};
    case 'c': return {rng.below(4) == 0 ? integer(rng, 0xFFFFFFFF) : (rng.below(300) - 20) & 0xFFFFFFFF, {}};
    case 'z': return {rng.below(41), {}};
    case 'p': return {0, kel_texts::hard_text(rng.below(8) == 0 ? rng.below(100) : rng.below(uint64_t{1} << 40))};
    case 'n': return {0, text(rng, " +-0123456789999x", 14)};
    case 's': return {0, text(rng, "aZz@[`{09 AbYy\x80\xc4\xe4\xff", 30)};
    default: return {0, pick(rng, kFormats)};
  }
}

int dump(uint64_t first, uint64_t count) {
  std::printf("# calls %" PRIu64 " to %" PRIu64 ": NAME OPERAND... -> RESULT... [! REPORT]...", first,
              first + count - 1);
  std::printf(" (tests/data/calls_golden.txt: remade by scripts/calls-diff.sh --golden)\n");
  const auto all = kel_calls::functions();
  for (uint64_t i = first; i < first + count; ++i) {
    Rng rng(i);
    const kel_calls::Function &f = all[i % all.size()];
    Value in[4];
    for (size_t k = 0; f.operands[k] != '\0'; ++k) in[k] = operand(rng, f.operands[k]);
    std::printf("%s\n", kel_calls::run(f, in).c_str());
  }
  return 0;
}

// The hard parser texts FIRST.. in order.
int dump_texts(uint64_t first, uint64_t count) {
  std::printf("# texts %" PRIu64 " to %" PRIu64 " through both parsers", first, first + count - 1);
  std::printf(" (tests/data/parse_golden.txt: remade by scripts/parser-diff.sh --golden)\n");
  for (uint64_t i = first; i < first + count; ++i) {
    const Value index{i, {}, false};
    std::printf("%s\n", kel_calls::run(*kel_calls::find("HardText"), &index).c_str());
  }
  return 0;
}

// The C library's last bit: the same line but for one result of one unit in
// the last place.
bool accepted(std::string_view expected, std::string_view actual) {
  constexpr std::array kLibraryLastBit = {"KEL_DLog10 ", "KEL_SLog10 ",
#if defined(__i386__)
                                          "KEL_DExp ", "KEL_AddPowForKavri ",
#endif
  };
  bool named = false;
  for (const char *name : kLibraryLastBit) named = named || expected.starts_with(name);
  const size_t arrow = expected.find("-> ");
  if (!named || arrow == std::string_view::npos || expected.size() != actual.size() ||
      expected.substr(0, arrow) != actual.substr(0, arrow))
    return false;
  const size_t end = std::min(expected.find(' ', arrow + 3), expected.size());
  if (expected.substr(end) != actual.substr(end)) return false;
  const auto bits = [&](std::string_view line) {
    return std::strtoull(std::string(line.substr(arrow + 3, end - arrow - 3)).c_str(), nullptr, 16);
  };
  const uint64_t a = bits(expected), b = bits(actual);
  return a - b == 1 || b - a == 1;
}

// Checks every call of a file, or prints the file with this build's results.
int run_file(const char *path, bool print) {
  std::ifstream file;
  if (std::strcmp(path, "-") != 0) file.open(path);
  std::istream &in = std::strcmp(path, "-") == 0 ? std::cin : file;
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path);
    return 2;
  }
  uint64_t calls = 0, differ = 0, last_bit = 0, number = 0;
  std::string actual;
  for (std::string text; std::getline(in, text);) {
    ++number;
    const size_t hash = text.find(" #");
    std::string expected = text.substr(0, hash == std::string::npos ? text.size() : hash);
    while (!expected.empty() && expected.back() == ' ') expected.pop_back();
    if (expected.empty() || expected[0] == '#') {
      if (print) std::printf("%s\n", text.c_str());
      continue;
    }
    ++calls;
    const bool ran = kel_calls::rerun(expected, actual);
    if (print) {
      if (!ran) actual = "malformed: " + expected;
      if (hash != std::string::npos) actual += std::string(actual.size() < 60 ? 60 - actual.size() : 1, ' ') + (text.c_str() + hash + 1);
      std::printf("%s\n", actual.c_str());
    } else if (!ran) {
      std::printf("%s:%" PRIu64 ": malformed: %s\n", path, number, expected.c_str());
      ++differ;
    } else if (actual != expected) {
      const bool library = accepted(expected, actual);
      const uint64_t seen = library ? ++last_bit : ++differ;
      if (seen <= 50)
        std::printf("%s:%" PRIu64 ": %s\n  this build: %s\n  expected:   %s\n", path, number,
                    library ? "accepted, the C library's last bit:" : "DIFFERS:", actual.c_str(), expected.c_str());
    }
  }
  if (print) return 0;
  std::printf("%s: %" PRIu64 " calls, %" PRIu64 " differ in the C library's last bit (accepted), %" PRIu64
              " differ\n",
              path, calls, last_bit, differ);
  return differ == 0 && calls > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv) {
  std::ios::sync_with_stdio(false);
  if (argc >= 3 && std::strcmp(argv[1], "--compare") == 0) {
    int status = 0;
    for (int i = 2; i < argc; ++i) status |= run_file(argv[i], false);
    return status;
  }
  if (argc == 3 && std::strcmp(argv[1], "--print") == 0) {
    kel_calls::native_extended = true;
    return run_file(argv[2], true);
  }
  if (argc == 4 && std::strcmp(argv[1], "--texts") == 0)
    return dump_texts(std::strtoull(argv[2], nullptr, 10), std::strtoull(argv[3], nullptr, 10));
  if (argc != 3) {
    std::fprintf(stderr, "usage: call_dump FIRST COUNT | --texts FIRST COUNT | --compare FILE... | --print FILE\n");
    return 2;
  }
  return dump(std::strtoull(argv[1], nullptr, 10), std::strtoull(argv[2], nullptr, 10));
}
