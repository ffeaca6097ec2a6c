#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "kelsoft.h"

namespace {

constexpr char kLower[] = "abcdefghijklmnopqrstuvwxyz";
constexpr char kUpper[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// The position of byte b in alphabet, or -1.
int letter_index(const char *alphabet, int b) {
  for (int i = 0; alphabet[i] != '\0'; ++i)
    if (static_cast<unsigned char>(alphabet[i]) == b) return i;
  return -1;
}

TEST(CharCase, EveryByte) {
  for (int b = 0; b <= 255; ++b) {
    const int lower = letter_index(kLower, b), upper = letter_index(kUpper, b);
    EXPECT_EQ(LUM_CharIsLower(b), lower >= 0 ? 1 : 0) << b;
    EXPECT_EQ(LUM_CharIsUpper(b), upper >= 0 ? 1 : 0) << b;
    EXPECT_EQ(LUM_CharToUpper(b), lower >= 0 ? static_cast<unsigned char>(kUpper[lower]) : b) << b;
    EXPECT_EQ(LUM_CharToLower(b), upper >= 0 ? static_cast<unsigned char>(kLower[upper]) : b) << b;
  }
}

// Only the low byte is tested; a letter maps to an 8-bit result, anything
// else comes back whole.
TEST(CharCase, WiderValues) {
  const struct {
    int32_t c, is_lower, is_upper, to_upper, to_lower;
  } table[] = {
      {0x161, 1, 0, 'A', 0x161},
      {0x7FFFFF7A, 1, 0, 'Z', 0x7FFFFF7A},
      {0x100, 0, 0, 0x100, 0x100},
      {0x141, 0, 1, 0x141, 'a'},
      {0x12345A, 0, 1, 0x12345A, 'z'},
      {-159, 1, 0, 'A', -159},  // 0xFFFFFF61
      {-191, 0, 1, -191, 'a'},  // 0xFFFFFF41
      {-1, 0, 0, -1, -1},
      {-'a', 0, 0, -'a', -'a'},
      {INT32_MIN, 0, 0, INT32_MIN, INT32_MIN},
      {INT32_MAX, 0, 0, INT32_MAX, INT32_MAX},
  };
  for (const auto &row : table) {
    EXPECT_EQ(LUM_CharIsLower(row.c), row.is_lower) << row.c;
    EXPECT_EQ(LUM_CharIsUpper(row.c), row.is_upper) << row.c;
    EXPECT_EQ(LUM_CharToUpper(row.c), row.to_upper) << row.c;
    EXPECT_EQ(LUM_CharToLower(row.c), row.to_lower) << row.c;
  }
}

// Buffers start filled with a canary so that every byte written, and every
// byte not written, shows in the comparison.
constexpr char kCanary = 'Q';  // a letter, which a stray conversion would change
constexpr size_t kBufferSize = 12;

std::string buffer_with(const std::string &text) {
  std::string buf(kBufferSize, kCanary);
  buf.replace(0, text.size() + 1, text.c_str(), text.size() + 1);
  return buf;
}

TEST(StrToLower, WritesOnlyWhatItConverts) {
  const struct {
    const char *text;
    uint32_t count;
    const char *after;
  } table[] = {
      {"ABCDE", 3, "abcDE"},
      {"ABCDE", 0, "ABCDE"},
      {"ABCDE", 5, "abcde"},
      // Past the terminator, the canaries (upper-case letters) stay as they are.
      {"ABCDE", 100, "abcde"},
      {"ABCDE", UINT32_MAX, "abcde"},
      {"", 4, ""},
      {"A1b Z@[`\x80\xC4", 100, "a1b z@[`\x80\xC4"},
  };
  for (const auto &row : table) {
    std::string buf = buffer_with(row.text);
    LUM_StrToLower(buf.data(), row.count);
    EXPECT_EQ(buf, buffer_with(row.after)) << row.text << " " << row.count;
  }
  LUM_StrToLower(nullptr, 5);  // nothing to do, and no fault
}

TEST(StrToUpper, WritesTheCopyAndTerminatorOnly) {
  using namespace std::string_literals;
  const std::string untouched(kBufferSize, kCanary);
  const struct {
    const char *src;
    uint32_t size;
    std::string written;
  } table[] = {
      {"abc", 10, "ABC\0"s},
      {"abcdef", 4, "ABC\0"s},
      {"abcdef", 7, "ABCDEF\0"s},
      {"abcdef", 6, "ABCDE\0"s},
      {"abc", 1, "\0"s},
      {"", 10, "\0"s},
      {"a1B z{`\x80\xE4", 12, "A1B Z{`\x80\xE4\0"s},
      {"abc", 0, ""},  // no room for a terminator: nothing written
      {nullptr, 10, ""},
  };
  for (const auto &row : table) {
    std::string dst = untouched;
    LUM_StrToUpper(row.src, dst.data(), row.size);
    std::string expected = untouched;
    expected.replace(0, row.written.size(), row.written);
    EXPECT_EQ(dst, expected) << (row.src ? row.src : "(null)") << " " << row.size;
  }
}

TEST(StrToUint32, Table) {
  constexpr uint32_t kOld = 0xDEADBEEF;
  const struct {
    const char *text;
    int32_t status;
    uint32_t value;
  } table[] = {
      {"42", 0, 42},
      {"   7", 0, 7},
      {"4294967295", 0, 4294967295u},
      {"17 abc", 0, 17},
      {"+8", 0, 8},
      {"0", 0, 0},
      // Above 2^32 - 1 the value saturates, on 64-bit hosts as on the target.
      {"4294967296", 0, UINT32_MAX},
      {"18446744073709551617", 0, UINT32_MAX},
      {"-1", 0, UINT32_MAX},  // "%u" negates modulo 2^32
      {"abc", 22, 0},
      {"", 22, 0},
      {"   ", 22, 0},
      {"-", 22, 0},
  };
  for (const auto &row : table) {
    uint32_t value = kOld;
    EXPECT_EQ(LUM_StrToUint32(row.text, &value), row.status) << row.text;
    EXPECT_EQ(value, row.value) << row.text;
  }
}

TEST(StrToUint32, NullArgumentsStoreNothing) {
  uint32_t value = 0xDEADBEEF;
  EXPECT_EQ(LUM_StrToUint32(nullptr, &value), 22);
  EXPECT_EQ(value, 0xDEADBEEFu);
  EXPECT_EQ(LUM_StrToUint32("42", nullptr), 22);
}

}  // namespace
